#pragma once
// Scripted user actions on the program's widgets and commands, found by objectName.

#include <QString>

class QObject;

namespace sim {

// Finds NAME among the top-level windows ("WINDOW.NAME" picks the window first): the window
// itself, a child widget or a command (QAction). Returns nullptr when there is none.
QObject* findTarget(const QString& name);

// Clicks a button, triggers a command, or shows a window. False when NAME names nothing
// that can be clicked.
bool perform(QObject* target);

// Sets a widget's text, value, index or check state from VALUE.
bool assign(QObject* target, const QString& value);

}  // namespace sim
