#pragma once

#include <string>

#include "StatusLog.h"

namespace dnl {

// How putting a backup back ended.
enum class RestoreOutcome {
    Restored,      // the DNL file is its backup again
    Busy,          // another conversion of the file holds its lock; nothing was done
    NoBackup,      // the file has no backup; nothing was done
    SharesBackup,  // another DNL file has the same backup name, so the backup may be its original;
                   // RestoreResult::sharer names it and nothing was done
    Failed,        // copying the backup failed; the DNL file was left as it was
};

struct RestoreResult {
    RestoreOutcome outcome = RestoreOutcome::Restored;
    int error = 0;         // the error number of the system call that failed, or 0
    std::string sharer{};  // the other file with the same backup name
};

// Puts the backup NAME.~NL of the DNL file at `path` back in the file's place, with the file locked
// against conversions (on Windows, up to the copy: its rename fails while the file is open): the
// backup is copied beside the file, made durable and renamed over it, so the file is either as it
// was or the whole backup. The backup stays. The file then holds its original again, so the marker
// of an unfinished conversion goes too. Every step is reported to `log`.
RestoreResult RestoreBackup(const std::string& path, StatusLog& log);

}  // namespace dnl
