#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace dnl::cli {

// Puts each file's backup back in its place (see RestoreBackup), printing its lines under a line
// naming the file; each file not restored also gets a line on `err` saying why. Files that are
// missing or not regular are argument errors reported on `err` before any file is touched.
// Returns an exit code.
int RestoreCommand(const std::vector<std::string>& files, std::ostream& out, std::ostream& err);

}  // namespace dnl::cli
