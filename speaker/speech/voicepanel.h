#pragma once
// The voice controls of the text page: the voice chooser (`flatComboBox1`) with the voice
// list behind it (`voicelist`), and the volume (`TrackBar1`) and rate (`TrackBar2`) bars,
// which set the engine as they move. The window owns the widgets; this wires them.

#include "speaker/speech/voices.h"

#include <QObject>
#include <QString>

#include <functional>
#include <mutex>

class QComboBox;
class QLabel;
class QSlider;

namespace platform {
class SpeechEngine;
}

namespace speech {

class VoicePanel : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QComboBox* chooser = nullptr;    // flatComboBox1
        QSlider* volume = nullptr;       // TrackBar1
        QSlider* rate = nullptr;         // TrackBar2
        QLabel* volumeNumber = nullptr;  // optional: shows the volume bar's position
        QLabel* rateNumber = nullptr;    // optional: shows the rate bar's position
    };

    // `engine` may be null (no speech engine): the lists stay empty.
    VoicePanel(platform::SpeechEngine* engine, const Widgets& widgets, QObject* parent = nullptr);

    // Start-up: fills both lists, selects the stored `Speaker` index (the first voice when it
    // is out of range), enables the controls, connects the bars and applies their positions.
    void fill(int storedIndex);

    // Called after a bar has set the engine (the window gives the editor its focus back).
    void setAfterChange(std::function<void()> hook) { afterChange_ = std::move(hook); }

    // `selectvoice`: the engine speaks with voice `index`; the list follows. False (nothing
    // changed) for an index outside the list.
    bool selectvoice(int index);
    // The voice chooser's index (the chosen voice), -1 when none.
    int chosenIndex() const;

    // Safe from any thread: the description of the voice in use (the list's current
    // entry), and a voice's index by description (letter case ignored), -1 when absent.
    QString currentVoiceName() const;
    int findVoice(const QString& description) const;
    VoiceList voices() const;

private:
    void rateChanged(int value);
    void volumeChanged(int value);

    platform::SpeechEngine* engine_;
    Widgets w_;
    std::function<void()> afterChange_;
    mutable std::mutex mutex_;  // guards list_ and current_
    VoiceList list_;
    int current_ = -1;
};

}  // namespace speech
