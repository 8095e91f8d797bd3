#pragma once

// Every operation on the value kinds. Positions are 1-based and count
// bytes; a search that finds nothing gives -1. A byte of 0x80 or above
// starts a double-byte character together with the byte after it (the high
// bit alone decides, no code-page table is read); scanning operations step
// by characters, the byte-counting ones (TextLeft, TextRight, TextMid) do
// not. No operation reports an error: out-of-range arguments clamp or give
// the empty value.

#include <cstdint>
#include <optional>

#include "text/values.h"

namespace quorvel {

// --- Texts: lengths and pieces ------------------------------------------
std::int32_t TextLength(const Text& text);
Text TextLeft(const Text& text, std::int32_t count);
Text TextRight(const Text& text, std::int32_t count);
Text TextMid(const Text& text, std::int32_t start, std::int32_t count);

// --- Searching, replacing, splitting --------------------------------------
// `ignoreCase` folds A-Z/a-z in both texts, second bytes of double-byte
// characters included. A start of 1 or less searches from the first byte.
std::int32_t FindText(const Text& text, const Text& sought, std::int32_t start = 0,
                      bool ignoreCase = false);
// The last occurrence that ends before `start` (before the end of the text
// when `start` is left out).
std::int32_t FindTextReverse(const Text& text, const Text& sought,
                             std::optional<std::int32_t> start = std::nullopt,
                             bool ignoreCase = false);
// Replaces `count` occurrences (all when negative) found from `start` on.
Text ReplaceSubtext(const Text& text, const Text& old, const Text& newText = Text(),
                    std::int32_t start = 1, std::int32_t count = -1, bool caseSensitive = false);
// Pieces between delimiters; `maxCount` left out means no limit.
TextArray SplitText(const Text& text, const Text& delimiter = ",",
                    std::optional<std::int32_t> maxCount = std::nullopt);

// --- Blanks (the space and the ideographic space 0xA1 0xA1) and case --------
Text TrimBoth(const Text& text);
Text RemoveAllSpaces(const Text& text);
Text ToLower(const Text& text);

// --- Conversions ----------------------------------------------------------
// Leading white space, one sign, decimal digits (full-width ones too);
// wraps around in 32 bits; 0 when there are no digits.
std::int32_t ToInt(const Text& text);
Text ToText(const Bytes& bytes);  // the bytes before the first zero byte
Text ToText(const Text& text);
Bytes ToBytes(const Text& text);
Text BlankText(std::int32_t count);
// The one-byte text of `code` (its low 8 bits); 0 gives the empty text.
Text CharFromCode(std::int32_t code);

// Joins the texts in order. Pass the first one with std::move to append to
// it in place: `body = ConcatText(std::move(body), more)` stays linear in a loop.
template <class... Rest>
Text ConcatText(Text first, const Rest&... rest) {
    (first.Append(rest), ...);
    return first;
}

// -1, 0 or 1, comparing bytes as unsigned values; a proper beginning of
// the other text is the smaller.
std::int32_t CompareText(const Text& a, const Text& b);

// --- Byte strings ---------------------------------------------------------
std::int32_t BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, std::int32_t count);
Bytes BlankBytes(std::int32_t count);  // `count` zero bytes

template <class... Rest>
Bytes ConcatBytes(Bytes first, const Rest&... rest) {
    (first.Append(rest), ...);
    return first;
}

// 1 when the lengths differ; otherwise 0, or -1/1 by the first differing byte.
std::int32_t CompareBytes(const Bytes& a, const Bytes& b);

// --- Integers and lists -----------------------------------------------------
// Bitwise or of 32-bit patterns (a negative operand contributes its
// two's-complement bits); flag constants above 0x7FFFFFFF are welcome.
template <class... Operands>
constexpr std::int32_t BitOr(Operands... operands) {
    return static_cast<std::int32_t>((std::uint32_t{0} | ... | static_cast<std::uint32_t>(operands)));
}

std::int32_t ArraySize(const TextArray& array);
void ArrayAppend(TextArray& array, const Text& text);

}  // namespace quorvel
