#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ConversionRun.h"
#include "FileIo.h"
#include "StatusLog.h"
#include "StopRequest.h"

namespace dnl {

// How one Execute ended.
enum class ExecuteOutcome {
    Finished,      // the run reached its end
    Stopped,       // the run ended early (ExecuteResult::run says where and why), or a stop was
                   // requested before it began
    BackupFailed,  // the backup was not made, so the file was left alone
    Busy,          // another conversion of the file holds its lock; nothing was done
    Declined,      // the caller's look at the locked file said not to go on; nothing was done
    SharesBackup,  // another DNL file's backup would be replaced; ExecuteResult::sharer names it
    MarkerFailed,  // the marker of an unfinished conversion could not be read or made; the
                   // file was left alone
};

// What Execute does about the backup.
enum class BackupStep {
    None,  // no backup is wanted
    Make,  // the file is backed up, replacing any earlier backup
    Keep,  // the backup there already holds the original and stays; ExecutePlan::keptBecause
           // says why
};

struct ExecuteResult {
    ExecuteOutcome outcome = ExecuteOutcome::Finished;
    std::optional<RunResult> run{};  // how the run ended; none when no run began
    int error = 0;         // the error number of the failed system call before the run, or 0
    std::string sharer{};  // the file whose backup this one's would replace
    std::string partlyConverted{};         // the line saying the file is partly converted, or empty
    BackupStep backup = BackupStep::None;  // the backup made or kept before the run, if any
};

// Asked with the file locked and before anything is written whether to go on, so that what it
// looked at cannot change before the conversion; false leaves the file alone.
using GoAhead = std::function<bool()>;

// What Execute decides about a file with its lock held, before it writes anything.
struct ExecutePlan {
    // Finished when the conversion goes ahead; otherwise Busy, Declined, SharesBackup or
    // MarkerFailed, and nothing is done.
    ExecuteOutcome outcome = ExecuteOutcome::Finished;
    int error = 0;         // the error number of the marker that could not be looked for
    std::string sharer{};  // the file whose backup this one's would replace
    BackupStep backup = BackupStep::None;
    std::string keptBecause{};  // "the last conversion of X.dnl did not finish", or empty
    bool unfinished = false;    // an earlier conversion of the file began and did not finish
    int openError = 0;  // why the file could not be opened (the backup or the run reports it), or 0
};

// Takes the file's lock for as long as `lock` lives. A file that cannot be opened is not locked:
// whatever comes next reports why. False when another conversion holds the lock.
bool LockAgainstOtherConversions(const std::string& path, FileHandle& lock);

// What Execute would decide for the same arguments, told without doing it: the lock is taken only
// for the moment of deciding, and no backup, marker or byte is written. A marker that cannot be
// looked for is said in `log`.
ExecutePlan PlanExecute(const std::string& path, const ConversionChoice& choice, bool backupWanted,
                        StatusLog& log, const GoAhead& goAhead = {},
                        bool replaceSharedBackup = false);

// One press of Execute: with the DNL file at `path` locked against other conversions, backs it
// up when `backupWanted`, and converts it for `choice` only when the backup was made or not
// wanted. A backup that would replace the existing backup of another DNL file of the same backup
// name is refused, unless `replaceSharedBackup`. Every step is reported to `log`.
//
// A conversion that does not finish leaves its marker beside the file (see RunMarker.h), and the
// next Execute keeps the backup instead of replacing it with a partly converted file. A run that
// stops early ends with a line saying that the file is partly converted and where its original
// is. `stop`, when given, ends the run between two records.
ExecuteResult Execute(const std::string& path, const ConversionChoice& choice, bool backupWanted,
                      StatusLog& log, BusyCursor& cursor, const GoAhead& goAhead = {},
                      const StopRequest* stop = nullptr, bool replaceSharedBackup = false);

}  // namespace dnl
