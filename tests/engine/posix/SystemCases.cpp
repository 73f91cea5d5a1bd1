#include "SystemCases.h"

#include <sys/stat.h>

#include <cerrno>

namespace dnl::test {

const bool kOnWindows = false;
const int kFolderError = EISDIR;

std::vector<std::string> NotDiskFiles(const TempDir& dir) {
    const std::string fifo = dir.File("fifo");
    mkfifo(fifo.c_str(), 0600);
    return {fifo, "/dev/zero"};
}

}  // namespace dnl::test
