#include "speaker/check/fcheckunplay.h"

#include "platform/prompter/prompter.h"
#include "speaker/bells/playbackchannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace check {
namespace {

template <typename T>
T* named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace

TFcheckunplay::TFcheckunplay(bells::PlaybackChannel& channel, platform::Prompter& prompter,
                             QWidget* parent)
    : QDialog(parent), channel_(channel), prompter_(prompter) {
    setObjectName(QStringLiteral("Fcheckunplay"));
    setWindowTitle(QStringLiteral("检查不能播放的音乐文件，以免播放时出错"));
    setModal(true);

    Panel1 = named(
        new QLabel(QStringLiteral("如果发现目录里有不能播放的文件请删除，以免播放时出错"), this),
        "Panel1");
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setMinimumHeight(32);
    Button8 = named(new QPushButton(QStringLiteral("选择音乐目录     "), this), "Button8");
    Button9 = named(new QPushButton(QStringLiteral("开始检查(*.WAV;*.MP3)   "), this), "Button9");
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setReadOnly(true);
    DefaultListBox1 = named(new QListWidget(this), "DefaultListBox1");
    Memo1 = named(new QPlainTextEdit(this), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Label1 = named(new QLabel(QString(39, QLatin1Char(' ')), this), "Label1");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button8);
    buttons->addWidget(Button9);
    buttons->addWidget(Edit1, 1);
    layout->addLayout(buttons);
    auto* lists = new QHBoxLayout;
    lists->addWidget(DefaultListBox1, 1);
    lists->addWidget(Memo1, 2);
    layout->addLayout(lists);
    layout->addWidget(Label1);
    // A fixed single border: the window keeps the size its contents ask for.
    resize(640, 420);
    setFixedSize(size());

    connect(Button8, &QPushButton::clicked, this, &TFcheckunplay::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &TFcheckunplay::Button9Click);

    setFolder(QDir::currentPath());
}

void TFcheckunplay::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFcheckunplay::FormShow() {
    Label1->setText(QString(39, QLatin1Char(' ')));
}

void TFcheckunplay::setFolder(const QString& folder) {
    folder_.setFolder(folder);
    folder_.showIn(DefaultListBox1);
}

void TFcheckunplay::Button8Click() {
    const QString chosen = prompter_.chooseFolder(QStringLiteral("选择音乐目录"), folder_.folder());
    if (chosen.isEmpty()) return;
    setFolder(chosen);
    Edit1->setText(chosen);
}

void TFcheckunplay::Button9Click() {
    // The folder may have changed since it was chosen; check what is there now.
    if (folder_.refresh()) folder_.showIn(DefaultListBox1);
    if (folder_.count() == 0) return;
    Memo1->clear();
    Label1->setText(QString(41, QLatin1Char(' ')));
    for (int i = 0; i < folder_.count(); ++i) {
        const QString path = folder_.path(i);
        Edit1->setText(path);
        // Keeps the window painting and the main window's timers running between probes.
        QCoreApplication::processEvents();
        if (!channel_.probe(path)) Memo1->appendPlainText(path);
    }
    Label1->setText(Memo1->toPlainText().trimmed().isEmpty()
                        ? QStringLiteral("没有发现不能播放的音乐!")
                        : QStringLiteral("以下文件不能播放，请删除!"));
}

}  // namespace check
