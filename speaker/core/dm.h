#pragma once
// The data module: the one connection to draft.dat and the shared datasets the windows bind
// to, opened once at start-up and kept open for the whole run. It also holds the checks a
// plan or timetable entry passes before it is stored.

#include <QObject>
#include <QString>

#include <memory>

#include "platform/store/database.h"
#include "speaker/core/dataset.h"

namespace platform {
class Prompter;
}

namespace core {

class DM : public QObject {
    Q_OBJECT
public:
    // Connects and opens the datasets. When the file is missing or cannot be opened or keyed,
    // shows "数据连接失败!" and returns nullptr; the file is never created or changed.
    static std::unique_ptr<DM> create(const QString& programDir, platform::Prompter& prompter,
                                      QObject* parent = nullptr);

    // The connection text of the data file at `dataPath`.
    static QString connectionString(const QString& dataPath);
    // The value of the "Jet OLEDB:Database Password" piece of a connection text.
    static QString databasePassword(const QString& connection);
    // The command Q_mp3 gets when a timetable is shown (":aa" is the timetable's name).
    static const QString mp3Sql;

    const QString& dataPath() const { return dataPath_; }
    platform::Database& conn1() { return conn_; }

    Dataset& Q_draft() { return *qDraft_; }
    Dataset& q_tmp() { return *qTmp_; }
    Dataset& Q_textfile() { return *qTextfile_; }
    Dataset& Q_history() { return *qHistory_; }
    Dataset& ADOQuery1() { return *adoQuery1_; }
    Dataset& Q_mp3() { return *qMp3_; }
    Dataset& Q_filelist() { return *qFilelist_; }
    Dataset& Q_holiday() { return *qHoliday_; }
    Dataset& Q_reminder() { return *qReminder_; }
    Dataset& Q_scheduling() { return *qScheduling_; }
    Dataset& Q_sch_det() { return *qSchDet_; }
    Dataset& Q_telltime() { return *qTelltime_; }
    Dataset& q_delaytime() { return *qDelaytime_; }
    Dataset& Q_tmptime() { return *qTmptime_; }

    // Set by every data change of the plans (Q_draft) and timetable entries (Q_mp3): a field
    // change or a move to another row. The editors clear it before they open.
    bool datachanged = false;
    // Set by data changes of the texts (Q_textfile) and the time announcements (Q_telltime).
    bool telltimechanged = false;
    // Set when the working copy Q_tmptime starts an edit or loses a row.
    bool tmpmodified = false;

    // The before-post checks; public so that the rules can be exercised on their own.
    bool checkPlan(Dataset& ds);
    bool checkEntry(Dataset& ds);

private:
    DM(const QString& programDir, platform::Prompter& prompter, QObject* parent);
    bool connectAndOpen();
    Dataset* make(const QString& name);
    // The time checks shared by both rules; false (after the warning) when refused.
    bool checkTimes(Dataset& ds);

    platform::Prompter& prompter_;
    QString dataPath_;
    platform::Database conn_;
    Dataset* qDraft_;
    Dataset* qTmp_;
    Dataset* qTextfile_;
    Dataset* qHistory_;
    Dataset* adoQuery1_;
    Dataset* qMp3_;
    Dataset* qFilelist_;
    Dataset* qHoliday_;
    Dataset* qReminder_;
    Dataset* qScheduling_;
    Dataset* qSchDet_;
    Dataset* qTelltime_;
    Dataset* qDelaytime_;
    Dataset* qTmptime_;
};

}  // namespace core
