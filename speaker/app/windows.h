#pragma once
// The windows of the program, created once at start-up in a fixed order and shown on demand.

#include <QDialog>

#include <memory>

namespace core {
class DM;
struct Services;
}  // namespace core
namespace services {
class Tf_password;
}

namespace app {

class Tf_speaker;
class Tf_about;

// A window whose feature is built later: it exists, with its name and caption, but is empty.
class ShellWindow : public QDialog {
    Q_OBJECT
public:
    ShellWindow(const QString& objectName, const QString& caption, QWidget* parent = nullptr);
};

struct Windows {
    std::unique_ptr<core::DM> DM;
    std::unique_ptr<Tf_speaker> f_speaker;
    std::unique_ptr<QDialog> f_sch;
    std::unique_ptr<QDialog> f_shutprompt;
    std::unique_ptr<Tf_about> f_about;
    std::unique_ptr<QDialog> fschplaymp3;
    std::unique_ptr<QDialog> fschreader;
    std::unique_ptr<services::Tf_password> f_password;
    std::unique_ptr<QDialog> faddholiday;
    std::unique_ptr<QDialog> freminder;
    std::unique_ptr<QDialog> Fscheduling;
    std::unique_ptr<QDialog> Fschedul_add;
    std::unique_ptr<QDialog> fdateformat;
    std::unique_ptr<QDialog> Fcycleread;
    std::unique_ptr<QDialog> Fdelaytime;
    std::unique_ptr<QDialog> Faddbiaodian;
    std::unique_ptr<QDialog> Fmodifytelltime;
    std::unique_ptr<QDialog> Fcheckunplay;
    std::unique_ptr<QDialog> Frecunit1;
    std::unique_ptr<QDialog> ftmptime;
    std::unique_ptr<QDialog> Finsertrate;
    std::unique_ptr<QDialog> Ffindtxt;
    std::unique_ptr<QDialog> Finsertvoice;

    Windows();
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // Every window in creation order (the data module is not a window).
    std::vector<QWidget*> all() const;
};

// Opens the data module and creates the windows in order. Returns nullptr when the database
// cannot be opened (the data module has shown "数据连接失败!"); nothing else is created then.
std::unique_ptr<Windows> createWindows(core::Services& services);

}  // namespace app
