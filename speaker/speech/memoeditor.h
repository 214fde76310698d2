#pragma once
// The editor as the speaking worker sees it: every call from the worker's thread is carried
// out on the user-interface thread (blocking queued), calls on that thread run directly.

#include "speaker/speech/readingeditor.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QTextEdit;

namespace speech {

class MemoEditor : public QObject, public ReadingEditor {
    Q_OBJECT
public:
    // `textPageActive`: whether the editor's page is the one shown (focus rule);
    // `enableToolbar`: `btn_enable`. Lives on the thread of `memo`.
    MemoEditor(QTextEdit* memo, std::function<bool()> textPageActive,
               std::function<void()> enableToolbar, QObject* parent = nullptr);

    Window windowAtCaret(int maxBytes) override;
    void setCaret(int pos) override;
    bool caretOnLastLine() override;
    int lineCount() override;
    int lineOf(int pos) override;
    void highlight(int start, int length, bool focus) override;
    void scrollOneLine() override;
    Selection selection() override;
    void enableToolbar() override;

private:
    template <typename Fn>
    auto onUi(Fn&& fn) -> decltype(fn());

    QPointer<QTextEdit> memo_;
    std::function<bool()> textPageActive_;
    std::function<void()> enableToolbar_;
};

}  // namespace speech
