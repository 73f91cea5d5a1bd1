#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dnl {

// Paths are UTF-8 text throughout the tool. std::filesystem reads a plain std::string in the
// system's code page, which on Windows is not UTF-8, so every crossing goes through these.
inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size());
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

}  // namespace dnl
