#pragma once
#include <QDialog>

class QLabel;

namespace app {

// "Quilla": version and the computer's memory figures, computed when the window is created.
class Tf_about : public QDialog {
    Q_OBJECT
public:
    explicit Tf_about(QWidget* parent = nullptr);

    QLabel* versionLabel;
    QLabel* memoryLabel;  // "物理内存:" total in KB
    QLabel* loadLabel;    // "使用内存:" load in percent
};

// 16777216 → "16,777,216 KB"
QString memoryText(qint64 kb);

}  // namespace app
