#pragma once

// The real servers started by the "peers" test fixture (peers.sh): their
// ports and the test CA, read from the file named by QUORVEL_PEERS, one
// "name=value" a line.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The value named `name`; none when the file or the line is missing.
inline std::optional<std::string> PeerValue(std::string_view name) {
    const char* const path = std::getenv("QUORVEL_PEERS");
    if (path == nullptr) {
        return std::nullopt;
    }
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.size() > name.size() && line.compare(0, name.size(), name) == 0 &&
            line[name.size()] == '=') {
            return line.substr(name.size() + 1);
        }
    }
    return std::nullopt;
}

// The port named `name`, 0 when there is none (tests then fail on it).
inline std::uint16_t PeerPort(std::string_view name) {
    const std::optional<std::string> value = PeerValue(name);
    return value ? static_cast<std::uint16_t>(std::strtoul(value->c_str(), nullptr, 10)) : 0;
}

}  // namespace quorvel
