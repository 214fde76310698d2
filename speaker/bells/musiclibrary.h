#pragma once
// Music played by hand from the music list, the default folder and the timed folder, and the
// list play that continues track after track (also for the list and folder entries of the
// bell timetable). Every track goes through the shared PlaybackChannel.

#include "speaker/bells/folderlist.h"
#include "speaker/bells/librarypages.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace core {
struct Services;
}
namespace platform {
class Timer;
}

namespace bells {

class MusicListStore;
class PlaybackChannel;

class MusicLibrary : public QObject {
    Q_OBJECT
public:
    // The sources, numbered as `listsource` counts them.
    enum Source { MusicList = 1, DefaultFolder = 2, TimedFolder = 3 };
    // Returns an index in 0 .. count - 1, uniformly.
    using RandomSource = std::function<int(int count)>;
    // Sets a panel (0..3) of the main window's status bar.
    using StatusText = std::function<void(int panel, const QString& text)>;

    // The pages are created as a child of `widgetParent` (or on their own, then owned here).
    MusicLibrary(core::Services& services, PlaybackChannel& channel, MusicListStore& store,
                 StatusText status, QWidget* widgetParent = nullptr);
    ~MusicLibrary() override;
    MusicLibrary(const MusicLibrary&) = delete;
    MusicLibrary& operator=(const MusicLibrary&) = delete;

    LibraryPages* pages() const { return pages_; }
    platform::Timer& Timer2() { return *timer2_; }
    void setRandomSource(RandomSource random) { random_ = std::move(random); }

    // The folders at start; a folder that does not exist becomes the program folder.
    void setFolders(const QString& defaultFolder, const QString& timedFolder);
    const FolderList& defaultFolder() const { return default_; }
    const FolderList& timedFolder() const { return timed_; }
    // Makes `folder` the timed folder for this run (the preference is not written) and sets
    // the hint to `hintPrefix` followed by the folder.
    void setTimedFolder(const QString& folder, const QString& hintPrefix);

    // Music list management.
    void getfilelist();
    void addSongs();   // 添加歌曲
    void clearSong();  // 清除歌曲
    void clearAll();   // 清除全部

    // Manual commands of the context menus (double-click = sequential).
    void singlePlay(Source source);  // 单曲播放: music list, default folder
    void singleLoop(Source source);  // 单曲循环: music list, default folder
    void sequentialPlay(Source source);
    void randomPlay(Source source);
    void previousTrack(Source source);  // 上 一 首: folders
    void nextTrack(Source source);      // 下 一 首: folders
    void chooseFolder(Source source);   // 选择目录: folders

    // Timetable starts (the bell scheduler, with manualplay clear): `endTime` "hh:mm:ss".
    void startListSequential(const QString& endTime, int volume);
    void startFolderSequential(const QString& folder, const QString& endTime, int volume);
    void startListRandom(const QString& endTime, int volume);
    void startFolderRandom(const QString& folder, const QString& endTime, int volume);
    // The folder of a timetable entry's file text "目录…": at most 145 characters, trimmed.
    static QString entryFolder(const QString& filepath);

    // The continuation tick (Timer2, every second).
    void Timer2Timer();

    int trackCount(Source source);
    QString trackPath(Source source, int index);

    // List play state.
    int listsource = MusicList;
    bool seqplay = false;
    bool randplay = false;
    int listindex = 0;
    bool listloop = false;
    QString playendtime = QStringLiteral("23:59:59");

private:
    FolderList* folderOf(Source source);
    QListWidget* viewOf(Source source) const;
    int currentIndex(Source source) const;
    void makeCurrent(Source source, int index);
    QString modeText(const char* mode, Source source) const;
    // Plays track `index` of list play; a failed open is skipped on the next tick.
    void playTrack(Source source, int index, int volume, bool continuation = false);
    bool trackEnded() const;
    void endListPlay();
    int pick(int count) const;
    void setHint(Source source, const QString& prefix);
    void status(int panel, const QString& text);
    // A single or loop track: the current track (music list), or the selected or first file.
    QString chosenTrack(Source source);

    core::Services& services_;
    PlaybackChannel& channel_;
    MusicListStore& store_;
    StatusText status_;
    QPointer<LibraryPages> pages_;
    platform::Timer* timer2_;
    RandomSource random_;
    FolderList default_;
    FolderList timed_;
    // The last track list play started failed to open: it counts as ended, so the next tick
    // moves on even after the progress tick has reset the bar of the empty channel.
    bool skipping_ = false;
};

}  // namespace bells
