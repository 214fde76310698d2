#pragma once
// The dialog "增加不播音日期": a date, a remark and what to leave out on that day; each press
// of "增加" stores one row and the dialog stays open for the next.

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace core {
class Dataset;
}
namespace platform {
class Clock;
}

namespace broadcast {

class Tfaddholiday : public QDialog {
    Q_OBJECT
public:
    // Rows go to `holidays` (DM.Q_holiday); the picker starts at `clock`'s now when shown.
    Tfaddholiday(core::Dataset& holidays, platform::Clock& clock, QWidget* parent = nullptr);

    QDateEdit* DateTime1;
    QLineEdit* Edit1;
    QCheckBox* chk_txt;
    QCheckBox* chk_mp3;
    QPushButton* BitBtn1;

    // Appends one row: the picker's date (with the time of day it was set at), the two boxes
    // and the remark as typed.
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    core::Dataset& ds_;
    platform::Clock& clock_;
};

}  // namespace broadcast
