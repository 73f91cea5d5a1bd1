#include "FileCheck.h"

#include <system_error>

namespace dnl::cli {

namespace fs = std::filesystem;

std::string WhyNotARegularFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return std::make_error_code(std::errc::no_such_file_or_directory).message();
    }
    if (error) {
        return error.message();
    }
    return fs::is_regular_file(status) ? std::string() : std::string("not a regular file");
}

}  // namespace dnl::cli
