#pragma once

#include <functional>
#include <string>

#include "ConversionRun.h"
#include "StatusLog.h"

namespace dnl {

// How one Execute ended.
enum class ExecuteOutcome {
    Finished,      // the run reached its end
    Stopped,       // the run ended early; ExecuteResult::runEnd says where
    BackupFailed,  // the backup was not made, so the file was left alone
    Busy,          // another conversion of the file holds its lock; nothing was done
    Declined,      // the caller's look at the locked file said not to go on; nothing was done
    SharesBackup,  // another DNL file's backup would be replaced; ExecuteResult::sharer names it
};

struct ExecuteResult {
    ExecuteOutcome outcome = ExecuteOutcome::Finished;
    RunEnd runEnd = RunEnd::Finished;  // where the run ended, when there was one
    int error = 0;                     // the error number of the failed system call, or 0
    std::string sharer{};              // the file whose backup this one's would replace
};

// Asked with the file locked and before anything is written whether to go on, so that what it
// looked at cannot change before the conversion; false leaves the file alone.
using GoAhead = std::function<bool()>;

// One press of Execute: with the DNL file at `path` locked against other conversions, backs it
// up when `backupWanted`, and converts it for `choice` only when the backup was made or not
// wanted. A backup that would replace the existing backup of another DNL file of the same backup
// name is refused, unless `replaceSharedBackup`. Every step is reported to `log`.
ExecuteResult Execute(const std::string& path, const ConversionChoice& choice, bool backupWanted,
                      StatusLog& log, BusyCursor& cursor, const GoAhead& goAhead = {},
                      bool replaceSharedBackup = false);

}  // namespace dnl
