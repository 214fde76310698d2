#pragma once
// Private to the speech engine: which installed espeak-ng voices are offered, in which order
// and under which descriptions.

#include "platform/speech/espeaklibrary.h"
#include "platform/speech/voice.h"

#include <vector>

namespace platform::speech_detail {

// The voices that work, tested by speaking: a Chinese voice must read Chinese characters in
// its own language (Debian's "cmn" spells them out in English), any other voice must say
// digits. Mandarin comes first, then Cantonese and English, each with a female variant, then
// the rest in the library's order.
std::vector<Voice> workingVoices(EspeakLibrary& library);

// Orders and describes voices already known to work (pure; tested on its own).
std::vector<Voice> arrangeVoices(const std::vector<EspeakVoice>& working);

// Printable ASCII form of a voice name: accents dropped ("Māori" -> "Maori"), underscores as
// blanks, anything else non-printable left out.
QString asciiName(const std::string& utf8);

}  // namespace platform::speech_detail
