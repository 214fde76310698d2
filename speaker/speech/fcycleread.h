#pragma once
// The loop dialog "范围循环朗读": how many passes a loop reading makes and how many seconds
// lie between the end of one pass and the start of the next.

#include <QDialog>

class QSpinBox;

namespace speech {

class TFcycleread : public QDialog {
    Q_OBJECT
public:
    // Loads both boxes from the settings `Readtimes` and `Intervaltime` of `iniPath`.
    explicit TFcycleread(const QString& iniPath, QWidget* parent = nullptr);

    // The boxes' current values.
    int readtimes() const;
    int intervaltime() const;

    QSpinBox* SpinEdit1;  // 朗读次数
    QSpinBox* SpinEdit2;  // 间隔秒数

    // "设为默认": both values become the saved defaults.
    void BitBtn2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString iniPath_;
};

}  // namespace speech
