#include "SyntheticDnl.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace dnl::bench {
namespace {

void Append(std::ofstream& out, std::uint16_t type, const std::vector<char>& payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    const char header[] = {static_cast<char>(type >> 8),    static_cast<char>(type),
                           static_cast<char>(length >> 24), static_cast<char>(length >> 16),
                           static_cast<char>(length >> 8),  static_cast<char>(length)};
    out.write(header, sizeof header);
    out.write(payload.data(), static_cast<std::streamsize>(payload.size()));
}

}  // namespace

void WriteSyntheticDnl(const std::string& path, std::size_t records) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::vector<char> name = {'R', 'Q', 'X', '4', '\0'};
    Append(out, 0x0805, name);
    for (std::size_t i = 1; i + 1 < records; ++i) {
        if (i == records / 2) {
            Append(out, 0x0805, name);
        } else if (i % 4 == 0) {
            Append(out, 0x0032, {0x00, 0x00});
        } else {
            Append(out, 0x0100, std::vector<char>(i % 9, '\x5A'));
        }
    }
    Append(out, 0x0FFF, {});
}

}  // namespace dnl::bench
