#pragma once
// The three timetable dialogs on a copy of the staged database, with the virtual clock, the
// null audio device, scripted answers and a bell page made of plain values that counts what
// the dialogs ask of it.

#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/timetables/timetables.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class TimetablesTest : public ::testing::Test {
protected:
    TimetablesTest();
    void SetUp() override;

    // The main tab as the dialogs see it.
    struct FakeBellPage {
        QString active = QStringLiteral("夏季作息时间");
        int schindex = 0;
        QString schname;
        bool password = true;
        int getschlist = 0;
        int comb1Change = 0;
        int getsgrid2data = 0;
        int chkhaveplayed = 0;
    } page;

    // Names of table scheduling in id order; entries of a timetable (by stored name).
    QStringList timetableNames();
    int entryCount(const QString& scheduling);
    // A field of every entry of `scheduling`, in playtime,id order.
    QVariantList entryField(const QString& scheduling, const QString& field);
    // The texts of the message boxes shown so far.
    QStringList messages() const;

    // Scripts Fschedul_add: type `name`, press 确定, then close.
    void scriptAddDialog(const QString& name);
    // Scripts fschplaymp3 with `work` run while it is open.
    void scriptEntryEditor(std::function<void(timetables::Tfschplaymp3&)> work);
    // Selects timetable `name` in Fscheduling's selector (as the user does).
    void selectInList(const QString& name);

    QTemporaryDir dir;
    platform::VirtualClock clock;
    platform::Trace trace{clock};
    platform::ScriptedPrompter prompter;
    std::unique_ptr<platform::AudioEngine> audio;
    core::Services services;
    std::unique_ptr<core::DM> dm;
    std::unique_ptr<timetables::TimetableEditors> editors;
    std::unique_ptr<timetables::Tfschplaymp3> editor;
    std::unique_ptr<timetables::TFscheduling> list;
    std::unique_ptr<timetables::TFschedul_add> add;
};
