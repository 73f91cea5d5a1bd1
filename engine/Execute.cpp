#include "Execute.h"

#include <utility>

#include "Backup.h"
#include "FileIo.h"
#include "ModuleProfiles.h"
#include "PathSyntax.h"
#include "RunMarker.h"

namespace dnl {
namespace {

// Takes the file's lock for as long as the returned handle lives. A file that cannot be opened
// is not locked: the backup or the run then reports why. False when another conversion holds
// the lock.
bool LockAgainstOtherConversions(const std::string& path, FileHandle& lock) {
    lock = FileHandle(Files().OpenExisting(path, FileLayer::Access::ReadOnly));
    return !lock.IsOpen() || Files().Lock(lock.Get()) != 1;
}

// One Execute on a locked file, step by step.
class Conversion {
public:
    Conversion(const std::string& path, const FileHandle& lock, StatusLog& log)
        : m_path(path), m_lock(lock), m_log(log) {}

    // Whether an earlier conversion of the file began and did not finish. A file that cannot be
    // opened has no marker: the backup or the run reports it.
    bool LookForUnfinished() {
        m_unfinished = m_lock.IsOpen() ? FindRunMarker(m_path, m_log) : 0;
        return m_unfinished >= 0;
    }

    // Backs the file up, unless the backup already there holds the original: an earlier
    // conversion did not finish, or the file already holds what this one writes (a second press
    // of Execute).
    BackupOutcome BackUp(const ConversionChoice& choice) {
        if (BackupIsThere()) {
            if (m_unfinished == 1) {
                return KeepBackup("the last conversion of " + FileName() + " did not finish");
            }
            if (HoldsConversion(m_path, choice)) {
                return KeepBackup(FileName() + " already holds " + WhatChoiceWrites(choice));
            }
        }
        const BackupOutcome backup = TryBackup(m_path, m_log);
        m_originalKept = backup.result == 0;
        return backup;
    }

    // Whether BackUp keeps the backup that is there instead of replacing it.
    bool KeepsBackup(const ConversionChoice& choice) const {
        return BackupIsThere() && (m_unfinished == 1 || HoldsConversion(m_path, choice));
    }

    // The marker goes in place before the run's first write: 0, or the error number of the call
    // that failed.
    int Mark() {
        return !m_lock.IsOpen() || m_unfinished == 1 ? 0
                                                     : PlaceRunMarker(m_path, m_lock.Get(), m_log);
    }

    // A finished run takes its marker away; so does a run that wrote nothing, unless an earlier
    // one left the file partly converted. Otherwise the file is partly converted: returns the
    // line that says so, after logging it.
    std::string End(const RunResult& run) {
        if (!m_lock.IsOpen()) {
            return {};
        }
        if (run.end == RunEnd::Finished || (!run.wrote && m_unfinished == 0)) {
            RemoveRunMarker(m_path, m_log);
            return {};
        }
        const bool originalKept = m_originalKept || (m_unfinished == 1 && BackupIsThere());
        std::string line = FileName() + " is partly converted" +
                           (originalKept ? "; " + BackupName(m_path) + " holds the original" : "");
        m_log.AddLine(line);
        return line;
    }

private:
    bool BackupIsThere() const { return FindFile(BackupPath(m_path)) == 1; }
    std::string FileName() const { return std::string(FileNamePart(m_path)); }

    BackupOutcome KeepBackup(const std::string& why) {
        m_log.AddLine("Kept the backup '" + BackupName(m_path) + "': " + why);
        m_originalKept = true;
        return {};
    }

    // "TNWQ8 with MISC code 6145", in the memo's own way of printing a code.
    static std::string WhatChoiceWrites(const ConversionChoice& choice) {
        const ModuleProfile& profile = *ProfileFor(choice.moduleIndex);
        const std::string module(profile.selectorText);
        if (!profile.rewritesMisc) {
            return module;
        }
        const auto code = static_cast<std::uint16_t>(WrittenMiscValue(choice));
        return module + " with MISC code " + std::to_string(code);
    }

    const std::string& m_path;
    const FileHandle& m_lock;
    StatusLog& m_log;
    int m_unfinished = 0;
    bool m_originalKept = false;
};

bool StopRequested(const StopRequest* stop) {
    return stop != nullptr && stop->Requested();
}

}  // namespace

ExecuteResult Execute(const std::string& path, const ConversionChoice& choice, bool backupWanted,
                      StatusLog& log, BusyCursor& cursor, const GoAhead& goAhead,
                      const StopRequest* stop, bool replaceSharedBackup) {
    FileHandle lock;
    if (!LockAgainstOtherConversions(path, lock)) {
        log.AddLine("Another conversion of this file is running");
        return {.outcome = ExecuteOutcome::Busy};
    }
    if (goAhead && !goAhead()) {
        return {.outcome = ExecuteOutcome::Declined};
    }
    Conversion conversion(path, lock, log);
    if (!conversion.LookForUnfinished()) {
        return {.outcome = ExecuteOutcome::MarkerFailed, .error = Files().LastError()};
    }
    if (backupWanted && !replaceSharedBackup) {
        std::string sharer = FileSharingBackup(path);
        if (!sharer.empty() && !conversion.KeepsBackup(choice)) {
            log.AddLine(sharer + " shares the backup " + BackupName(path) + "; not converted");
            return {.outcome = ExecuteOutcome::SharesBackup, .sharer = std::move(sharer)};
        }
    }
    if (backupWanted) {
        const BackupOutcome backup = conversion.BackUp(choice);
        if (backup.result != 0) {
            return {.outcome = ExecuteOutcome::BackupFailed, .error = backup.error};
        }
    }
    if (StopRequested(stop)) {
        return {.outcome = ExecuteOutcome::Stopped, .runEnd = RunEnd::Interrupted};
    }
    if (const int error = conversion.Mark(); error != 0) {
        return {.outcome = ExecuteOutcome::MarkerFailed, .error = error};
    }
    const RunResult run = RunConversion(path, choice, log, cursor, stop);
    const bool finished = run.end == RunEnd::Finished;
    return {.outcome = finished ? ExecuteOutcome::Finished : ExecuteOutcome::Stopped,
            .runEnd = run.end,
            .error = run.error,
            .partlyConverted = conversion.End(run)};
}

}  // namespace dnl
