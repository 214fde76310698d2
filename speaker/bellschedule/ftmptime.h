#pragma once
// ftmptime "临时修改时间表": today's bell times changed by hand over a working copy of the
// active timetable's entries. The copy never reaches the database; "保存" writes it into
// today's bell grid, which keeps it until the grid is next rebuilt.

#include <QDialog>

class QAction;
class QLabel;
class QPushButton;
class QTableView;

namespace core {
class DM;
struct Services;
}  // namespace core

namespace bellschedule {

class BellScheduler;
class TmpTimeModel;

class Tftmptime : public QDialog {
    Q_OBJECT
public:
    Tftmptime(core::Services& services, core::DM& dm, BellScheduler& bells,
              QWidget* parent = nullptr);
    ~Tftmptime() override;

    // Reads the working copy afresh for the active timetable; clears tmpmodified.
    void FormShow();
    // "保存": writes the copy into today's bell grid; false when a row's times were refused.
    bool btn_okClick();
    // "删除记录" on the grid's current row (after the question).
    void deleteRecord();

    QLabel* Label1;
    QTableView* DBGrid1;
    QPushButton* btn_ok;
    QPushButton* BitBtn2;
    QAction* N_delete;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    core::Services& services_;
    core::DM& dm_;
    BellScheduler& bells_;
    TmpTimeModel* model_;
};

}  // namespace bellschedule
