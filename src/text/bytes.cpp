#include <cstddef>
#include <string_view>

#include "text/operations.h"

namespace quorvel {

std::int32_t BytesLength(const Bytes& bytes) { return bytes.Length(); }

Bytes BytesLeft(const Bytes& bytes, std::int32_t count) {
    if (count <= 0) {
        return Bytes();
    }
    return Bytes(bytes.View().substr(0, static_cast<std::size_t>(count)));
}

Bytes BlankBytes(std::int32_t count) {
    Bytes zeros;
    zeros.AppendFill(count, '\0');
    return zeros;
}

std::int32_t CompareBytes(const Bytes& a, const Bytes& b) {
    if (a.Length() != b.Length()) {
        return 1;
    }
    const int order = a.View().compare(b.View());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace quorvel
