#include "speaker/speech/readers.h"

#include "speaker/core/preferences.h"
#include "speaker/speech/voices.h"

namespace speech {

Readers getreader(const core::Preferences& prefs) {
    Readers r;
    for (size_t i = 0; i < r.displayNames.size(); ++i) {
        r.displayNames[i] = prefs.readString(core::pref::readers[i]);
        r.roleVoices[i] = descriptionOf(r.displayNames[i]);
        r.captions[i] = QStringLiteral("[角色&%1]").arg(i + 1) + r.displayNames[i];
    }
    return r;
}

}  // namespace speech
