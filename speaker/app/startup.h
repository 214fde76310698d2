#pragma once
// What happens before the windows exist: the single-instance check and the real services.

#include "speaker/core/services.h"

#include <memory>

namespace platform {
class Prompter;
class SingleInstance;
}  // namespace platform

namespace app {

// The program's name, its lock's name and the title of its windows.
inline constexpr auto kProductName = "Quilla";

// Shows "程序已经在运行中!" titled "Quilla! !" and returns false when another instance holds
// the lock; nothing is done to bring that instance forward.
bool checkSingleInstance(const platform::SingleInstance& lock, platform::Prompter& prompter);

}  // namespace app
