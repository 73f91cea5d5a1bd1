#pragma once

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
};

struct ExecuteResult {
    ExecuteOutcome outcome = ExecuteOutcome::Finished;
    RunEnd runEnd = RunEnd::Finished;  // where the run ended, when there was one
    int error = 0;                     // the error number of the failed system call, or 0
};

// One press of Execute: with the DNL file at `path` locked against other conversions, backs it
// up when `backupWanted`, and converts it for `choice` only when the backup was made or not
// wanted. Every step is reported to `log`.
ExecuteResult Execute(const std::string& path, const ConversionChoice& choice, bool backupWanted,
                      StatusLog& log, BusyCursor& cursor);

}  // namespace dnl
