#include "Restore.h"

#include <utility>

#include "Backup.h"
#include "Execute.h"
#include "FileIo.h"
#include "PathSyntax.h"
#include "RunMarker.h"

namespace dnl {

RestoreResult RestoreBackup(const std::string& path, StatusLog& log) {
    FileHandle lock;
    if (!LockAgainstOtherConversions(path, lock)) {
        log.AddLine("Another conversion of this file is running");
        return {.outcome = RestoreOutcome::Busy};
    }
    const std::string backupName = BackupName(path);
    if (const int found = FindFile(BackupPath(path)); found != 1) {
        const int error = found < 0 ? Files().LastError() : 0;
        log.AddLine("No backup '" + backupName + "' to restore");
        return {.outcome = RestoreOutcome::NoBackup, .error = error};
    }
    if (std::string sharer = FileSharingBackup(path); !sharer.empty()) {
        log.AddLine(sharer + " shares the backup " + backupName + "; not restored");
        return {.outcome = RestoreOutcome::SharesBackup, .sharer = std::move(sharer)};
    }
    // Where the rename cannot replace an open file, the lock goes first; the rename then refuses
    // a file that another conversion has opened since, rather than replace it.
    if (!ReplacesOpenFiles()) {
        lock.Close();
    }
    const BackupOutcome copy =
        CopyOver(BackupPath(path), std::string(FileNamePart(path)), "restoring a dnl file", log);
    if (copy.result != 0) {
        return {.outcome = RestoreOutcome::Failed, .error = copy.error};
    }
    log.AddLine("Restored the original DNL file from '" + backupName + "'");
    if (FindRunMarker(path, log) == 1) {
        RemoveRunMarker(path, log);
    }
    return {};
}

}  // namespace dnl
