#include "RestoreCommand.h"

#include "Backup.h"
#include "ExitCodes.h"
#include "FileCheck.h"
#include "FileIo.h"
#include "FileReport.h"
#include "Restore.h"
#include "Utf8Path.h"

namespace dnl::cli {
namespace {

// Why a file was not restored, in words.
std::string Failure(const RestoreResult& result, const std::string& path) {
    switch (result.outcome) {
        case RestoreOutcome::Busy:
            return "another conversion of this file is running";
        case RestoreOutcome::NoBackup:
            return "there is no backup " + BackupName(path) +
                   (result.error != 0 ? ": " + FileErrorText(result.error) : std::string());
        case RestoreOutcome::SharesBackup:
            return result.sharer + " shares the backup " + BackupName(path) +
                   ", which may be its original";
        default:
            return result.error != 0 ? FileErrorText(result.error)
                                     : "the backup would be the file itself";
    }
}

bool Restore(const Target& target, TextReport& report) {
    report.Begin(target.argument);
    const std::string path = Utf8FromPath(target.path);
    const RestoreResult result = RestoreBackup(path, report);
    if (result.outcome == RestoreOutcome::Restored) {
        return true;
    }
    report.Explain(target.argument, "not restored: " + Failure(result, path));
    return false;
}

}  // namespace

int RestoreCommand(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    std::vector<Target> targets;
    if (!FindTargets(files, "restore", targets, err)) {
        return kExitBadArguments;
    }
    TextReport report({out, err});
    bool allRestored = true;
    for (const Target& target : targets) {
        allRestored = Restore(target, report) && allRestored;
    }
    return allRestored ? kExitSuccess : kExitFailure;
}

}  // namespace dnl::cli
