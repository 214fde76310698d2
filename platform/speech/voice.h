#pragma once
// One voice the speech engine offers: the engine's own identifier (with a variant for the
// female voices) and the short description the voice chooser shows and matches.

#include <QString>

namespace platform {

enum class VoiceGender { Unspecified, Male, Female };

struct Voice {
    QString id;           // espeak-ng voice file, e.g. "sit/cmn-Latn-pinyin+f2"
    QString description;  // short, printable ASCII, unique, e.g. "Mandarin (female)"
    QString language;     // espeak-ng language code, e.g. "cmn-latn-pinyin"
    VoiceGender gender = VoiceGender::Unspecified;
};

}  // namespace platform
