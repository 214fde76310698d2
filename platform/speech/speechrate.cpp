#include "platform/speech/speechrate.h"

#include <algorithm>
#include <cmath>

namespace platform {

int wordsPerMinute(int rate) {
    const int r = std::clamp(rate, kMinSpeechRate, kMaxSpeechRate);
    return static_cast<int>(std::lround(kNormalWordsPerMinute * std::pow(kSpeechRateStep, r)));
}

}  // namespace platform
