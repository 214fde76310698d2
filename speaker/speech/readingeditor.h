#pragma once
// The speaking worker's view of the editor. The worker calls it from its own thread; the
// implementation carries every call out on the user-interface thread and returns when it is
// done, so the steps of a reading keep their order. Positions are character indices of the
// editor's plain text.

#include <QString>

namespace speech {

class ReadingEditor {
public:
    virtual ~ReadingEditor() = default;

    struct Window {
        int caret = 0;  // where the window starts
        QString text;   // at most `maxBytes` (text measure) of the text after the caret
    };
    struct Selection {
        int start = 0;
        QString text;
    };

    virtual Window windowAtCaret(int maxBytes) = 0;
    // Moves the caret (clamped to the text) and collapses the selection.
    virtual void setCaret(int pos) = 0;
    virtual bool caretOnLastLine() = 0;
    virtual int lineCount() = 0;
    // Line (0-based) that holds position `pos`.
    virtual int lineOf(int pos) = 0;
    // Selects `length` characters from `start`; `focus`: the editor takes the input focus
    // when its page is the active one.
    virtual void highlight(int start, int length, bool focus) = 0;
    virtual void scrollOneLine() = 0;
    virtual Selection selection() = 0;
    // The reading's toolbar buttons become usable again (`btn_enable`).
    virtual void enableToolbar() = 0;
};

}  // namespace speech
