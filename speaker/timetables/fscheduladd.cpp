#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/prompter/prompter.h"
#include "platform/store/store.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/timetables/timetabledata.h"
#include "speaker/timetables/timetables.h"

namespace timetables {

namespace {
// Table scheduling keeps names of up to 50 characters.
constexpr int kNameLength = 50;
}  // namespace

TFschedul_add::TFschedul_add(core::Services& services, core::DM& dm, QWidget* parent)
    : QDialog(parent), services_(services), dm_(dm) {
    setObjectName(QStringLiteral("Fschedul_add"));
    setWindowTitle(QStringLiteral("新建作息时间表"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("输入新的作息时间名："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(kNameLength);
    layout->addWidget(Edit1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("关闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &TFschedul_add::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFschedul_add::FormShow() {
    Edit1->clear();
    setWindowTitle(copymode ? QStringLiteral("复制新的作息时间表")
                            : QStringLiteral("建立新的作息时间表"));
}

void TFschedul_add::Button1Click() {
    const QString name = Edit1->text();
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return;
    platform::Database& db = dm_.conn1();
    if (timetableExists(db, name)) {
        services_.prompter->showwarning(QStringLiteral("该作息时间表已存在!"));
        return;
    }
    core::Dataset& entries = dm_.Q_mp3();
    // A change the check refused is not part of what is copied.
    if (copymode && !entries.checkBrowseMode()) entries.cancel();
    core::Dataset& timetables = dm_.Q_scheduling();
    // The timetable and its copied entries are stored together or not at all.
    const bool stored = [&] {
        platform::Transaction transaction(db);
        if (!timetables.append() || !timetables.setField(QStringLiteral("scheduling"), name) ||
            !timetables.post()) {
            timetables.cancel();
            return false;  // the data module has shown the database's error
        }
        QString error;
        if (copymode && !copyEntries(db, entries, trimmed, &error)) {
            services_.prompter->message(
                {platform::MessageKind::Error, QStringLiteral("Error"), error, QMessageBox::Ok});
            return false;
        }
        return transaction.commit();
    }();
    if (!stored) {
        timetables.requery();  // forget a row the rollback took back
        return;
    }
    services_.prompter->showinfo(copymode ? QStringLiteral("复制成功!")
                                          : QStringLiteral("新建成功!"));
    if (afterStore) afterStore();
}

}  // namespace timetables
