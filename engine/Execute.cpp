#include "Execute.h"

#include <utility>

#include "Backup.h"
#include "FileIo.h"

namespace dnl {
namespace {

// Takes the file's lock for as long as the returned handle lives. A file that cannot be opened
// is not locked: the backup or the run then reports why. False when another conversion holds
// the lock.
bool LockAgainstOtherConversions(const std::string& path, FileHandle& lock) {
    lock = FileHandle(Files().OpenExisting(path, FileLayer::Access::ReadOnly));
    return !lock.IsOpen() || Files().Lock(lock.Get()) != 1;
}

}  // namespace

ExecuteResult Execute(const std::string& path, const ConversionChoice& choice, bool backupWanted,
                      StatusLog& log, BusyCursor& cursor, const GoAhead& goAhead,
                      bool replaceSharedBackup) {
    FileHandle lock;
    if (!LockAgainstOtherConversions(path, lock)) {
        log.AddLine("Another conversion of this file is running");
        return {ExecuteOutcome::Busy};
    }
    if (goAhead && !goAhead()) {
        return {ExecuteOutcome::Declined};
    }
    if (backupWanted && !replaceSharedBackup) {
        std::string sharer = FileSharingBackup(path);
        if (!sharer.empty()) {
            log.AddLine(sharer + " shares the backup " + BackupName(path) + "; not converted");
            return {ExecuteOutcome::SharesBackup, RunEnd::Finished, 0, std::move(sharer)};
        }
    }
    if (backupWanted) {
        const BackupOutcome backup = TryBackup(path, log);
        if (backup.result != 0) {
            return {ExecuteOutcome::BackupFailed, RunEnd::Finished, backup.error};
        }
    }
    const RunResult run = RunConversion(path, choice, log, cursor);
    const bool finished = run.end == RunEnd::Finished;
    return {finished ? ExecuteOutcome::Finished : ExecuteOutcome::Stopped, run.end, run.error};
}

}  // namespace dnl
