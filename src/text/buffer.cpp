#include "text/buffer.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "text/fatal.h"

namespace quorvel::detail {
namespace {

constexpr std::size_t kMaxLength = std::numeric_limits<std::int32_t>::max();

template <class Action>
void Guarded(Action&& action) {
    try {
        action();
    } catch (const std::bad_alloc&) {
        FatalError("out of memory");
    } catch (const std::length_error&) {
        FatalError("out of memory: value too long");
    }
}

void CheckLength(std::size_t size, std::size_t extra) {
    if (extra > kMaxLength - size) {
        FatalError("out of memory: value longer than 2147483647 bytes");
    }
}

}  // namespace

Buffer::Buffer(std::string_view bytes) {
    CheckLength(0, bytes.size());
    Guarded([&] { bytes_.assign(bytes.begin(), bytes.end()); });
}

Buffer::Buffer(const Buffer& other) {
    Guarded([&] { bytes_ = other.bytes_; });
}

Buffer& Buffer::operator=(const Buffer& other) {
    if (this != &other) {
        // Built aside first, so a failed copy never leaves this value changed.
        std::vector<char> copy;
        Guarded([&] { copy = other.bytes_; });
        bytes_.swap(copy);
    }
    return *this;
}

void Buffer::Reserve(std::size_t total) {
    if (total > bytes_.capacity()) {
        CheckLength(0, total);
        Guarded([&] { bytes_.reserve(total); });
    }
}

void Buffer::GrowFor(std::size_t extra) {
    CheckLength(bytes_.size(), extra);
    const std::size_t needed = bytes_.size() + extra;
    if (needed <= bytes_.capacity()) {
        return;
    }
    const std::size_t capacity = bytes_.capacity();
    std::size_t grown = capacity + capacity / 2;
    if (grown > kMaxLength) {
        grown = kMaxLength;
    }
    Reserve(needed > grown ? needed : grown);
}

void Buffer::Append(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    // A value appended to itself: find its bytes again after the growth.
    const auto here = reinterpret_cast<std::uintptr_t>(bytes_.data());
    const auto from = reinterpret_cast<std::uintptr_t>(bytes.data());
    const bool inside = from >= here && from < here + bytes_.size();
    GrowFor(bytes.size());
    const char* source = inside ? bytes_.data() + (from - here) : bytes.data();
    const std::size_t old = bytes_.size();
    bytes_.resize(old + bytes.size());  // within capacity: nothing moves
    std::memmove(bytes_.data() + old, source, bytes.size());
}

void Buffer::AppendFill(std::size_t count, char byte) {
    if (count == 0) {
        return;
    }
    GrowFor(count);
    bytes_.insert(bytes_.end(), count, byte);
}

}  // namespace quorvel::detail
