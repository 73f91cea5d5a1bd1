#pragma once

#include <string>
#include <string_view>

#include "StatusLog.h"

namespace dnl {

// The name of the backup of the DNL file at `path`: its file name without drive, folders and
// extension, cut to 255 bytes (never inside a UTF-8 character), followed by ".~NL". Both "/" and
// "\" separate folders. Having no folder, the name puts the backup in the working directory.
std::string BackupName(std::string_view path);

// Copies the DNL file at `path` byte for byte to `backupName`, replacing any file of that name.
// Returns 0 on success; -1 when the DNL file cannot be opened; -2 when the backup cannot be
// created (or would be the DNL file itself); -3 when writing the backup fails; -4 when reading
// the DNL file fails midway. Each failure logs one line. A failed copy leaves the partial backup.
int BackupCopy(const std::string& path, const std::string& backupName, StatusLog& log);

// Backs up the DNL file at `path` under BackupName(path) and, on success, logs the name it used.
// Returns BackupCopy's result; a conversion should go ahead only on 0.
int MakeBackup(const std::string& path, StatusLog& log);

}  // namespace dnl
