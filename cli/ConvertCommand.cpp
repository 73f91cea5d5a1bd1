#include "ConvertCommand.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>

#include "Backup.h"
#include "Examination.h"
#include "Execute.h"
#include "ExitCodes.h"
#include "FileCheck.h"
#include "FileIo.h"
#include "FileReport.h"
#include "ModuleProfiles.h"
#include "PathSyntax.h"
#include "ProblemText.h"
#include "StatusLog.h"
#include "TextFormat.h"
#include "Utf8Path.h"

namespace dnl::cli {
namespace {

namespace fs = std::filesystem;

// A terminal shows no busy cursor.
class NoCursor final : public BusyCursor {
public:
    void ShowBusy() override {}
    void ShowNormal() override {}
};

// A file that a conversion writes, told apart as the system tells files apart: by the identity of
// a file that exists, and by the identity of its folder and its name, compared by the system's
// rule, for a backup that may not exist yet.
struct Written {
    std::string shown;  // its path, as an error names it
    std::optional<FileId> file;
    std::optional<FileId> folder;
    std::string name;
};

std::optional<FileId> IdentityOf(const fs::path& path) {
    FileId id;
    return Files().Identify(Utf8FromPath(path), id) == 0 ? std::optional(id) : std::nullopt;
}

bool SameFileWritten(const Written& first, const Written& second) {
    if (first.file && first.file == second.file) {
        return true;
    }
    return first.folder && first.folder == second.folder &&
           Files().SameName(first.name, second.name);
}

// The files a target's conversion writes: the file itself and, with a backup, X.~NL beside it.
std::vector<Written> FilesWritten(const Target& target, bool backup) {
    std::error_code error;
    std::vector<Written> written{
        {Utf8FromPath(fs::weakly_canonical(target.path, error)), IdentityOf(target.path), {}, {}}};
    if (backup) {
        const fs::path folder = target.path.parent_path();
        const std::string name = BackupName(Utf8FromPath(target.path));
        Written slot{Utf8FromPath(fs::weakly_canonical(folder, error) / PathFromUtf8(name)),
                     IdentityOf(folder / PathFromUtf8(name)), IdentityOf(folder), name};
        if (!SameFileWritten(written.front(), slot)) {
            written.push_back(std::move(slot));
        }
    }
    return written;
}

// Two files of one batch must not write the same file: the same file given twice, a.dnl and
// a.DNL sharing the backup a.~NL, or a file that is another one's backup. The later write would
// destroy a backup, or back up a file that was already converted.
bool WritesApart(const std::vector<Target>& targets, bool backup, std::ostream& err) {
    std::vector<std::pair<Written, const Target*>> writers;
    for (const Target& target : targets) {
        for (Written& written : FilesWritten(target, backup)) {
            const auto known = std::find_if(
                writers.begin(), writers.end(),
                [&](const auto& writer) { return SameFileWritten(writer.first, written); });
            if (known != writers.end()) {
                err << "dnlconv: '" << known->second->argument << "' and '" << target.argument
                    << "' would both write '" << known->first.shown << "'\n";
                return false;
            }
            writers.emplace_back(std::move(written), &target);
        }
    }
    return true;
}

// What stands in a run's way, in words; empty when nothing does.
std::string ObstacleText(const ConversionObstacle& obstacle, std::uint8_t moduleIndex) {
    const ModuleProfile& profile = *ProfileFor(moduleIndex);
    switch (obstacle.kind) {
        case ObstacleKind::Problem:
            return DescribeProblem(obstacle.problem);
        case ObstacleKind::NoNameRecord:
            return "no NAME record";
        case ObstacleKind::NameDoesNotFit:
            return "the NAME record at offset " + std::to_string(obstacle.name.offset) + " has a " +
                   std::to_string(obstacle.name.length) + "-byte payload; " +
                   std::string(profile.selectorText) + " needs " +
                   std::to_string(NamePayloadLength(profile));
        case ObstacleKind::None:
            break;
    }
    return {};
}

// Why a run on the file would stop midway or leave a file that is not one for the module. Empty
// when nothing stands in its way; a file that cannot be opened is left to the conversion, which
// reports that itself.
std::string WhyNotToConvert(const DnlExamination& examination, std::uint8_t moduleIndex) {
    return ObstacleText(ObstacleToConversion(examination, moduleIndex), moduleIndex);
}

// Why a run that is made to go on (--force) would not finish; empty when it would.
std::string WhyTheRunWouldStop(const DnlExamination& examination, std::uint8_t moduleIndex) {
    return ObstacleText(RunStopsAt(examination, moduleIndex), moduleIndex);
}

// Why a run stopped, in words: the system's text for the error of the call that failed or, when
// no call failed, what in the file the run could not get past. No run at all was interrupted
// before it began.
std::string WhyTheRunStopped(const std::optional<RunResult>& ran, std::uint8_t moduleIndex) {
    const RunResult run = ran.value_or(RunResult{.end = RunEnd::Interrupted});
    if (run.error != 0) {
        return FileErrorText(run.error);
    }
    switch (run.end) {
        case RunEnd::HeaderCutShort:
            return "a record header is cut short by the end of the file";
        case RunEnd::NameDoesNotFit:
            return "the first NAME record does not fit the name of " +
                   std::string(ProfileFor(moduleIndex)->selectorText);
        case RunEnd::NoEndRecord:
            return "the file ends without an end record";
        case RunEnd::NegativeLength:
            return "a record has a negative length";
        case RunEnd::Interrupted:
            return "interrupted";
        default:
            return "a record could not be written or passed over";
    }
}

// What became of a file whose Execute did not finish, and why.
std::string Failure(const ExecuteResult& result, std::uint8_t moduleIndex) {
    switch (result.outcome) {
        case ExecuteOutcome::Busy:
            return "not converted: another conversion of this file is running";
        case ExecuteOutcome::SharesBackup:
            return "not converted: " + result.sharer + " shares the backup " +
                   BackupName(result.sharer) + "; --force converts it anyway";
        case ExecuteOutcome::MarkerFailed:
            return "not converted, its conversion could not be marked as begun: " +
                   FileErrorText(result.error);
        case ExecuteOutcome::BackupFailed:
            // Only a backup onto the file itself fails without a failed system call.
            return std::string("not converted, its backup failed: ") +
                   (result.error != 0 ? FileErrorText(result.error)
                                      : "the backup would be the file itself");
        default:
            return "conversion stopped before the end: " +
                   WhyTheRunStopped(result.run, moduleIndex) +
                   (result.partlyConverted.empty() ? "" : "; " + result.partlyConverted);
    }
}

// The outcome as a JSON object names it: what a script tests first.
constexpr char kFinished[] = "finished";
constexpr char kStopped[] = "stopped";
constexpr char kNotConverted[] = "not converted";

// What a backup step comes to, for a JSON object.
Json BackupFacts(BackupStep step, const std::string& path) {
    const char* what = step == BackupStep::Make   ? "made"
                       : step == BackupStep::Keep ? "kept"
                                                  : "none";
    return {{"backup", what},
            {"backup_file", step == BackupStep::None ? Json() : Json(BackupName(path))}};
}

// Ends a file's report with its outcome; a file that did not finish is also explained.
bool Conclude(const Target& target, const char* outcome, const std::string& reason,
              const Json& facts, FileReport& report) {
    Json ending = {{"outcome", outcome}, {"error", reason.empty() ? Json() : Json(reason)}};
    ending.update(facts);
    report.End(ending);
    if (!reason.empty()) {
        report.Explain(target.argument, reason);
    }
    return std::string_view(outcome) == kFinished;
}

// Asks, with the file locked, whether to go on: not when the file's examination says that the
// run would not end well, unless forced. `why` is then set to the reason.
GoAhead ExaminedFirst(const std::string& path, const ConversionChoice& choice, bool force,
                      std::string& why) {
    return [&path, &choice, force, &why] {
        why = force ? std::string() : WhyNotToConvert(ExamineDnl(path), choice.moduleIndex);
        return why.empty();
    };
}

// What Execute does for one file, unless the file's examination, made with the file locked,
// says that the run would not end well; true when the run finished.
bool Convert(const Target& target, const ConversionChoice& choice, const ConvertOptions& options,
             const StopRequest* stop, FileReport& report) {
    report.Begin(target.argument);
    const std::string path = Utf8FromPath(target.path);
    std::string why;
    NoCursor cursor;
    const ExecuteResult result =
        Execute(path, choice, options.backup, report, cursor,
                ExaminedFirst(path, choice, options.force, why), stop, options.force);
    const Json backup = BackupFacts(result.backup, path);
    switch (result.outcome) {
        case ExecuteOutcome::Finished:
            return Conclude(target, kFinished, {}, backup, report);
        case ExecuteOutcome::Declined:
            report.AddLine("Not converted: " + why);
            return Conclude(target, kNotConverted,
                            "not converted: " + why + "; --force converts it anyway", backup,
                            report);
        case ExecuteOutcome::Stopped:
            return Conclude(target, kStopped, Failure(result, choice.moduleIndex), backup, report);
        default:
            return Conclude(target, kNotConverted, Failure(result, choice.moduleIndex), backup,
                            report);
    }
}

// "NAME "TNW8", MISC 0x1801 in 3 records": what a run for `choice` writes into a file with
// `miscRecords` MISC records, and the same as JSON facts.
std::string WhatWouldBeWritten(const ConversionChoice& choice, int miscRecords, Json& facts) {
    const ModuleProfile& profile = *ProfileFor(choice.moduleIndex);
    const auto code = static_cast<std::uint16_t>(WrittenMiscValue(choice));
    facts = {{"name", profile.nameText},
             {"misc", profile.rewritesMisc ? Json(code) : Json()},
             {"misc_records", miscRecords}};
    const std::string name = "NAME " + Quoted(profile.nameText);
    if (!profile.rewritesMisc) {
        return name + "; the MISC records stay as they are";
    }
    return name + ", MISC " + Hex16(code) + " in " + std::to_string(miscRecords) +
           (miscRecords == 1 ? " record" : " records");
}

std::string BackupWouldBe(const ExecutePlan& plan, const std::string& path) {
    switch (plan.backup) {
        case BackupStep::Make:
            return "Backup '" + BackupName(path) + "' would be made";
        case BackupStep::Keep:
            return "Backup '" + BackupName(path) + "' would be kept: " + plan.keptBecause;
        default:
            return "No backup would be made";
    }
}

// Why Execute would leave the file untouched; empty when it would go ahead.
std::string WhyWouldNotConvert(const ExecutePlan& plan, const std::string& why) {
    switch (plan.outcome) {
        case ExecuteOutcome::Busy:
            return "another conversion of this file is running";
        case ExecuteOutcome::Declined:
            return why;
        case ExecuteOutcome::SharesBackup:
            return plan.sharer + " shares the backup " + BackupName(plan.sharer);
        case ExecuteOutcome::MarkerFailed:
            return "whether its last conversion finished cannot be told: " +
                   FileErrorText(plan.error);
        default:
            return plan.openError != 0 ? "it cannot be opened: " + FileErrorText(plan.openError)
                                       : std::string();
    }
}

// Says what Execute would do for one file, from the same decisions, and changes nothing; true
// when the run would finish.
bool DryRun(const Target& target, const ConversionChoice& choice, const ConvertOptions& options,
            FileReport& report) {
    report.Begin(target.argument);
    const std::string path = Utf8FromPath(target.path);
    DnlExamination examination;
    std::string why;
    const GoAhead examined = [&] {
        examination = ExamineDnl(path);
        why = options.force ? std::string() : WhyNotToConvert(examination, choice.moduleIndex);
        return why.empty();
    };
    const ExecutePlan plan =
        PlanExecute(path, choice, options.backup, report, examined, options.force);
    if (const std::string refusal = WhyWouldNotConvert(plan, why); !refusal.empty()) {
        report.AddLine("Would not convert: " + refusal);
        const bool forceHelps = plan.outcome == ExecuteOutcome::Declined ||
                                plan.outcome == ExecuteOutcome::SharesBackup;
        return Conclude(target, kNotConverted,
                        "would not be converted: " + refusal +
                            (forceHelps ? "; --force converts it anyway" : ""),
                        BackupFacts(BackupStep::None, path), report);
    }
    Json facts;
    report.AddLine("Would convert: " + WhatWouldBeWritten(choice, examination.miscs.count, facts));
    report.AddLine(BackupWouldBe(plan, path));
    facts.update(BackupFacts(plan.backup, path));
    const std::string stop = WhyTheRunWouldStop(examination, choice.moduleIndex);
    if (stop.empty()) {
        return Conclude(target, kFinished, {}, facts, report);
    }
    report.AddLine("The run would stop before the end: " + stop);
    return Conclude(target, kStopped, "would stop before the end: " + stop, facts, report);
}

}  // namespace

int ConvertCommand(const std::vector<std::string>& files, const ConversionChoice& choice,
                   const ConvertOptions& options, bool json, std::ostream& out, std::ostream& err,
                   const StopRequest* stop) {
    std::vector<Target> targets;
    if (!FindTargets(files, "convert", targets, err) ||
        !WritesApart(targets, options.backup, err)) {
        return kExitBadArguments;
    }
    TextReport text({out, err});
    JsonReport jsonLines({out, err}, options.dryRun);
    FileReport& report = json ? static_cast<FileReport&>(jsonLines) : text;
    bool allFinished = true;
    for (const Target& target : targets) {
        const bool finished = options.dryRun ? DryRun(target, choice, options, report)
                                             : Convert(target, choice, options, stop, report);
        allFinished = finished && allFinished;
        if (stop != nullptr && stop->Requested()) {
            return kExitFailure;
        }
    }
    return allFinished ? kExitSuccess : kExitFailure;
}

}  // namespace dnl::cli
