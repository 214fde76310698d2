#include "speaker/app/aboutwindow.h"

#include "platform/system/meminfo.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

QString memoryText(qint64 kb) {
    QString digits = QString::number(kb);
    for (int i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char(','));
    return digits + QStringLiteral(" KB");
}

Tf_about::Tf_about(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("f_about"));
    setWindowTitle(QStringLiteral("Quilla"));
    const auto mem = platform::memoryStatus();
    versionLabel = new QLabel(QStringLiteral("Quilla V5.9.6"), this);
    memoryLabel = new QLabel(QStringLiteral("物理内存:") + memoryText(mem.totalKb), this);
    memoryLabel->setObjectName(QStringLiteral("memoryLabel"));
    loadLabel = new QLabel(QStringLiteral("使用内存:") + QString::number(mem.loadPercent) +
                               QStringLiteral(" %"),
                           this);
    loadLabel->setObjectName(QStringLiteral("loadLabel"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(versionLabel);
    layout->addWidget(memoryLabel);
    layout->addWidget(loadLabel);
    layout->addWidget(ok);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace app
