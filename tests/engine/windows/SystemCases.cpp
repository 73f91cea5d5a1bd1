#include "SystemCases.h"

namespace dnl::test {

const bool kOnWindows = true;
const int kFolderError = 5;

std::string FolderInTheWayLine(const std::string& backupName) {
    return "Fail to open " + backupName + ", error code was (" + std::to_string(kFolderError) + ")";
}

std::vector<std::string> NotDiskFiles(const TempDir&) {
    return {"NUL", "\\\\.\\NUL"};
}

}  // namespace dnl::test
