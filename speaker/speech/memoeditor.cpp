#include "speaker/speech/memoeditor.h"

#include "common/gbktext.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <type_traits>

namespace speech {

MemoEditor::MemoEditor(QTextEdit* memo, std::function<bool()> textPageActive,
                       std::function<void()> enableToolbar, QObject* parent)
    : QObject(parent),
      memo_(memo),
      textPageActive_(std::move(textPageActive)),
      enableToolbar_(std::move(enableToolbar)) {}

template <typename Fn>
auto MemoEditor::onUi(Fn&& fn) -> decltype(fn()) {
    using Result = decltype(fn());
    if (QThread::currentThread() == thread()) return fn();
    // The worker waits for the user-interface thread; if this object goes away first, the
    // queued call is dropped, the wait ends and the default result comes back. The flags'
    // release/acquire pairs state the hand-off there and back in the language's own terms
    // (Qt's event queue and semaphore order it too, but outside what thread checkers see).
    std::atomic<bool> posted{false};
    std::atomic<bool> done{false};
    posted.store(true, std::memory_order_release);
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(
            this,
            [&] {
                posted.load(std::memory_order_acquire);
                fn();
                done.store(true, std::memory_order_release);
            },
            Qt::BlockingQueuedConnection);
        done.load(std::memory_order_acquire);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            this,
            [&] {
                posted.load(std::memory_order_acquire);
                result = fn();
                done.store(true, std::memory_order_release);
            },
            Qt::BlockingQueuedConnection);
        done.load(std::memory_order_acquire);
        return result;
    }
}

ReadingEditor::Window MemoEditor::windowAtCaret(int maxBytes) {
    return onUi([&] {
        Window w;
        if (!memo_) return w;
        // The document's plain text has one character per cursor position, paragraph
        // separators as "\n", so indices and cursor positions agree.
        const QString text = memo_->document()->toPlainText();
        w.caret = std::clamp(memo_->textCursor().position(), 0, static_cast<int>(text.size()));
        w.text = common::gbkTake(QStringView(text).mid(w.caret), maxBytes).toString();
        return w;
    });
}

void MemoEditor::setCaret(int pos) {
    onUi([&] {
        if (!memo_) return;
        QTextCursor c = memo_->textCursor();
        const int end = memo_->document()->characterCount() - 1;
        c.setPosition(std::clamp(pos, 0, std::max(end, 0)));
        memo_->setTextCursor(c);
    });
}

bool MemoEditor::caretOnLastLine() {
    return onUi([&] {
        if (!memo_) return true;
        return memo_->textCursor().block().blockNumber() == memo_->document()->blockCount() - 1;
    });
}

int MemoEditor::lineCount() {
    return onUi([&] { return memo_ ? memo_->document()->blockCount() : 0; });
}

int MemoEditor::lineOf(int pos) {
    return onUi([&] {
        if (!memo_) return 0;
        const QTextBlock b = memo_->document()->findBlock(std::max(pos, 0));
        return b.isValid() ? b.blockNumber() : memo_->document()->blockCount() - 1;
    });
}

void MemoEditor::highlight(int start, int length, bool focus) {
    onUi([&] {
        if (!memo_) return;
        const int end = std::max(memo_->document()->characterCount() - 1, 0);
        QTextCursor c = memo_->textCursor();
        c.setPosition(std::clamp(start, 0, end));
        c.setPosition(std::clamp(start + length, 0, end), QTextCursor::KeepAnchor);
        memo_->setTextCursor(c);
        if (focus && (!textPageActive_ || textPageActive_())) memo_->setFocus();
    });
}

void MemoEditor::scrollOneLine() {
    onUi([&] {
        if (memo_) memo_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    });
}

ReadingEditor::Selection MemoEditor::selection() {
    return onUi([&] {
        Selection s;
        if (!memo_) return s;
        const QTextCursor c = memo_->textCursor();
        s.start = c.selectionStart();
        // The selection's plain text, paragraph separators as "\n" like the document's.
        s.text = memo_->document()->toPlainText().mid(c.selectionStart(),
                                                      c.selectionEnd() - c.selectionStart());
        return s;
    });
}

void MemoEditor::enableToolbar() {
    onUi([&] {
        if (enableToolbar_) enableToolbar_();
    });
}

}  // namespace speech
