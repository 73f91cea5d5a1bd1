#include "ConvertCommand.h"

#include <filesystem>
#include <map>

#include "Backup.h"
#include "ConversionRun.h"
#include "ExitCodes.h"
#include "FileCheck.h"
#include "StatusLog.h"
#include "Utf8Path.h"

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
        const fs::path path = fs::absolute(PathFromUtf8(file), error);
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
    std::vector<std::string> written{Utf8FromPath(fs::weakly_canonical(target.path, error))};
    if (backup) {
        const fs::path folder = fs::weakly_canonical(target.path.parent_path(), error);
        const std::string backupPath =
            Utf8FromPath(folder / PathFromUtf8(BackupName(Utf8FromPath(target.path))));
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

// What Execute does for one file; true when the run logged "Finished".
bool Convert(const Target& target, const ConvertChoice& choice, std::ostream& out,
             std::ostream& err) {
    out << "==> " << target.argument << " <==\n";
    const WorkingFolder folder(target.path.parent_path());
    if (folder.Error()) {
        err << "dnlconv: cannot work in the folder of '" << target.argument
            << "': " << folder.Error().message() << '\n';
        return false;
    }
    PrintingLog log(out);
    const std::string path = Utf8FromPath(target.path);
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
