#include "Execute.h"

#include <utility>

#include "Backup.h"
#include "ModuleProfiles.h"
#include "PathSyntax.h"
#include "RunMarker.h"

namespace dnl {
namespace {

std::string FileName(const std::string& path) {
    return std::string(FileNamePart(path));
}

bool BackupIsThere(const std::string& path) {
    return FindFile(BackupPath(path)) == 1;
}

// "TNWQ8 with MISC code 6145", in the memo's own way of printing a code.
std::string WhatChoiceWrites(const ConversionChoice& choice) {
    const ModuleProfile& profile = *ProfileFor(choice.moduleIndex);
    std::string module(profile.selectorText);
    if (!profile.rewritesMisc) {
        return module;
    }
    const auto code = static_cast<std::uint16_t>(WrittenMiscValue(choice));
    return module + " with MISC code " + std::to_string(code);
}

// Why the backup that is there already holds the original and is kept rather than replaced: an
// earlier conversion did not finish, or the file already holds what this one writes (a second
// press of Execute). Empty when it is replaced.
std::string WhyKeepBackup(const std::string& path, const ConversionChoice& choice,
                          bool unfinished) {
    if (!BackupIsThere(path)) {
        return {};
    }
    if (unfinished) {
        return "the last conversion of " + FileName(path) + " did not finish";
    }
    if (HoldsConversion(path, choice)) {
        return FileName(path) + " already holds " + WhatChoiceWrites(choice);
    }
    return {};
}

// Every decision of one Execute on a file whose lock is held. A file that cannot be opened has
// no marker: the backup or the run reports it.
ExecutePlan Decide(const std::string& path, const FileHandle& lock, const ConversionChoice& choice,
                   bool backupWanted, StatusLog& log, const GoAhead& goAhead,
                   bool replaceSharedBackup) {
    ExecutePlan plan;
    plan.openError = lock.IsOpen() ? 0 : Files().LastError();
    if (goAhead && !goAhead()) {
        plan.outcome = ExecuteOutcome::Declined;
        return plan;
    }
    const int unfinished = lock.IsOpen() ? FindRunMarker(path, log) : 0;
    if (unfinished < 0) {
        plan.outcome = ExecuteOutcome::MarkerFailed;
        plan.error = Files().LastError();
        return plan;
    }
    plan.unfinished = unfinished == 1;
    if (!backupWanted) {
        return plan;
    }
    plan.keptBecause = WhyKeepBackup(path, choice, plan.unfinished);
    plan.backup = plan.keptBecause.empty() ? BackupStep::Make : BackupStep::Keep;
    if (plan.backup == BackupStep::Make && !replaceSharedBackup) {
        plan.sharer = FileSharingBackup(path);
        if (!plan.sharer.empty()) {
            plan.outcome = ExecuteOutcome::SharesBackup;
        }
    }
    return plan;
}

// Carries out a plan's backup step: true when the conversion may go on; `originalKept` says
// whether the backup now holds the original.
bool BackUp(const std::string& path, const ExecutePlan& plan, StatusLog& log, BackupOutcome& backup,
            bool& originalKept) {
    if (plan.backup == BackupStep::Keep) {
        log.AddLine("Kept the backup '" + BackupName(path) + "': " + plan.keptBecause);
        originalKept = true;
    } else if (plan.backup == BackupStep::Make) {
        backup = MakeBackup(path, log);
        originalKept = backup.result == 0;
    }
    return backup.result == 0;
}

// A finished run takes its marker away; so does a run that wrote nothing, unless an earlier one
// left the file partly converted. Otherwise the file is partly converted: returns the line that
// says so, after logging it.
std::string EndRun(const std::string& path, const ExecutePlan& plan, const RunResult& run,
                   bool originalKept, StatusLog& log) {
    if (run.end == RunEnd::Finished || (!run.wrote && !plan.unfinished)) {
        RemoveRunMarker(path, log);
        return {};
    }
    originalKept = originalKept || (plan.unfinished && BackupIsThere(path));
    std::string line = FileName(path) + " is partly converted" +
                       (originalKept ? "; " + BackupName(path) + " holds the original" : "");
    log.AddLine(line);
    return line;
}

bool StopRequested(const StopRequest* stop) {
    return stop != nullptr && stop->Requested();
}

}  // namespace

bool LockAgainstOtherConversions(const std::string& path, FileHandle& lock) {
    lock = FileHandle(Files().OpenExisting(path, FileLayer::Access::ReadOnly));
    return !lock.IsOpen() || Files().Lock(lock.Get()) != 1;
}

ExecutePlan PlanExecute(const std::string& path, const ConversionChoice& choice, bool backupWanted,
                        StatusLog& log, const GoAhead& goAhead, bool replaceSharedBackup) {
    FileHandle lock;
    if (!LockAgainstOtherConversions(path, lock)) {
        return {.outcome = ExecuteOutcome::Busy};
    }
    return Decide(path, lock, choice, backupWanted, log, goAhead, replaceSharedBackup);
}

ExecuteResult Execute(const std::string& path, const ConversionChoice& choice, bool backupWanted,
                      StatusLog& log, BusyCursor& cursor, const GoAhead& goAhead,
                      const StopRequest* stop, bool replaceSharedBackup) {
    FileHandle lock;
    if (!LockAgainstOtherConversions(path, lock)) {
        log.AddLine("Another conversion of this file is running");
        return {.outcome = ExecuteOutcome::Busy};
    }
    ExecutePlan plan = Decide(path, lock, choice, backupWanted, log, goAhead, replaceSharedBackup);
    if (plan.outcome == ExecuteOutcome::SharesBackup) {
        log.AddLine(plan.sharer + " shares the backup " + BackupName(path) + "; not converted");
    }
    if (plan.outcome != ExecuteOutcome::Finished) {
        return {.outcome = plan.outcome, .error = plan.error, .sharer = std::move(plan.sharer)};
    }
    BackupOutcome backup;
    bool originalKept = false;
    if (!BackUp(path, plan, log, backup, originalKept)) {
        return {.outcome = ExecuteOutcome::BackupFailed, .error = backup.error};
    }
    if (StopRequested(stop)) {
        return {.outcome = ExecuteOutcome::Stopped, .backup = plan.backup};
    }
    if (lock.IsOpen() && !plan.unfinished) {
        if (const int error = PlaceRunMarker(path, lock.Get(), log); error != 0) {
            return {.outcome = ExecuteOutcome::MarkerFailed, .error = error, .backup = plan.backup};
        }
    }
    const RunResult run = ConversionRun(path, choice, log, cursor, stop);
    const bool finished = run.end == RunEnd::Finished;
    return {.outcome = finished ? ExecuteOutcome::Finished : ExecuteOutcome::Stopped,
            .run = run,
            .partlyConverted =
                lock.IsOpen() ? EndRun(path, plan, run, originalKept, log) : std::string(),
            .backup = plan.backup};
}

}  // namespace dnl
