#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quorvel::detail {

// Growable byte storage behind Text and Bytes. Every allocation goes
// through here, so running out of memory (or past the 2^31 - 1 bytes that
// a 32-bit length can count) is reported as a fatal error instead of
// leaving a half-built value behind. Appends grow the capacity by half
// again, so a value built by appending in a loop costs linear time and at
// most 1.5 times its size.
class Buffer {
public:
    Buffer() = default;
    explicit Buffer(std::string_view bytes);
    Buffer(const Buffer& other);
    Buffer& operator=(const Buffer& other);
    Buffer(Buffer&& other) noexcept = default;
    Buffer& operator=(Buffer&& other) noexcept = default;
    ~Buffer() = default;

    std::string_view View() const { return {bytes_.data(), bytes_.size()}; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Capacity() const { return bytes_.capacity(); }
    char* Data() { return bytes_.data(); }

    void Append(std::string_view bytes);
    void AppendFill(std::size_t count, char byte);
    // Makes room for at least `total` bytes without changing the content.
    void Reserve(std::size_t total);

private:
    void GrowFor(std::size_t extra);

    std::vector<char> bytes_;
};

}  // namespace quorvel::detail
