#include "speaker/plans/smalldialogs.h"

#include "platform/prompter/prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace plans {

TFfindtxt::TFfindtxt(platform::Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("Ffindtxt"));
    setWindowTitle(QStringLiteral("定时主题内容"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("输入待查主题内容："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    connect(Button1, &QPushButton::clicked, this, &TFfindtxt::Button1Click);
}

void TFfindtxt::Button1Click() {
    Edit1->setText(Edit1->text().trimmed());
    if (Edit1->text().isEmpty()) {
        prompter_.showwarning(QStringLiteral("请输入要查内容!"));
        return;
    }
    accept();
}

QString TFfindtxt::text() const {
    return Edit1->text();
}

TValueDialog::TValueDialog(const QString& objectName, const QString& caption, const QString& label,
                           int min, int max, int initial, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(label, this);
    title->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(title);
    auto* row = new QHBoxLayout;
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(min, max);
    TrackBar1->setMinimumWidth(220);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setMinimumWidth(30);
    row->addWidget(TrackBar1, 1);
    row->addWidget(Label2);
    layout->addLayout(row);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    connect(TrackBar1, &QSlider::valueChanged, Label2,
            [this](int v) { Label2->setText(QString::number(v)); });
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    TrackBar1->setValue(initial);
    Label2->setText(QString::number(TrackBar1->value()));
}

int TValueDialog::value() const {
    return TrackBar1->value();
}
void TValueDialog::setValue(int value) {
    TrackBar1->setValue(value);
}

std::optional<int> askValue(platform::Prompter& prompter, QDialog* dialog) {
    auto* values = qobject_cast<TValueDialog*>(dialog);
    if (!values || prompter.exec(*values) != QDialog::Accepted) return std::nullopt;
    return values->value();
}

std::unique_ptr<TValueDialog> makeInsertRate() {
    return std::make_unique<TValueDialog>(QStringLiteral("Finsertrate"), QStringLiteral("插入语速"),
                                          QStringLiteral("选择语速"), -10, 15, 0);
}

std::unique_ptr<TValueDialog> makeInsertVoice() {
    return std::make_unique<TValueDialog>(QStringLiteral("Finsertvoice"),
                                          QStringLiteral("插入音量"), QStringLiteral("音量"), 0,
                                          100, 95);
}

}  // namespace plans
