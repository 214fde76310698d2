#pragma once
// A rehearsal: the real main window, offscreen, on the virtual clock, scripted answers and
// the given user actions, from one time to another. Every trace event goes to the sink.

#include "sim/options.h"

#include <QJsonObject>

#include <functional>

namespace sim {

// Returns the exit status: 0 after a run, 1 when the program could not start (for example
// when the database does not open; the message event says why).
int rehearse(const Options& options, const std::function<void(const QJsonObject&)>& sink);

}  // namespace sim
