#include "app/captions.h"

#include "text/operations.h"

namespace quorvel {
namespace {

struct Caption {
    Control control;
    const char* chinese;
    const char* english;
};

// In the order both sets are written.
constexpr Caption kCaptions[] = {
    {Control::标签1, "要缩短的网址:", "Enter URL:"},
    {Control::标签2, "缩短后网址:", "Shortened URL:"},
    {Control::按钮1, "缩短", "generate"},
    {Control::按钮2, "复制", "Copy"},
    {Control::按钮3, "English", "中文"},
    {Control::按钮4, "黏贴", "Paste"},
    {Control::按钮5, "缩短并复制", "Generation and copy"},
    {Control::MainWindow, "Quorvel", "Quorvel"},
};

}  // namespace

void ApplyChineseCaptions(View& view) {
    for (const Caption& caption : kCaptions) {
        view.SetCaption(caption.control, caption.chinese);
    }
}

void ApplyEnglishCaptions(View& view) {
    for (const Caption& caption : kCaptions) {
        view.SetCaption(caption.control, caption.english);
    }
}

void SwitchLanguage(View& view) {
    if (CompareText(view.Caption(Control::按钮3), "English") == 0) {
        ApplyEnglishCaptions(view);
    } else {
        ApplyChineseCaptions(view);
    }
}

}  // namespace quorvel
