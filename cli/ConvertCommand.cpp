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
#include "ModuleProfiles.h"
#include "PathSyntax.h"
#include "ProblemText.h"
#include "StatusLog.h"
#include "Utf8Path.h"

namespace dnl::cli {
namespace {

namespace fs = std::filesystem;

// A FILE argument, as given and as an absolute path, like the one the window's file dialog
// yields.
struct Target {
    std::string argument;
    fs::path path;
};

// Prints each line of a backup and a run the moment it is logged.
class PrintingLog final : public StatusLog {
public:
    explicit PrintingLog(std::ostream& out) : m_out(out) {}

    void AddLine(const std::string& text) override { m_out << text << '\n' << std::flush; }

private:
    std::ostream& m_out;
};

// A terminal shows no busy cursor.
class NoCursor final : public BusyCursor {
public:
    void ShowBusy() override {}
    void ShowNormal() override {}
};

bool FindTargets(const std::vector<std::string>& files, std::vector<Target>& targets,
                 std::ostream& err) {
    bool found = true;
    for (const std::string& file : files) {
        std::error_code error;
        const fs::path path = fs::absolute(PathFromUtf8(WithoutDevicePrefix(file)), error);
        const std::string why = error ? error.message() : WhyNotARegularFile(path);
        if (why.empty()) {
            targets.push_back({file, path});
        } else {
            err << "dnlconv: cannot convert '" << file << "': " << why << '\n';
            found = false;
        }
    }
    return found;
}

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

// Why a run on the file would stop midway or leave a file that is not one for the module: the
// first thing it would meet of a problem in the file's structure, a first NAME record that the
// module's name does not fit, or no NAME record at all. Empty when none; a file that cannot be
// opened is left to the conversion, which reports that itself.
std::string WhyNotToConvert(const std::string& path, std::uint8_t moduleIndex) {
    const DnlExamination examination = ExamineDnl(path);
    if (!examination.opened) {
        return {};
    }
    const std::vector<DnlProblem>& problems = examination.problems.kept;
    const DnlProblem* problem = problems.empty() ? nullptr : &problems.front();
    if (examination.names.kept.empty()) {
        return problem != nullptr ? DescribeProblem(*problem) : "no NAME record";
    }
    const NameRecordInfo& name = examination.names.kept.front();
    const ModuleProfile& profile = *ProfileFor(moduleIndex);
    const std::int32_t needed = NamePayloadLength(profile);
    if (name.length != needed && (problem == nullptr || name.offset < problem->offset)) {
        return "the NAME record at offset " + std::to_string(name.offset) + " has a " +
               std::to_string(name.length) + "-byte payload; " + std::string(profile.selectorText) +
               " needs " + std::to_string(needed);
    }
    return problem != nullptr ? DescribeProblem(*problem) : std::string();
}

// Why a run stopped, in words: the system's text for the error of the call that failed or, when
// no call failed, what in the file the run could not get past.
std::string WhyTheRunStopped(const ExecuteResult& result, std::uint8_t moduleIndex) {
    if (result.error != 0) {
        return FileErrorText(result.error);
    }
    switch (result.runEnd) {
        case RunEnd::HeaderUnreadable:
            return "a record header is cut short by the end of the file";
        case RunEnd::NameDoesNotFit:
            return "the first NAME record does not fit the name of " +
                   std::string(ProfileFor(moduleIndex)->selectorText);
        case RunEnd::NoEndRecord:
            return "the file ends without an end record";
        case RunEnd::SkipFailed:
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
            return "conversion stopped before the end: " + WhyTheRunStopped(result, moduleIndex) +
                   (result.partlyConverted.empty() ? "" : "; " + result.partlyConverted);
    }
}

// What Execute does for one file, unless the file's examination, made with the file locked,
// says that the run would not end well; true when the run finished.
bool Convert(const Target& target, const ConvertChoice& choice, const StopRequest* stop,
             std::ostream& out, std::ostream& err) {
    out << "==> " << target.argument << " <==\n";
    const std::string path = Utf8FromPath(target.path);
    std::string why;
    const GoAhead examined = [&] {
        why = choice.force ? std::string() : WhyNotToConvert(path, choice.moduleIndex);
        return why.empty();
    };
    PrintingLog log(out);
    NoCursor cursor;
    const ExecuteResult result = Execute(path, {choice.moduleIndex, choice.miscValue, choice.gbr},
                                         choice.backup, log, cursor, examined, stop, choice.force);
    if (result.outcome == ExecuteOutcome::Finished) {
        return true;
    }
    if (result.outcome == ExecuteOutcome::Declined) {
        out << "Not converted: " << why << '\n' << std::flush;
        err << "dnlconv: '" << target.argument << "' not converted: " << why
            << "; --force converts it anyway\n";
        return false;
    }
    err << "dnlconv: '" << target.argument << "' " << Failure(result, choice.moduleIndex) << '\n';
    return false;
}

}  // namespace

int ConvertCommand(const std::vector<std::string>& files, const ConvertChoice& choice,
                   std::ostream& out, std::ostream& err, const StopRequest* stop) {
    std::vector<Target> targets;
    if (!FindTargets(files, targets, err) || !WritesApart(targets, choice.backup, err)) {
        return kExitBadArguments;
    }
    bool allFinished = true;
    for (const Target& target : targets) {
        allFinished = Convert(target, choice, stop, out, err) && allFinished;
        if (stop != nullptr && stop->Requested()) {
            return kExitFailure;
        }
    }
    return allFinished ? kExitSuccess : kExitFailure;
}

}  // namespace dnl::cli
