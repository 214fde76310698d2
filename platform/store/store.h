#pragma once
// Public header of the store layer: the keyed database connection and its statements.
#include "platform/store/database.h"   // IWYU pragma: export
#include "platform/store/statement.h"  // IWYU pragma: export
