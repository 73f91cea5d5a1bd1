#include "SystemCases.h"

namespace dnl::test {

const bool kOnWindows = true;
const int kFolderError = 5;

std::vector<std::string> NotDiskFiles(const TempDir&) {
    return {"NUL", "\\\\.\\NUL"};
}

}  // namespace dnl::test
