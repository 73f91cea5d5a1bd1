#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace dnl::cli {

// Why `path` cannot be taken as a DNL file: it is missing, cannot be looked at, or is not a
// regular file. Empty when it names a regular file.
std::string WhyNotARegularFile(const std::filesystem::path& path);

// A FILE argument, as given and as an absolute path, like the one the window's file dialog
// yields.
struct Target {
    std::string argument;
    std::filesystem::path path;
};

// The targets of FILE arguments that name regular files. False, after a line on `err` for each
// that does not ("dnlconv: cannot VERB 'FILE': why"), when one does not.
bool FindTargets(const std::vector<std::string>& files, const std::string& verb,
                 std::vector<Target>& targets, std::ostream& err);

}  // namespace dnl::cli
