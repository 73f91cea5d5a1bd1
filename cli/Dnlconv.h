#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "StopRequest.h"

namespace dnl::cli {

// Runs dnlconv with the arguments that follow the program's name and returns its exit code.
// `stop`, when given and requested, ends a conversion between two records and the batch with it.
int RunDnlconv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const StopRequest* stop = nullptr);

// RunDnlconv for the program's main(): also fails a run whose report could not be written out.
int DnlconvMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const StopRequest* stop);

}  // namespace dnl::cli
