#pragma once
// Every section and key of setinfo.ini with its type and default, named after the key, so no
// caller spells a section or key twice: prefs.readInt(pref::Rate).
#include <array>
#include <span>

namespace core::pref {

struct BoolKey {
    const char* section;
    const char* key;
    bool def;
};

struct IntKey {
    const char* section;
    const char* key;
    int def;
};

// Where a string key's default starts: as written, or inside the program folder.
enum class Base { None, ProgramFolder };

struct StringKey {
    const char* section;
    const char* key;
    const char* def;
    Base base = Base::None;  // ProgramFolder: the default is the program folder + def
};

struct ColorKey {
    const char* section;
    const char* key;
    const char* def;  // a colour name
};

struct FontStyleKey {
    const char* section;
    const char* key;
    const char* def;
};

struct DateKey {  // default: no date
    const char* section;
    const char* key;
};

enum class Type { Bool, Int, String, Color, FontStyle, Date };

// One row of the list of keys, for tools and tests that walk all of them.
struct KeyInfo {
    const char* section;
    const char* key;
    Type type;
    int intDefault = 0;            // Bool (0/1) and Int
    const char* textDefault = "";  // String, Color, FontStyle
    Base base = Base::None;

    constexpr KeyInfo(const BoolKey& k)
        : section(k.section), key(k.key), type(Type::Bool), intDefault(k.def ? 1 : 0) {}
    constexpr KeyInfo(const IntKey& k)
        : section(k.section), key(k.key), type(Type::Int), intDefault(k.def) {}
    constexpr KeyInfo(const StringKey& k)
        : section(k.section), key(k.key), type(Type::String), textDefault(k.def), base(k.base) {}
    constexpr KeyInfo(const ColorKey& k)
        : section(k.section), key(k.key), type(Type::Color), textDefault(k.def) {}
    constexpr KeyInfo(const FontStyleKey& k)
        : section(k.section), key(k.key), type(Type::FontStyle), textDefault(k.def) {}
    constexpr KeyInfo(const DateKey& k) : section(k.section), key(k.key), type(Type::Date) {}
};

// Memo: the editor and the today list.
inline constexpr ColorKey memocolor{"Memo", "memocolor", "clTeal"};
inline constexpr ColorKey fontcolor{"Memo", "fontcolor", "clWindow"};
inline constexpr IntKey fontsize{"Memo", "fontsize", 12};
inline constexpr StringKey fontname{"Memo", "fontname", ""};  // empty: the default face
inline constexpr FontStyleKey FontStyle{"Memo", "FontStyle", "[]"};

// Speaker
inline constexpr IntKey Speaker{"Speaker", "Speaker", 0};
inline constexpr IntKey Rate{"Speaker", "Rate", 1};
inline constexpr IntKey Volume{"Speaker", "Volume", 95};
inline constexpr BoolKey Model{"Speaker", "Model", true};
inline constexpr IntKey Datetimetype{"Speaker", "Datetimetype", 1};

// Panel
inline constexpr BoolKey panel1{"Panel", "panel1", true};
inline constexpr BoolKey panel4{"Panel", "panel4", true};

// character: the voice display names of reading roles 1..6.
inline constexpr StringKey reader1{"character", "reader1", ""};
inline constexpr StringKey reader2{"character", "reader2", ""};
inline constexpr StringKey reader3{"character", "reader3", ""};
inline constexpr StringKey reader4{"character", "reader4", ""};
inline constexpr StringKey reader5{"character", "reader5", ""};
inline constexpr StringKey reader6{"character", "reader6", ""};
// readers[n - 1] is role n.
inline constexpr std::array<StringKey, 6> readers{reader1, reader2, reader3,
                                                  reader4, reader5, reader6};

// Position: the bookmark.
inline constexpr IntKey Lastposi{"Position", "Lastposi", 0};
inline constexpr IntKey Line{"Position", "Line", 0};  // written only

// System
inline constexpr DateKey Opendate{"System", "Opendate"};
inline constexpr IntKey Scheduling{"System", "Scheduling", 0};
inline constexpr BoolKey Weather{"System", "Weather", true};
inline constexpr BoolKey Runplaymp3{"System", "Runplaymp3", true};
inline constexpr IntKey Playmode{"System", "Playmode", 0};
inline constexpr IntKey default_volume{"System", "default_volume", 90};
inline constexpr IntKey default_volume1{"System", "default_volume1", 10};
inline constexpr StringKey Mp3bj{"System", "Mp3bj", "mp3files", Base::ProgramFolder};
inline constexpr StringKey MusicPath{"System", "MusicPath", "", Base::ProgramFolder};
inline constexpr StringKey DefaultMusicPath{"System", "DefaultMusicPath", "", Base::ProgramFolder};
inline constexpr IntKey ActivePageIndex{"System", "ActivePageIndex", 1};
inline constexpr IntKey Grid_Hight{"System", "Grid_Hight", 300};
inline constexpr BoolKey RzGroup4{"System", "RzGroup4", false};
inline constexpr BoolKey Prompt_tone{"System", "Prompt_tone", false};  // written only
inline constexpr IntKey Default_Voice{"System", "Default_Voice", 90};
inline constexpr BoolKey autoshut{"System", "autoshut", false};
inline constexpr StringKey shuttime{"System", "shuttime", "22:00"};
inline constexpr BoolKey beforetime{"System", "beforetime", false};
inline constexpr BoolKey alltimes{"System", "alltimes", false};
inline constexpr StringKey Pwd{"System", "Pwd", ""};
inline constexpr BoolKey Isdealy{"System", "Isdealy", false};
inline constexpr IntKey Delay1{"System", "Delay1", 300};
// 300 at start-up; the speech settings dialog reads it with 800 (pass that as the default).
inline constexpr IntKey Delay2{"System", "Delay2", 300};
inline constexpr int Delay2DialogDefault = 800;
inline constexpr IntKey Yinping{"System", "Yinping", 24};
inline constexpr IntKey Readtimes{"System", "Readtimes", 2};
inline constexpr IntKey Intervaltime{"System", "Intervaltime", 60};
inline constexpr BoolKey remind{"System", "remind", true};
inline constexpr BoolKey Tts_information{"System", "Tts_information", false};

// All of the above, section by section.
std::span<const KeyInfo> allKeys();

}  // namespace core::pref
