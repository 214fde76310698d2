#pragma once
// Reading the editor text on demand: from the caret, from the start, from the bookmark, the
// current line, the selection, loops over the selection or the whole text, and Stop; the
// toolbar's reading state; the caret read-out in status panel 0. The window owns the widgets
// and hands them over; this object wires them.

#include "speaker/speech/reader.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <set>

class QComboBox;
class QMenu;
class QTextEdit;
class QToolButton;

namespace core {
struct Services;
}
namespace platform {
class Timer;
}

namespace speech {

class MemoEditor;
class TFcycleread;
class Traditional;

class ManualReading : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QTextEdit* memo = nullptr;             // Memo1
        QComboBox* chooser = nullptr;          // flatComboBox1, the voice chooser
        QWidget* toolbar = nullptr;            // holds the toolbar buttons, found by name
        std::function<bool()> textPageActive;  // the page "文稿播音" is shown
        std::function<void(int, const QString&)> setStatusText;
        std::function<QString(int)> statusText;
    };

    // Speaks on `services.speech`. Enables and connects the reading buttons and builds the
    // editor's context menu.
    ManualReading(core::Services& services, const Widgets& widgets, QObject* parent = nullptr);
    ~ManualReading() override;

    Reader& reader() { return *reader_; }
    ReadingState& state() { return reader_->state(); }
    // The editor's context menu; other commands may be added to it.
    QMenu* contextMenu() const { return menu_; }
    void setLoopDialog(TFcycleread* dialog);

    // `selectvoice` (default: the engine's voice of the chooser's index).
    std::function<void(int index)> selectvoice;
    // Clears the broadcast scheduler's `planplaying`.
    std::function<void()> clearPlanPlaying;
    // The "%Date%" format in force (the date chooser may change it for this run only);
    // default: the saved `Datetimetype`.
    std::function<int()> datetimetype;

    // Commands.
    void SB_readClick();  // also N1
    void sb_jexuClick();
    void N41Click();         // read from the bookmark
    void N3Click();          // set the bookmark
    void L1Click();          // read the current line
    void N2Click();          // read the selection
    void SB_repeatClick();   // loop over the selection, asks
    void N36Click();         // loop over the selection
    void SB_repeat1Click();  // loop over the whole text, asks
    void T1Click();          // loop over the whole text
    void SB_stopClick();
    void readcycledTimer();

    void btn_disable();
    void btn_enable();
    void showcaretpos();
    void gundong1();

    platform::Timer* readcycled;

    // Loop state.
    int looptimes = 2;
    int loopinterval = 60;
    int loopcount = 0;
    int savedselstart = 0;
    int savedsellength = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool voiceMissing();  // shows "请选择语音引擎!" when the chooser is blank
    bool textBlank() const;
    void selectChosenVoice();
    void startLoop(bool wholeText, QToolButton* askFrom);
    void speakOnce(QString text);
    ReadingSettings settings();
    void buildContextMenu();
    QToolButton* button(const char* name) const;

    core::Services& services_;
    Widgets w_;
    std::shared_ptr<Traditional> traditional_;
    std::unique_ptr<MemoEditor> editor_;
    std::unique_ptr<Reader> reader_;
    QMenu* menu_ = nullptr;
    QPointer<TFcycleread> loopDialog_;
    std::set<QToolButton*> disabledByReading_;
};

}  // namespace speech
