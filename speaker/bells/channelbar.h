#pragma once
// The top strip of the bell page: transport buttons, the volume and progress bars and the
// progress text of the shared playback channel. Only widgets; PlaybackChannel drives them.

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace bells {

class ChannelBar : public QWidget {
    Q_OBJECT
public:
    explicit ChannelBar(QWidget* parent = nullptr);

    QToolButton* mp3_player;
    QToolButton* mp3_pause;
    QToolButton* mp3_stop;
    QToolButton* mp3_check;
    QSlider* TrackBar4;  // volume, percent
    QSlider* TrackBar3;  // progress, whole seconds
    QLabel* Label31;     // progress text
};

}  // namespace bells
