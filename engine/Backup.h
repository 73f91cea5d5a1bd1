#pragma once

#include <string>
#include <string_view>

#include "StatusLog.h"

namespace dnl {

// The name of the backup of the DNL file at `path`: its file name without folders and extension,
// cut to 255 bytes (never inside a UTF-8 character), followed by ".~NL".
std::string BackupName(std::string_view path);

// Where the backup of the DNL file at `path` is written: beside the file, in its own folder.
std::string BackupPath(std::string_view path);

// The other DNL file (extension DNL in any case) in the folder of the one at `path` whose backup
// has the same name, when that backup exists: backing up one would replace the other's original.
// On Linux X.dnl and X.DNL share X.~NL. Empty when there is none or the folder cannot be listed.
std::string FileSharingBackup(const std::string& path);

// A backup's result, with the error number of the system call that failed (0 when none did).
struct BackupOutcome {
    int result = 0;
    int error = 0;
};

// Copies the DNL file at `path` byte for byte to `backupName` in the DNL file's folder. The copy
// is written to a temporary file named after the backup, held locked, made durable, and only
// then renamed over any earlier backup, so a failed backup leaves the earlier one as it was, and
// a link of that name is replaced, not written through. Temporaries of the same backup that an
// interrupted backup left, and that nobody holds locked, are removed first. The backup keeps the
// DNL file's permissions (never read-only) and modification time. Returns 0 on success; -1 when
// the DNL file cannot be opened; -2 when the backup cannot be created or put in place (or would
// be the DNL file itself); -3 when writing the backup fails; -4 when reading the DNL file fails
// midway. Each failure logs one line.
BackupOutcome BackupCopy(const std::string& path, const std::string& backupName, StatusLog& log);

// Backs up the DNL file at `path` as BackupName(path) beside it and, on success, logs the name it
// used. A conversion should go ahead only on a result of 0.
BackupOutcome MakeBackup(const std::string& path, StatusLog& log);

// Copies the file at `source` over the file `name` in the same folder the way BackupCopy makes a
// backup: written beside, made durable, then renamed into place, so `name` is either the old file
// or a complete copy. The lines of a failed read or write end with `doing`, such as "restoring a
// dnl file"; the other failures are logged as a backup's are.
BackupOutcome CopyOver(const std::string& source, const std::string& name, std::string_view doing,
                       StatusLog& log);

}  // namespace dnl
