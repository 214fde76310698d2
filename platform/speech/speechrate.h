#pragma once
// The rate scale of the program (-10 slowest .. 15 fastest, 0 normal) in the engine's words
// per minute.

namespace platform {

inline constexpr int kMinSpeechRate = -10;
inline constexpr int kMaxSpeechRate = 15;
inline constexpr int kNormalWordsPerMinute = 175;  // espeak-ng's normal speed
inline constexpr double kSpeechRateStep = 1.06;    // speed factor of one step

// 175 * 1.06^rate, rounded, with rate clamped to -10..15: every step changes the speed by the
// same factor, 0 is the engine's normal speed, and both ends (98 and 419 words per minute)
// stay inside espeak-ng's range of 80..450 without its sped-up (sonic) mode.
int wordsPerMinute(int rate);

}  // namespace platform
