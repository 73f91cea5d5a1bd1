#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"

namespace dnl::test {

// What the engine's tests expect of the system they run on. Each system's answers sit in a file
// of its own, in tests/engine/posix/ or tests/engine/windows/.

// For the tests of one system's behaviour, which the other system skips.
extern const bool kOnWindows;

// The error number of a file that cannot be made because a folder has its name: EISDIR on
// Linux; Windows only says that access is denied.
extern const int kFolderError;

// The line of a backup whose name `backupName` a folder has taken.
inline std::string FolderInTheWayLine(const std::string& backupName) {
    return "Fail to open " + backupName + ", error code was (" + std::to_string(kFolderError) + ")";
}

// Paths of things that are not disk files, made in `dir` where they must be made: a FIFO and a
// device on Linux, the null device under two names on Windows.
std::vector<std::string> NotDiskFiles(const TempDir& dir);

}  // namespace dnl::test
