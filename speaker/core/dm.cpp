#include "speaker/core/dm.h"

#include <QSignalBlocker>

#include <optional>

#include "common/paths.h"
#include "common/timetext.h"
#include "platform/prompter/prompter.h"

namespace core {

namespace {

bool yes(const QVariant& v) {
    return v.isValid() && !v.isNull() && v.toInt() != 0;
}

}  // namespace

const QString DM::mp3Sql =
    QStringLiteral("select * from sch_det where scheduling=:aa order by playtime,id");

QString DM::connectionString(const QString& dataPath) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=") +
           dataPath +
           QStringLiteral(
               ";"
               "Mode=Share Deny None;"
               "Extended Properties=\"\";"
               "Jet OLEDB:System database=\"\";"
               "Jet OLEDB:Registry Path=\"\";"
               "Jet OLEDB:Database Password=\"482604\";"
               "Jet OLEDB:Engine Type=5;"
               "Jet OLEDB:Database Locking Mode=1;"
               "Jet OLEDB:Global Partial Bulk Ops=2;"
               "Jet OLEDB:Global Bulk Transactions=1;"
               "Jet OLEDB:New Database Password=\"\";"
               "Jet OLEDB:Create System Database=False;"
               "Jet OLEDB:Encrypt Database=False;"
               "Jet OLEDB:Don't Copy Locale on Compact=False;"
               "Jet OLEDB:Compact Without Replica Repair=False;"
               "Jet OLEDB:SFP=False");
}

QString DM::databasePassword(const QString& connection) {
    // Pieces are "name=value" separated by ';' outside double quotes.
    QString piece;
    bool inQuotes = false;
    auto valueOf = [](const QString& p) -> std::optional<QString> {
        const int eq = p.indexOf(QLatin1Char('='));
        if (eq < 0 || p.left(eq).trimmed().compare(QLatin1String("Jet OLEDB:Database Password"),
                                                   Qt::CaseInsensitive) != 0)
            return std::nullopt;
        QString v = p.mid(eq + 1).trimmed();
        if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
            v = v.mid(1, v.size() - 2);
        return v;
    };
    for (const QChar c : connection + QLatin1Char(';')) {
        if (c == QLatin1Char('"')) inQuotes = !inQuotes;
        if (c == QLatin1Char(';') && !inQuotes) {
            if (auto v = valueOf(piece)) return *v;
            piece.clear();
        } else {
            piece += c;
        }
    }
    return {};
}

DM::DM(const QString& programDir, platform::Prompter& prompter, QObject* parent)
    : QObject(parent),
      prompter_(prompter),
      dataPath_(common::addbackslash(programDir) + QStringLiteral("draft.dat")) {
    setObjectName(QStringLiteral("DM"));

    qDraft_ = make(QStringLiteral("Q_draft"));
    qDraft_->setSql(QStringLiteral("select * from draft where txtplay=-1 order by playtime "));
    qTmp_ = make(QStringLiteral("q_tmp"));
    qTextfile_ = make(QStringLiteral("Q_textfile"));
    qTextfile_->setTable(QStringLiteral("textfile"));
    qHistory_ = make(QStringLiteral("Q_history"));
    qHistory_->setSql(
        QStringLiteral("select * from history where filename<>'' order by opendate desc"));
    adoQuery1_ = make(QStringLiteral("ADOQuery1"));
    qMp3_ = make(QStringLiteral("Q_mp3"));
    qFilelist_ = make(QStringLiteral("Q_filelist"));
    qFilelist_->setSql(QStringLiteral("select * from filelist order by filename"));
    qHoliday_ = make(QStringLiteral("Q_holiday"));
    qHoliday_->setSql(QStringLiteral("select * from holiday order by date"));
    qReminder_ = make(QStringLiteral("Q_reminder"));
    qReminder_->setSql(QStringLiteral("select * from reminder"));
    qScheduling_ = make(QStringLiteral("Q_scheduling"));
    qScheduling_->setSql(QStringLiteral("select * from scheduling order by id"));
    qSchDet_ = make(QStringLiteral("Q_sch_det"));
    qSchDet_->setSql(QStringLiteral("select * from scheduling order by scheduling"));
    qTelltime_ = make(QStringLiteral("Q_telltime"));
    qTelltime_->setTable(QStringLiteral("telltime"));
    qDelaytime_ = make(QStringLiteral("q_delaytime"));
    qDelaytime_->setTable(QStringLiteral("delaytime"));
    qTmptime_ = make(QStringLiteral("Q_tmptime"));
    qTmptime_->setCachedUpdates(true);  // a working copy that is never sent back

    qDraft_->addLookupField(QStringLiteral("title"), QStringLiteral("textfileid"), qTextfile_,
                            QStringLiteral("ID"), QStringLiteral("title"));
    qDraft_->setBeforePost([this](Dataset& ds) { return checkPlan(ds); });
    qMp3_->setBeforePost([this](Dataset& ds) { return checkEntry(ds); });

    for (Dataset* ds : {qDraft_, qMp3_})
        connect(ds, &Dataset::dataChange, this, [this] { datachanged = true; });
    for (Dataset* ds : {qTextfile_, qTelltime_})
        connect(ds, &Dataset::dataChange, this, [this] { telltimechanged = true; });
    connect(qTmptime_, &Dataset::afterEdit, this, [this] { tmpmodified = true; });
    connect(qTmptime_, &Dataset::afterDelete, this, [this] { tmpmodified = true; });
}

