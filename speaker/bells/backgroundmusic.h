#pragma once
// Background music under reading: a folder of MP3 files played track after track on the shared
// playback channel, at the music volume while nothing is read and at the lower reading volume
// while a reading runs. A 20 ms fader ducks the channel fast when a reading starts and raises
// it slowly when the reading ends; it works on whatever the channel holds.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QSpinBox;
class QToolButton;
class QWidget;

namespace core {
struct Services;
}
namespace platform {
class Timer;
}

namespace bells {

class MusicLibrary;
class PlaybackChannel;

class BackgroundMusic : public QObject {
    Q_OBJECT
public:
    // Returns an index in 0 .. count - 1, uniformly.
    using RandomSource = std::function<int(int count)>;
    // Sets a panel (0..3) of the main window's status bar.
    using StatusText = std::function<void(int panel, const QString& text)>;

    // The play mode and volume boxes of the main window, taken over here; any left null is
    // created in the panel.
    struct Boxes {
        QComboBox* ComBox1 = nullptr;
        QSpinBox* bj_v = nullptr;
        QSpinBox* bj_v1 = nullptr;
    };

    // The panel (list, buttons, progress) is created as a child of `widgetParent`, or on its
    // own and then owned here. The fader starts at once.
    BackgroundMusic(core::Services& services, PlaybackChannel& channel, MusicLibrary& library,
                    StatusText status, Boxes boxes, QWidget* widgetParent = nullptr);
    ~BackgroundMusic() override;
    BackgroundMusic(const BackgroundMusic&) = delete;
    BackgroundMusic& operator=(const BackgroundMusic&) = delete;

    // The list, the transport buttons and the progress text (not the boxes).
    QWidget* panel() const { return panel_; }

    // Where the fader reads `readbusy`; null (the default) counts as never busy.
    void setReadBusy(const std::atomic<bool>* readbusy) { readbusy_ = readbusy; }
    void setRandomSource(RandomSource random) { random_ = std::move(random); }

    // The folder at start (Mp3bj): one that does not exist becomes the program folder.
    void setFolder(const QString& folder);
    const QString& folder() const { return folder_; }
    const QStringList& files() const { return files_; }
    // Sets both volume boxes in an order that keeps a stored pair as it was.
    void setVolumes(int music, int reading);

    // Commands; the broadcast scheduler starts and stops the music "as if clicked".
    void bj_playClick();
    void bj_stopClick();
    void bj_nextClick();
    void bj_prevClick();
    void bj_okClick();  // choose the folder and store it
    void refresh();     // 刷新: read the folder again

    // The boxes' change handlers (connected to their valueChanged).
    void bj_vChange();
    void bj_v1Change();

    // The advance (bj_timer1, 1 s while enabled) and the fader (bj_timer2, 20 ms, always).
    void bj_timer1Timer();
    void bj_timer2Timer();

    // Widgets, by the names the window shows.
    QListWidget* BJListBox1;
    QToolButton* bj_stop;
    QToolButton* bj_prev;
    QToolButton* bj_play;
    QToolButton* bj_ok;
    QToolButton* bj_next;
    QLabel* RzLEDDisplay1;
    QComboBox* ComBox1;
    QSpinBox* bj_v;
    QSpinBox* bj_v1;
    QMenu* listMenu;  // 刷新, 播放音乐

    platform::Timer* bj_timer1;
    platform::Timer* bj_timer2;
    int bjindex = 0;
    int bjvolume = 0;  // the volume the fader last applied (or is moving from)

private:
    bool random() const;
    int pick(int count) const;
    bool busy() const { return readbusy_ && readbusy_->load(std::memory_order_relaxed); }
    void select(int index);
    void showFiles();
    void applyVolume(int percent);
    void traceVolume();

    core::Services& services_;
    PlaybackChannel& channel_;
    MusicLibrary& library_;
    StatusText status_;
    QPointer<QWidget> panel_;
    RandomSource random_;
    const std::atomic<bool>* readbusy_ = nullptr;
    QString folder_;
    QStringList files_;
    // The boxes' values, kept here so that the fader's idle tick is two loads and a compare.
    int musicVolume_ = 90;
    int readingVolume_ = 10;
    // The handle our last play opened: a channel that holds another one has been taken over.
    quint32 stream_ = 0;
};

}  // namespace bells
