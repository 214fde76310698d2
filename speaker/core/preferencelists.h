#pragma once
// The two bulk moments of setinfo.ini: the load when the main window is created and the save
// when the user exits. The main window applies the fields to its controls in this order.
#include "speaker/core/preferences.h"

#include <QDate>
#include <QString>

namespace core {

// The start-up load list, one field per value, in the order they are read.
struct StartupPreferences {
    PrefColor editorBackground;  // memocolor, written back at once as the colour applied
    PrefColor editorFontColor;   // fontcolor
    int editorFontSize = 0;      // fontsize
    QString editorFontName;      // fontname, empty: the default face
    FontStyles editorFontStyle;  // FontStyle
    PrefColor gridBackground;    // memocolor again, for the today list
    PrefColor gridFontColor;     // fontcolor again, for the today list
    int bellVolume = 85;         // not from the file: the bell playback slider
    int rate = 0;                // Rate; the slider's change handler runs once after it
    int volume = 0;              // Volume
    int datetimetype = 0;        // Datetimetype
    bool model = false;          // Model, used at the first showing
    int defaultVoice = 0;        // Default_Voice, also sets the computer volume
    bool panel1 = false;         // panel1: group RzGroup1 opened
    bool panel4 = false;         // panel4: group RzGroup4 opened (rzGroup4 below wins)
    bool autoshut = false;       // autoshut
    QString musicPath;           // MusicPath, the program folder when it does not exist
    QString defaultMusicPath;    // DefaultMusicPath, the program folder when it does not exist
    bool alltimes = false;       // alltimes
    bool beforetime = false;     // beforetime
    QString shuttime;            // shuttime
    bool promptTone = false;     // not from the file: Chk_prompt unticked
    QDate opendate;              // today, as written to Opendate
    bool rzGroup4 = false;       // RzGroup4
    int playmode = 0;            // Playmode
    int scheduling = 0;          // Scheduling
    bool weather = false;        // Weather
    bool runplaymp3 = false;     // Runplaymp3
    bool isDelay = false;        // Isdealy, remembered and shown in chk_delay1
    int delay1 = 0;              // Delay1, remembered and shown in S_delay1
    int delay2 = 0;              // Delay2 (the "※" pause), remembered and shown in S_delay2
    int defaultVolume = 0;       // default_volume, applied at the first showing
    int defaultVolume1 = 0;      // default_volume1, applied at the first showing
    int gridHeight = 0;          // Grid_Hight
    int activePageIndex = 0;     // ActivePageIndex
};

// Reads the start-up list in order and performs its two writes (memocolor, Opendate = today).
StartupPreferences loadStartup(Preferences& prefs, const QDate& today);

// The values of the exit list, taken from the controls.
struct ExitPreferences {
    PrefColor editorBackground{QColor(0x00, 0x80, 0x80), QStringLiteral("clTeal")};
    PrefColor editorFontColor{QColor(0xFF, 0xFF, 0xFF), QStringLiteral("clWindow")};
    int editorFontSize = 12;
    int speaker = 0;  // selected voice index
    int rate = 1;
    int volume = 95;
    bool model = true;
    bool panel1 = true;
    bool panel4 = true;
    int scheduling = 0;
    bool weather = true;
    bool runplaymp3 = true;
    int defaultVolume = 90;   // bj_v
    int defaultVolume1 = 10;  // bj_v1
    int gridHeight = 300;
    int playmode = 0;
    bool rzGroup4 = false;
    int activePageIndex = 1;
};

// Writes the exit list in order; Prompt_tone is always written as 0.
void saveExit(Preferences& prefs, const ExitPreferences& values);

}  // namespace core
