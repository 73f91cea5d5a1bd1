#pragma once

#include <string>

#include "Examination.h"

namespace dnl::cli {

// A problem an examination met, in words, with where it was met.
std::string DescribeProblem(const DnlProblem& problem);

}  // namespace dnl::cli
