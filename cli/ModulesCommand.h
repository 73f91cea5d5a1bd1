#pragma once

#include <ostream>

namespace dnl::cli {

// Lists the five modules, the NAME each writes, and their formats with the codes they write.
int ModulesCommand(std::ostream& out);

}  // namespace dnl::cli
