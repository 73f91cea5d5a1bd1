#include "ConvertCommand.h"

#include <filesystem>
#include <map>

#include "Backup.h"
#include "ConversionRun.h"
#include "Examination.h"
#include "ExitCodes.h"
#include "FileCheck.h"
#include "ModuleProfiles.h"
#include "ProblemText.h"
#include "StatusLog.h"

namespace dnl::cli {
namespace {

namespace fs = std::filesystem;

// A FILE argument, as given and as an absolute path: the run gets a full path, like the one the
// window's file dialog yields, so that it still names the file in the file's own folder.
struct Target {
    std::string argument;
    fs::path path;
};

// Prints each line of a backup and a run the moment it is logged, and notes whether the run
// reached its end.
class PrintingLog final : public StatusLog {
public:
    explicit PrintingLog(std::ostream& out) : m_out(out) {}

    void AddLine(const std::string& text) override {
        m_out << text << '\n' << std::flush;
        m_finished = m_finished || text == "Finished";
    }

    bool Finished() const { return m_finished; }

private:
    std::ostream& m_out;
    bool m_finished = false;
};

// A terminal shows no busy cursor.
class NoCursor final : public BusyCursor {
public:
    void ShowBusy() override {}
    void ShowNormal() override {}
};

// Makes a folder the working directory for its own lifetime, as File > Open in the window makes
// the chosen file's folder the working directory: that is where the backup is written.
class WorkingFolder {
public:
    explicit WorkingFolder(const fs::path& folder) {
        m_previous = fs::current_path(m_error);
        if (!m_error) {
            fs::current_path(folder, m_error);
        }
    }
    ~WorkingFolder() {
        std::error_code ignored;
        fs::current_path(m_previous, ignored);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    const std::error_code& Error() const { return m_error; }

private:
    fs::path m_previous;
    std::error_code m_error;
};

bool FindTargets(const std::vector<std::string>& files, std::vector<Target>& targets,
                 std::ostream& err) {
    bool found = true;
    for (const std::string& file : files) {
        std::error_code error;
        const fs::path path = fs::absolute(file, error);
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

// The files a target's conversion writes: the file itself and, with a backup, X.~NL beside it.
std::vector<std::string> FilesWritten(const Target& target, bool backup) {
    std::error_code error;
    std::vector<std::string> written{fs::weakly_canonical(target.path, error).string()};
    if (backup) {
        const fs::path folder = fs::weakly_canonical(target.path.parent_path(), error);
        const std::string backupPath = (folder / BackupName(target.path.string())).string();
        if (backupPath != written.front()) {
            written.push_back(backupPath);
        }
    }
    return written;
}

// Two files of one batch must not write the same file: the same file given twice, a.dnl and
// a.DNL sharing the backup a.~NL, or a file that is another one's backup. The later write would
// destroy a backup, or back up a file that was already converted.
bool WritesApart(const std::vector<Target>& targets, bool backup, std::ostream& err) {
    std::map<std::string, const Target*> writer;
    for (const Target& target : targets) {
        for (const std::string& written : FilesWritten(target, backup)) {
            const auto [known, added] = writer.emplace(written, &target);
            if (!added) {
                err << "dnlconv: '" << known->second->argument << "' and '" << target.argument
                    << "' would both write '" << written << "'\n";
                return false;
            }
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
    const DnlProblem* problem =
        examination.problems.empty() ? nullptr : &examination.problems.front();
    if (examination.names.empty()) {
        return problem != nullptr ? DescribeProblem(*problem) : "no NAME record";
    }
    const NameRecordInfo& name = examination.names.front();
    const ModuleProfile& profile = *ProfileFor(moduleIndex);
    const auto needed = static_cast<std::int32_t>(profile.nameText.size() + 1);
    if (name.length != needed && (problem == nullptr || name.offset < problem->offset)) {
        return "the NAME record at offset " + std::to_string(name.offset) + " has a " +
               std::to_string(name.length) + "-byte payload; " + std::string(profile.selectorText) +
               " needs " + std::to_string(needed);
    }
    return problem != nullptr ? DescribeProblem(*problem) : std::string();
}

// What Execute does for one file, unless the file's examination says that the run would not end
// well; true when the run logged "Finished".
bool Convert(const Target& target, const ConvertChoice& choice, std::ostream& out,
             std::ostream& err) {
    out << "==> " << target.argument << " <==\n";
    if (!choice.force) {
        if (const std::string why = WhyNotToConvert(target.path.string(), choice.moduleIndex);
            !why.empty()) {
            out << "Not converted: " << why << '\n' << std::flush;
            err << "dnlconv: '" << target.argument << "' not converted: " << why
                << "; --force converts it anyway\n";
            return false;
        }
    }
    const WorkingFolder folder(target.path.parent_path());
    if (folder.Error()) {
        err << "dnlconv: cannot work in the folder of '" << target.argument
            << "': " << folder.Error().message() << '\n';
        return false;
    }
    PrintingLog log(out);
    const std::string path = target.path.string();
    if (choice.backup && MakeBackup(path, log) != 0) {
        return false;
    }
    NoCursor cursor;
    ConversionRun(path, choice.moduleIndex, choice.miscValue, choice.gbr, log, cursor);
    return log.Finished();
}

}  // namespace

int ConvertCommand(const std::vector<std::string>& files, const ConvertChoice& choice,
                   std::ostream& out, std::ostream& err) {
    std::vector<Target> targets;
    if (!FindTargets(files, targets, err) || !WritesApart(targets, choice.backup, err)) {
        return kExitBadArguments;
    }
    bool allFinished = true;
    for (const Target& target : targets) {
        allFinished = Convert(target, choice, out, err) && allFinished;
    }
    return allFinished ? kExitSuccess : kExitFailure;
}

}  // namespace dnl::cli
