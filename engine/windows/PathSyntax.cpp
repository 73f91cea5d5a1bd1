#include "PathSyntax.h"

namespace dnl {
namespace {

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

// Both "\" and "/" separate folders, and "C:" at the start names a drive: "C:X.dnl" is X.dnl in
// the drive's working directory. UTF-8 never puts these bytes inside a longer character.
std::size_t FileNameStart(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    if (separator != std::string_view::npos) {
        return separator + 1;
    }
    return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':' ? 2 : 0;
}

// "\\?\C:\x" and "\\.\C:\x" name C:\x, and "\\?\UNC\server\share\x" names
// \\server\share\x: the prefix only tells the system's own calls to take the rest as it is.
std::string WithoutDevicePrefix(std::string_view path) {
    for (const std::string_view prefix : {R"(\\?\)", R"(\\.\)"}) {
        if (path.starts_with(prefix)) {
            const std::string_view rest = path.substr(prefix.size());
            constexpr std::string_view kUnc = R"(UNC\)";
            return rest.starts_with(kUnc) ? R"(\\)" + std::string(rest.substr(kUnc.size()))
                                          : std::string(rest);
        }
    }
    return std::string(path);
}

}  // namespace dnl
