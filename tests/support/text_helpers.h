#pragma once

// Test helpers for the value kinds: GoogleTest printers that show values as
// quoted bytes, every byte outside printable ASCII as \xNN, so a failing
// row tells exactly what differed; and a list built from its elements.

#include <cstdio>
#include <initializer_list>
#include <ostream>
#include <string_view>

#include "text/values.h"

namespace quorvel {

inline void PrintEscaped(std::string_view bytes, std::ostream* os) {
    *os << '\'';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '\'') {
            *os << c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            *os << escaped;
        }
    }
    *os << '\'';
}

inline void PrintTo(const Text& text, std::ostream* os) { PrintEscaped(text.View(), os); }

inline void PrintTo(const Bytes& bytes, std::ostream* os) {
    *os << "bytes ";
    PrintEscaped(bytes.View(), os);
}

inline void PrintTo(const TextArray& array, std::ostream* os) {
    *os << '[';
    for (std::int32_t i = 1; i <= array.Size(); ++i) {
        *os << (i > 1 ? ", " : "");
        PrintTo(array.Element(i), os);
    }
    *os << ']';
}

inline TextArray MakeArray(std::initializer_list<Text> elements) {
    TextArray array;
    for (const Text& element : elements) {
        array.Append(element);
    }
    return array;
}

}  // namespace quorvel
