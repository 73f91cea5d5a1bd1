#include "TextFormat.h"

namespace dnl::cli {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool ShownAsItIs(unsigned char c) {
    return c >= 0x20 && c <= 0x7E && c != '"' && c != '\\';
}

}  // namespace

std::string Hex16(std::uint16_t value) {
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += kHexDigits[(value >> shift) & 0xF];
    }
    return text;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (ShownAsItIs(byte)) {
            quoted += c;
        } else {
            quoted += "\\x";
            quoted += kHexDigits[byte >> 4];
            quoted += kHexDigits[byte & 0xF];
        }
    }
    return quoted + "\"";
}

std::string ModuleList(std::string_view lastSeparator, bool (*picked)(const ModuleProfile&)) {
    std::string list;
    for (std::uint8_t index = 0; index < kModuleCount; ++index) {
        if (picked(*ProfileFor(index))) {
            list += (list.empty() ? "" : ", ") + std::string(ProfileFor(index)->selectorText);
        }
    }
    // No selector text holds a comma, so the last one separates the last two names.
    const std::size_t last = list.rfind(", ");
    return last == std::string::npos ? list : list.replace(last, 2, lastSeparator);
}

}  // namespace dnl::cli
