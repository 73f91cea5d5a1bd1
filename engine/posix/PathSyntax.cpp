#include "PathSyntax.h"

namespace dnl {

// Only "/" separates folders here; "\" and ":" are ordinary characters of a file name.
std::size_t FileNameStart(std::string_view path) {
    const std::size_t separator = path.rfind('/');
    return separator == std::string_view::npos ? 0 : separator + 1;
}

std::string WithoutDevicePrefix(std::string_view path) {
    return std::string(path);
}

}  // namespace dnl
