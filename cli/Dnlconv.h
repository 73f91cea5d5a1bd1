#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace dnl::cli {

// Runs dnlconv with the arguments that follow the program's name and returns its exit code.
int RunDnlconv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// RunDnlconv for the program's main(): also fails a run whose report could not be written out.
int DnlconvMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace dnl::cli
