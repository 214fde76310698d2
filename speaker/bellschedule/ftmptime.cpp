#include "speaker/bellschedule/ftmptime.h"

#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bellschedule/bellscheduler.h"
#include "speaker/bellschedule/times.h"
#include "speaker/bellschedule/tmptimemodel.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace bellschedule {

namespace {

// Time cells are typed through the mask "99:99:99"; the weather cell offers its three values.
class TmpTimeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const int col = index.column();
        if (col == TmpTimeModel::ColStart || col == TmpTimeModel::ColEnd) {
            auto* edit = new QLineEdit(parent);
            edit->setInputMask(QStringLiteral("99:99:99"));
            return edit;
        }
        if (col == TmpTimeModel::ColWeather) {
            auto* box = new QComboBox(parent);
            box->addItems(
                {QStringLiteral("全天侯"), QStringLiteral("仅晴天"), QStringLiteral("仅雨天")});
            return box;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentText(index.data(Qt::EditRole).toString());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, box->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

}  // namespace

Tftmptime::Tftmptime(core::Services& services, core::DM& dm, BellScheduler& bells, QWidget* parent)
    : QDialog(parent),
      services_(services),
      dm_(dm),
      bells_(bells),
      model_(new TmpTimeModel(dm.Q_tmptime(), this)) {
    setObjectName(QStringLiteral("ftmptime"));
    setWindowTitle(QStringLiteral("临时修改时间表"));
    resize(900, 420);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("临时修改时间表，只会影响当天的时间，第二天无效。"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: blue;"));
    layout->addWidget(Label1);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("直接在表格中修改或点右键操作"));
    DBGrid1->setModel(model_);
    DBGrid1->setItemDelegate(new TmpTimeDelegate(DBGrid1));
    DBGrid1->verticalHeader()->hide();
    DBGrid1->setColumnWidth(TmpTimeModel::ColNo, 32);
    DBGrid1->setColumnWidth(TmpTimeModel::ColFile, 200);
    for (int c = TmpTimeModel::ColMonday; c <= TmpTimeModel::ColSunday; ++c)
        DBGrid1->setColumnWidth(c, 28);
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    N_delete = new QAction(QStringLiteral("删除记录"), DBGrid1);
    N_delete->setObjectName(QStringLiteral("N_delete"));
    DBGrid1->addAction(N_delete);
    connect(N_delete, &QAction::triggered, this, &Tftmptime::deleteRecord);
    layout->addWidget(DBGrid1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btn_ok = new QPushButton(QStringLiteral("保存"), this);
    btn_ok->setObjectName(QStringLiteral("btn_ok"));
    BitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addWidget(btn_ok);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);
    connect(btn_ok, &QPushButton::clicked, this, [this] { btn_okClick(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

Tftmptime::~Tftmptime() = default;

void Tftmptime::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Tftmptime::FormShow() {
    core::Dataset& copy = dm_.Q_tmptime();
    if (copy.sql() != core::DM::mp3Sql) copy.setSql(core::DM::mp3Sql);
    copy.setParam(QStringLiteral("aa"), bells_.selectedTimetable().trimmed());
    // Read afresh: whatever an earlier showing changed is gone.
    copy.close();
    copy.open();
    dm_.tmpmodified = false;
}

void Tftmptime::deleteRecord() {
    core::Dataset& copy = dm_.Q_tmptime();
    const QModelIndex at = DBGrid1->currentIndex();
    if (!at.isValid() || copy.isEmpty()) return;
    if (!services_.prompter->askyesno(QStringLiteral("真的要删除该记录吗？"))) return;
    if (copy.moveTo(at.row())) copy.remove();
}

bool Tftmptime::btn_okClick() {
    core::Dataset& copy = dm_.Q_tmptime();
    if (!copy.checkBrowseMode()) return false;
    BellGrid& grid = bells_.grid();
    const int rows = copy.isOpen() ? copy.recordCount() : 0;
    if (rows == 0) {
        grid.clear();
        dm_.tmpmodified = false;  // an empty day is a saved day too
        services_.trace->record(QStringLiteral("bell.tempedit"), {{"rows", 0}});
        return true;
    }
    grid.setEntryRows(rows);
    for (int r = 0; r < rows; ++r) {
        BellGrid::Cells cells = BellGrid::cellsOf(copy, r);
        const QString start = cells[BellGrid::ColStart].trimmed();
        const QString end = cells[BellGrid::ColEnd].trimmed();
        grid.setCell(r + 1, BellGrid::ColMark, QString());
        switch (checkTimePair(start, end)) {
            case TimePairCheck::BadForm:
                services_.prompter->showwarning(QStringLiteral("开始时间：") + start +
                                                QStringLiteral(" 或结束时间：") + end +
                                                QStringLiteral(" 格式不对! "));
                return false;
            case TimePairCheck::StartAfterEnd:
                services_.prompter->showwarning(QStringLiteral("开始时间：") + start +
                                                QStringLiteral(" 不能大于结束时间：") + end +
                                                QStringLiteral(" !"));
                return false;
            case TimePairCheck::Ok:
                break;
        }
        cells[BellGrid::ColStart] = start;
        cells[BellGrid::ColEnd] = end;
        grid.setRow(r + 1, cells);
    }
    dm_.tmpmodified = false;
    bells_.chkhaveplayed();
    services_.trace->record(QStringLiteral("bell.tempedit"), {{"rows", rows}});
    return true;
}

void Tftmptime::done(int result) {
    if (result != QDialog::Accepted && dm_.tmpmodified &&
        !services_.prompter->askyesno(QStringLiteral("资料已修改，没有保存，要退出吗")))
        return;  // stays open
    QDialog::done(result);
}

}  // namespace bellschedule
