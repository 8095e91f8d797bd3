#pragma once

// What the window's actions need of a front-end: the ten controls and the
// window by name, their texts, the focus and the clipboard. Each front-end
// (Win32, Qt) maps the names to its widgets; tests use a fake.
//
// Two kinds of text cross this interface:
//  - edit-box texts and clipboard texts are Text in the system's ANSI code
//    page, byte for byte what the user typed or pasted;
//  - captions are UTF-8, converted explicitly by the front-end, so the
//    Chinese captions show correctly whatever the system's code page is.

#include "text/values.h"

namespace quorvel {

enum class Control {
    MainWindow,
    标签1,
    编辑框1,
    按钮4,
    按钮1,
    按钮5,
    标签2,
    编辑框2,
    按钮2,
    按钮3,
    超级链接框1,
};

class View {
public:
    virtual ~View() = default;

    // The text of an edit box (编辑框1, 编辑框2).
    virtual Text EditText(Control box) = 0;
    virtual void SetEditText(Control box, const Text& text) = 0;

    // The caption of a label or button, or the window's title (UTF-8).
    virtual Text Caption(Control control) = 0;
    virtual void SetCaption(Control control, const Text& utf8) = 0;

    virtual void SetFocus(Control control) = 0;

    // The clipboard's plain text; empty when it holds none or is busy.
    virtual Text ClipboardGetText() = 0;
    // Replaces the whole clipboard by the text; nothing when it is busy.
    virtual void ClipboardSetText(const Text& text) = 0;
};

}  // namespace quorvel
