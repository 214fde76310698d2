#pragma once
// The voices as the user sees them: display names built from the table of known voices, the
// way back from a stored display name to the voice's description, and the voice list
// (`voicelist`) with its lookup by description.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>
#include <vector>

namespace platform {
struct Voice;
}

namespace speech {

// `knownvoices`: 38 rows "gender language  =name" (row 18 is just "Chinese"), in match order.
std::span<const char16_t* const> knownvoices();

// The label of a row: its first 10 GBK bytes ("女声 国语 "; "Chinese" for the short row).
QString knownVoiceLabel(QStringView row);
// The name a row matches: the text after the first "=", trimmed; the whole row without "=".
QString knownVoiceName(QStringView row);

// `displayname`: label padded to 10 bytes + "- " + description for the first row whose name
// occurs in the description (case-sensitive), else the bare description.
QString displayName(const QString& description);

// The description inside a stored display name: a known label (padded or, as older files
// hold it, "Chinese" bare) followed by "- " is dropped, and the rest trimmed. A text without
// such a label is a bare description and is kept whole, so this is safe on descriptions.
QString descriptionOf(const QString& displayName);

// `voicelist` and the chooser's entries, index i being the engine's voice i.
struct VoiceList {
    QStringList descriptions;
    QStringList displayNames;

    // Index of the description equal to `description` (letter case ignored, blanks around
    // it ignored), or -1.
    int find(const QString& description) const;
};

VoiceList voicelist(const std::vector<platform::Voice>& voices);

}  // namespace speech
