#include "text/values.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

#include "text/fatal.h"

namespace quorvel {
namespace {

std::string_view UpToZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

template <class Action>
void GuardedList(Action&& action) {
    try {
        action();
    } catch (const std::bad_alloc&) {
        FatalError("out of memory");
    } catch (const std::length_error&) {
        FatalError("out of memory: list too long");
    }
}

}  // namespace

Text::Text(const char* zeroTerminated)
    : buffer_(zeroTerminated == nullptr ? std::string_view() : std::string_view(zeroTerminated)) {}

Text::Text(std::string_view bytes) : buffer_(UpToZero(bytes)) {}

void Text::Reserve(std::int32_t total) {
    if (total > 0) {
        buffer_.Reserve(static_cast<std::size_t>(total));
    }
}

void Text::AppendFill(std::int32_t count, char byte) {
    if (count > 0 && byte != '\0') {
        buffer_.AppendFill(static_cast<std::size_t>(count), byte);
    }
}

void Bytes::AppendFill(std::int32_t count, char byte) {
    if (count > 0) {
        buffer_.AppendFill(static_cast<std::size_t>(count), byte);
    }
}

void Bytes::Reserve(std::int32_t total) {
    if (total > 0) {
        buffer_.Reserve(static_cast<std::size_t>(total));
    }
}

TextArray::TextArray(const TextArray& other) {
    GuardedList([&] { elements_ = other.elements_; });
}

TextArray& TextArray::operator=(const TextArray& other) {
    if (this != &other) {
        std::vector<Text> copy;
        GuardedList([&] { copy = other.elements_; });
        elements_.swap(copy);
    }
    return *this;
}

const Text& TextArray::Element(std::int32_t index) const {
    if (index < 1 || index > Size()) {
        char message[96];
        std::snprintf(message, sizeof message, "list element %ld read outside 1 to %ld",
                      static_cast<long>(index), static_cast<long>(Size()));
        FatalError(message);
    }
    return elements_[static_cast<std::size_t>(index - 1)];
}

void TextArray::Append(const Text& element) {
    Text copy = element;  // a copy first: `element` may live in this list
    GuardedList([&] { elements_.push_back(std::move(copy)); });
}

}  // namespace quorvel
