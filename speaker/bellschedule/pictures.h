#pragma once
// The small pictures of the bell page's state buttons, drawn by us.

#include <QIcon>

namespace bellschedule {

// The shared list of the weather and pause buttons, in this order.
enum class StatePicture { Sunny = 0, Rainy = 1, Running = 2, Paused = 3 };

QIcon statePicture(StatePicture which);
// The lock button's own list: 0 locked, 1 unlocked.
QIcon lockPicture(bool locked);

}  // namespace bellschedule
