#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/prompter/prompter.h"
#include "platform/store/store.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/timetables/entriesmodel.h"
#include "speaker/timetables/timetabledata.h"
#include "speaker/timetables/timetables.h"

namespace timetables {

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
}  // namespace

TFscheduling::TFscheduling(core::Services& services, core::DM& dm, BellPage& bell, QWidget* parent)
    : QDialog(parent), services_(services), dm_(dm), bell_(bell) {
    setObjectName(QStringLiteral("Fscheduling"));
    setWindowTitle(QStringLiteral("作息时间表编辑"));
    resize(900, 520);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("作息时间表"), this));
    Comb1 = new QComboBox(this);
    Comb1->setObjectName(QStringLiteral("Comb1"));
    Comb1->setMinimumWidth(200);
    top->addWidget(Comb1);
    Btn_new = button(this, "Btn_new", QStringLiteral("新建时间表"));
    Btn_copy = button(this, "Btn_copy", QStringLiteral("复制为新时间表"));
    Btn_delete = button(this, "Btn_delete", QStringLiteral("删除当前时间表"));
    Btn_edit = button(this, "Btn_edit", QStringLiteral("编辑时间表"));
    Btn_close = button(this, "Btn_close", QStringLiteral("退出"));
    for (auto* b : {Btn_new, Btn_copy, Btn_delete, Btn_edit}) top->addWidget(b);
    top->addStretch(1);
    top->addWidget(Btn_close);
    layout->addLayout(top);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    bindGrid(DBGrid1, new EntriesModel(dm_.Q_mp3(), false, DBGrid1), true);
    N_deleteRow = new QAction(QStringLiteral("删除当前行"), DBGrid1);
    N_deleteRow->setObjectName(QStringLiteral("N_deleteRow"));
    DBGrid1->addAction(N_deleteRow);
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    layout->addWidget(DBGrid1, 1);

    connect(Comb1, &QComboBox::currentIndexChanged, this, [this] { showSelected(); });
    connect(Btn_new, &QPushButton::clicked, this, &TFscheduling::newClick);
    connect(Btn_copy, &QPushButton::clicked, this, &TFscheduling::copyClick);
    connect(Btn_delete, &QPushButton::clicked, this, &TFscheduling::deleteClick);
    connect(Btn_edit, &QPushButton::clicked, this, &TFscheduling::editClick);
    connect(Btn_close, &QPushButton::clicked, this, &QDialog::accept);
    connect(N_deleteRow, &QAction::triggered, this, &TFscheduling::deleteRowClick);
}

void TFscheduling::setDialogs(Tfschplaymp3* editor, TFschedul_add* add) {
    editor_ = editor;
    add_ = add;
}

void TFscheduling::FormShow() {
    getlist();
    showSelected();
}

void TFscheduling::getlist() {
    const QSignalBlocker quiet(Comb1);
    Comb1->clear();
    core::Dataset& timetables = dm_.Q_scheduling();  // in id order
    timetables.requery();
    const int name = timetables.fieldIndex(QStringLiteral("scheduling"));
    const int id = timetables.fieldIndex(QStringLiteral("id"));
    for (int row = 0; row < timetables.recordCount(); ++row)
        Comb1->addItem(timetables.value(row, name).toString(), timetables.value(row, id));
    int index = bell_.schindex ? bell_.schindex() : 0;
    if (index < 0 || index >= Comb1->count()) index = 0;
    Comb1->setCurrentIndex(Comb1->count() > 0 ? index : -1);
}

void TFscheduling::showSelected() {
    getgriddata(dm_, Comb1->currentText().trimmed());
}

void TFscheduling::openAdd(bool copymode) {
    if (!add_) return;
    add_->copymode = copymode;
    add_->FormShow();
    services_.prompter->exec(*add_);
    showSelected();
}

void TFscheduling::newClick() {
    openAdd(false);
}

void TFscheduling::copyClick() {
    openAdd(true);
}

void TFscheduling::deleteClick() {
    if (Comb1->currentIndex() < 0) return;
    const QString name = Comb1->currentText().trimmed();
    if (!services_.prompter->askyesno(QStringLiteral("真的要删除 ") + name +
                                      QStringLiteral(" 作息时间表吗？")))
        return;
    const QVariant id = Comb1->currentData();
    core::Dataset& timetables = dm_.Q_scheduling();
    timetables.requery();
    // Entries are linked by the trimmed name, which a second timetable may share ("A" and
    // "A "): they go with the last timetable of that name only.
    const int nameField = timetables.fieldIndex(QStringLiteral("scheduling"));
    int sharing = 0;
    for (int row = 0; row < timetables.recordCount(); ++row)
        if (timetables.value(row, nameField).toString().trimmed() == name) ++sharing;
    platform::Database& db = dm_.conn1();
    {
        platform::Transaction transaction(db);
        QString error;
        if (sharing <= 1 && !deleteEntries(db, name, &error)) {
            services_.prompter->message(
                {platform::MessageKind::Error, QStringLiteral("Error"), error, QMessageBox::Ok});
            return;
        }
        // The row is found by its id, so a name with blanks around it goes too.
        if (!timetables.locate(QStringLiteral("id"), id) || !timetables.remove()) return;
        transaction.commit();
    }
    services_.prompter->showinfo(QStringLiteral("作息时间表已删除!"));
    getlist();
    {
        const QSignalBlocker quiet(Comb1);
        if (Comb1->count() > 0) Comb1->setCurrentIndex(0);
    }
    showSelected();
}

void TFscheduling::editClick() {
    if (!editor_ || Comb1->currentIndex() < 0) return;
    const QString name = Comb1->currentText();
    if (bell_.setSchname) bell_.setSchname(name);
    editor_->setSchname(name);
    dm_.datachanged = false;
    editor_->FormShow();
    services_.prompter->exec(*editor_);
    if (bell_.activeName && name.trimmed() == bell_.activeName().trimmed() && dm_.datachanged) {
        showSelected();
        if (bell_.getsgrid2data) bell_.getsgrid2data();
        // Like every other rebuild, the entries already over are marked again.
        if (bell_.chkhaveplayed) bell_.chkhaveplayed();
    }
}

void TFscheduling::deleteRowClick() {
    deleteCurrentEntry(services_, dm_, bell_);
}

}  // namespace timetables
