#pragma once
// fchangtime "作息时间表临时变更": moves every time of today's bell grid and of the text
// broadcast list earlier or later by some minutes, or brings back the stored times. Only
// today's grids change; the database never does.

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;

namespace core {
struct Services;
}

namespace bellschedule {

class BellScheduler;

class Tfchangtime : public QDialog {
    Q_OBJECT
public:
    enum Action { Earlier = 0, Later = 1, Restore = 2 };

    Tfchangtime(core::Services& services, BellScheduler& bells, QWidget* parent = nullptr);

    void Button1Click();
    void Comb1Change();

    // Signed sum of the shifts since the dialog was last shown (earlier is negative).
    int totalshift = 0;

    QComboBox* Comb1;
    QSpinBox* SpinEdit1;
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    core::Services& services_;
    BellScheduler& bells_;
};

}  // namespace bellschedule
