#pragma once
// The channel and the music library on the null audio device and the virtual clock, with
// scripted answers, a kept trace, a status bar of four texts, a music list in memory and
// sound files the test writes itself.

#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bells/musiclibrary.h"
#include "speaker/bells/musicliststore.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/core/services.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace bellstest {

class MemoryMusicList : public bells::MusicListStore {
public:
    std::vector<bells::MusicListRow> rows() override;
    bool append(const QString& filename, const QString& filepath) override;
    bool remove(qint64 id) override;
    bool removeAll() override;

private:
    std::vector<bells::MusicListRow> rows_;
    qint64 next_ = 1;
};

class BellsTest : public ::testing::Test {
protected:
    BellsTest();
    ~BellsTest() override;

    QString path(const QString& name) const { return dir.filePath(name); }
    // A tone of `seconds` as WAV (8 kHz mono keeps the fixtures small).
    QString wav(const QString& name, double seconds);
    // The same tone as MP3 through lame.
    QString mp3(const QString& name, double seconds);
    QString writeBytes(const QString& name, const QByteArray& bytes);
    // Files of the music list, in the given order of names.
    void fillMusicList(const QStringList& paths);
    // Files played so far ("channel.play" events), by file name.
    QStringList played() const;
    int events(const char* ev) const { return static_cast<int>(trace.events(ev).size()); }
    void advance(qint64 ms) { clock.advance(ms); }

    QTemporaryDir dir;
    platform::VirtualClock clock{QDateTime(QDate(2026, 12, 14), QTime(8, 0, 0))};
    platform::Trace trace{clock};
    platform::ScriptedPrompter prompter;
    std::unique_ptr<platform::AudioEngine> engine = platform::makeNullAudioEngine(clock);
    core::Services services;
    std::array<QString, 4> statusPanels;
    MemoryMusicList store;
    std::unique_ptr<bells::PlaybackChannel> channel;
    std::unique_ptr<bells::MusicLibrary> library;
};

}  // namespace bellstest
