#include "SystemCases.h"

namespace dnl::test {

const bool kOnWindows = true;
const int kFolderError = 5;

std::vector<std::string> NotDiskFiles([[maybe_unused]] const TempDir& dir) {
    return {"NUL", R"(\\.\NUL)"};
}

}  // namespace dnl::test
