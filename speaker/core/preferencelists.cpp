#include "speaker/core/preferencelists.h"

#include <QFileInfo>

namespace core {

namespace {

QString existingFolderOr(const QString& folder, const QString& fallback) {
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() ? folder : fallback;
}

}  // namespace

StartupPreferences loadStartup(Preferences& prefs, const QDate& today) {
    StartupPreferences s;
    s.editorBackground = prefs.readColor(pref::memocolor);
    s.editorFontColor = prefs.readColor(pref::fontcolor);
    s.editorFontSize = prefs.readInt(pref::fontsize);
    prefs.writeColor(pref::memocolor, s.editorBackground);
    s.editorFontName = prefs.readString(pref::fontname);
    s.editorFontStyle = prefs.readFontStyle(pref::FontStyle);
    s.gridBackground = prefs.readColor(pref::memocolor);
    s.gridFontColor = prefs.readColor(pref::fontcolor);
    s.rate = prefs.readInt(pref::Rate);
    s.volume = prefs.readInt(pref::Volume);
    s.datetimetype = prefs.readInt(pref::Datetimetype);
    s.model = prefs.readBool(pref::Model);
    s.defaultVoice = prefs.readInt(pref::Default_Voice);
    s.panel1 = prefs.readBool(pref::panel1);
    s.panel4 = prefs.readBool(pref::panel4);
    s.autoshut = prefs.readBool(pref::autoshut);
    s.musicPath = existingFolderOr(prefs.readString(pref::MusicPath), prefs.programFolder());
    s.defaultMusicPath =
        existingFolderOr(prefs.readString(pref::DefaultMusicPath), prefs.programFolder());
    s.alltimes = prefs.readBool(pref::alltimes);
    s.beforetime = prefs.readBool(pref::beforetime);
    s.shuttime = prefs.readString(pref::shuttime);
    prefs.writeDate(pref::Opendate, today);
    s.opendate = today;
    s.rzGroup4 = prefs.readBool(pref::RzGroup4);
    s.playmode = prefs.readInt(pref::Playmode);
    s.scheduling = prefs.readInt(pref::Scheduling);
    s.weather = prefs.readBool(pref::Weather);
    s.runplaymp3 = prefs.readBool(pref::Runplaymp3);
    // Read once: the remembered values and the controls receive the same three keys.
    s.isDelay = prefs.readBool(pref::Isdealy);
    s.delay1 = prefs.readInt(pref::Delay1);
    s.delay2 = prefs.readInt(pref::Delay2);
    s.defaultVolume = prefs.readInt(pref::default_volume);
    s.defaultVolume1 = prefs.readInt(pref::default_volume1);
    s.gridHeight = prefs.readInt(pref::Grid_Hight);
    s.activePageIndex = prefs.readInt(pref::ActivePageIndex);
    return s;
}

void saveExit(Preferences& prefs, const ExitPreferences& v) {
    prefs.writeColor(pref::memocolor, v.editorBackground);
    prefs.writeColor(pref::fontcolor, v.editorFontColor);
    prefs.writeInt(pref::fontsize, v.editorFontSize);
    prefs.writeInt(pref::Speaker, v.speaker);
    prefs.writeInt(pref::Rate, v.rate);
    prefs.writeInt(pref::Volume, v.volume);
    prefs.writeBool(pref::Model, v.model);
    prefs.writeBool(pref::panel1, v.panel1);
    prefs.writeBool(pref::panel4, v.panel4);
    prefs.writeBool(pref::Prompt_tone, false);
    prefs.writeInt(pref::Scheduling, v.scheduling);
    prefs.writeBool(pref::Weather, v.weather);
    prefs.writeBool(pref::Runplaymp3, v.runplaymp3);
    prefs.writeInt(pref::default_volume, v.defaultVolume);
    prefs.writeInt(pref::default_volume1, v.defaultVolume1);
    prefs.writeInt(pref::Grid_Hight, v.gridHeight);
    prefs.writeInt(pref::Playmode, v.playmode);
    prefs.writeBool(pref::RzGroup4, v.rzGroup4);
    prefs.writeInt(pref::ActivePageIndex, v.activePageIndex);
}

}  // namespace core