Dataset* DM::make(const QString& name) {
    auto* ds = new Dataset(conn_, name, this);
    // Database errors that no rule names surface as the platform's error box.
    connect(ds, &Dataset::failed, this, [this](const QString& text) {
        prompter_.message(
            {platform::MessageKind::Error, QStringLiteral("Error"), text, QMessageBox::Ok});
    });
    return ds;
}

bool DM::connectAndOpen() {
    const QString connection = connectionString(dataPath_);
    conn_.close();
    if (!conn_.open(dataPath_, databasePassword(connection))) return false;
    // A keyed file without our tables is as unusable as a wrong key.
    for (Dataset* ds : {qTelltime_, qHistory_, qTextfile_, qDraft_, qFilelist_, qHoliday_,
                        qReminder_, qScheduling_, qSchDet_, qDelaytime_}) {
        const QSignalBlocker quiet(ds);
        if (!ds->open()) return false;
    }
    return true;
}

std::unique_ptr<DM> DM::create(const QString& programDir, platform::Prompter& prompter,
                               QObject* parent) {
    std::unique_ptr<DM> dm(new DM(programDir, prompter, parent));
    if (!dm->connectAndOpen()) {
        prompter.showwarning(QStringLiteral("数据连接失败!"));
        return nullptr;
    }
    return dm;
}

bool DM::checkTimes(Dataset& ds) {
    const QString start = ds.field(QStringLiteral("playtime")).toString().trimmed();
    const QString end = ds.field(QStringLiteral("endtime")).toString().trimmed();
    if (!common::isTimeText(start) || !common::isTimeText(end)) {
        prompter_.showwarning(QStringLiteral("开始时间或结束时间格式不对! 按ESC取消"));
        return false;
    }
    // Blanks around a time would break the text comparisons of the schedulers.
    if (ds.field(QStringLiteral("playtime")).toString() != start)
        ds.setField(QStringLiteral("playtime"), start);
    if (ds.field(QStringLiteral("endtime")).toString() != end)
        ds.setField(QStringLiteral("endtime"), end);
    if (start > end) {
        prompter_.showwarning(QStringLiteral("开始时间不能大于结束时间! 按ESC取消"));
        ds.cancel();
        return false;
    }
    return true;
}

bool DM::checkPlan(Dataset& ds) {
    if (!checkTimes(ds)) return false;
    const bool repeat = yes(ds.field(QStringLiteral("dumpplay")));
    if (yes(ds.field(QStringLiteral("txtplay"))) && repeat &&
        ds.field(QStringLiteral("stoptime")).toInt() < 0)
        ds.setField(QStringLiteral("stoptime"), 0);
    if (repeat) ds.setField(QStringLiteral("isstop"), true);
    return true;
}

bool DM::checkEntry(Dataset& ds) {
    if (!checkTimes(ds)) return false;
    const bool repeat = yes(ds.field(QStringLiteral("dumpplay")));
    if (yes(ds.field(QStringLiteral("txtplay"))) && repeat) {
        const QVariant interval = ds.field(QStringLiteral("stoptime"));
        if (!interval.isValid() || interval.isNull() || interval.toInt() <= 0) {
            prompter_.showwarning(QStringLiteral("重复播放时间间隔不能为 0 ! 按ESC取消"));
            return false;
        }
    }
    if (repeat) ds.setField(QStringLiteral("isstop"), true);
    return true;
}

}  // namespace core
