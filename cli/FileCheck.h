#pragma once

#include <filesystem>
#include <string>

namespace dnl::cli {

// Why `path` cannot be taken as a DNL file: it is missing, cannot be looked at, or is not a
// regular file. Empty when it names a regular file.
std::string WhyNotARegularFile(const std::filesystem::path& path);

}  // namespace dnl::cli
