#pragma once

// The two caption sets of the window, each written whole, in a fixed order.
// The current language is read from 按钮3 alone: it names the language a
// press switches to ("English" while the Chinese set shows).

#include "app/view.h"

namespace quorvel {

void ApplyChineseCaptions(View& view);
void ApplyEnglishCaptions(View& view);

// 按钮3: the English set when 按钮3 reads exactly "English", else the Chinese.
void SwitchLanguage(View& view);

}  // namespace quorvel
