#pragma once
// A program folder with a copy of the staged database, the data module on it, the virtual
// clock, scripted answers and the plan editor with two voices.

#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/plans/fschreader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

class PlansTest : public ::testing::Test {
protected:
    explicit PlansTest(const QDateTime& start = QDateTime(QDate(2026, 12, 14), QTime(10, 0, 0)));
    void SetUp() override;

    // The editor, created on first use and shown (its showing steps have run).
    plans::Tfschreader& editor();
    // One value from the database.
    QVariant scalar(const QString& sql);
    int count(const QString& table) { return scalar("select count(*) from " + table).toInt(); }
    // The texts of the boxes shown since the last call.
    QStringList messages();
    // Moves the plans grid to the plan `id` in column `column` (a field name).
    QModelIndex planCell(int id, const QString& field);

    QTemporaryDir dir;
    platform::VirtualClock clock;
    platform::Trace trace{clock};
    platform::ScriptedPrompter prompter;
    core::Services services;
    std::unique_ptr<core::DM> dm;
    std::optional<int> rateAnswer;
    std::optional<int> volumeAnswer;

private:
    std::unique_ptr<plans::Tfschreader> editor_;
};
