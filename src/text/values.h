#pragma once

// The three value kinds everything else works on:
//   Text      a byte string in the ANSI code page that never holds a zero byte
//   Bytes     a counted byte string of any byte values
//   TextArray a list of Text, indexed from 1
// All are plain values: assignment copies, operations return fresh values,
// and none shares storage with another.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/buffer.h"

namespace quorvel {

class Text {
public:
    Text() = default;
    // A zero-terminated string; a null pointer is the empty text.
    Text(const char* zeroTerminated);  // NOLINT(google-explicit-constructor): literals read as texts
    // Any bytes: the text ends just before the first zero byte, if any.
    explicit Text(std::string_view bytes);

    std::string_view View() const { return buffer_.View(); }
    std::string Str() const { return std::string(View()); }
    bool Empty() const { return buffer_.Size() == 0; }

    // Appends in place, amortised: the way to build a text in a loop.
    void Append(const Text& tail) { buffer_.Append(tail.View()); }
    // Appends `count` copies of a byte other than zero (none when count <= 0).
    void AppendFill(std::int32_t count, char byte);
    void Reserve(std::int32_t total);

    friend bool operator==(const Text& a, const Text& b) { return a.View() == b.View(); }

private:
    detail::Buffer buffer_;
};

class Bytes {
public:
    Bytes() = default;
    explicit Bytes(std::string_view bytes) : buffer_(bytes) {}

    std::string_view View() const { return buffer_.View(); }
    char* Data() { return buffer_.Data(); }
    std::int32_t Length() const { return static_cast<std::int32_t>(buffer_.Size()); }

    void Append(const Bytes& tail) { buffer_.Append(tail.View()); }
    void Append(std::string_view tail) { buffer_.Append(tail); }
    void AppendFill(std::int32_t count, char byte);
    void Reserve(std::int32_t total);
    std::size_t Capacity() const { return buffer_.Capacity(); }

    friend bool operator==(const Bytes& a, const Bytes& b) { return a.View() == b.View(); }

private:
    detail::Buffer buffer_;
};

class TextArray {
public:
    TextArray() = default;
    TextArray(const TextArray& other);
    TextArray& operator=(const TextArray& other);
    TextArray(TextArray&& other) noexcept = default;
    TextArray& operator=(TextArray&& other) noexcept = default;
    ~TextArray() = default;

    std::int32_t Size() const { return static_cast<std::int32_t>(elements_.size()); }
    // The element at `index`, 1 to Size(); any other index is a fatal error.
    const Text& Element(std::int32_t index) const;
    void Append(const Text& element);

    friend bool operator==(const TextArray& a, const TextArray& b) {
        return a.elements_ == b.elements_;
    }

private:
    std::vector<Text> elements_;
};

}  // namespace quorvel
