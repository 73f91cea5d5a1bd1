#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace dnl::cli {

// Reports what each DNL file holds, without changing a byte of it: its records, its NAME and the
// module it names, its MISC values with their formats, and every problem met; with `json`, one
// JSON object a file, a line each, that holds the counts and the first records of each kind.
// Returns kExitSuccess only when every file could be read and is well formed.
int InfoCommand(const std::vector<std::string>& files, bool json, std::ostream& out,
                std::ostream& err);

}  // namespace dnl::cli
