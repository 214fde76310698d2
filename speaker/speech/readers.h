#pragma once
// The six reading roles: the voice stored for each in setinfo.ini, the voice it names, and
// the caption of its item in the editor's "插入朗读角色" menu.

#include <QString>

#include <array>

namespace core {
class Preferences;
}

namespace speech {

struct Readers {
    std::array<QString, 6> displayNames;  // as stored (reader1..reader6), role n at n - 1
    std::array<QString, 6> roleVoices;    // `rolevoice`: the description, empty when unset
    std::array<QString, 6> captions;      // "[角色&n]" + the stored display name
};

// `getreader`: reads reader1..reader6.
Readers getreader(const core::Preferences& prefs);

}  // namespace speech
