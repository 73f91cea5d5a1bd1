#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Arguments.h"

namespace dnl::cli {

// Converts each file exactly as the window's Execute does after File > Open: in the file's own
// folder, the backup first (unless the choice says not), then the run only when the backup was
// made. Each file's lines go to `out` under a line naming the file. Files that are missing or not
// regular, or two files that would write the same file, are argument errors reported on `err`
// before any file is touched. Returns an exit code.
int ConvertCommand(const std::vector<std::string>& files, const ConvertChoice& choice,
                   std::ostream& out, std::ostream& err);

}  // namespace dnl::cli
