#include "FileCheck.h"

#include <system_error>

#include "PathSyntax.h"
#include "Utf8Path.h"

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

bool FindTargets(const std::vector<std::string>& files, const std::string& verb,
                 std::vector<Target>& targets, std::ostream& err) {
    bool found = true;
    for (const std::string& file : files) {
        std::error_code error;
        const fs::path path = fs::absolute(PathFromUtf8(WithoutDevicePrefix(file)), error);
        const std::string why = error ? error.message() : WhyNotARegularFile(path);
        if (why.empty()) {
            targets.push_back({file, path});
        } else {
            err << "dnlconv: cannot " << verb << " '" << file << "': " << why << '\n';
            found = false;
        }
    }
    return found;
}

}  // namespace dnl::cli
