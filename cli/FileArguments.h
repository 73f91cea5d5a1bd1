#pragma once

#include <string>
#include <vector>

namespace dnl::cli {

// The files that the FILE arguments name, in their order. Where the shell leaves wildcards to
// the program, as on Windows, an argument with `*` or `?` in its last part stands for the names
// in its folder that match, sorted as the system sorts names, each behind the folder part as
// typed; one that matches nothing stays as it is, to be reported as a missing file. Each
// system's rule lives in its own file.
std::vector<std::string> FilesNamedBy(const std::vector<std::string>& arguments);

}  // namespace dnl::cli
