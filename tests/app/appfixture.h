#pragma once
// A program folder of its own for each test (a copy of the staged database), the virtual
// clock, scripted answers and a trace that keeps its events.

#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/app/windows.h"
#include "speaker/core/services.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class AppTest : public ::testing::Test {
protected:
    explicit AppTest(const QDateTime& start = QDateTime(QDate(2026, 12, 14), QTime(7, 59, 0)));

    // Copies the staged draft.dat into the test's program folder.
    void installDatabase();
    void writeIni(const QString& text);
    QString readIni() const;
    // Opens the data module and creates every window; shows the main window.
    app::Windows& start();
    // The password dialog receives `text`.
    void typeAtPasswordDialog(const QString& text);

    QTemporaryDir dir;
    platform::VirtualClock clock;
    platform::Trace trace{clock};
    platform::ScriptedPrompter prompter;
    core::Services services;
    std::unique_ptr<app::Windows> windows;
    int quitCalls = 0;
    std::vector<std::pair<int, int>> beeps;
};
