#include "Backup.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <vector>

#include "AsciiText.h"
#include "FileIo.h"
#include "PathSyntax.h"

namespace dnl {
namespace {

constexpr std::size_t kCopyBufferSize = 512;
// A temporary is named ".NAME.~NL." and the six letters or digits that make it unique.
constexpr std::size_t kUniqueLetters = 6;
constexpr std::size_t kTemporaryNameAdds = 2 + kUniqueLetters;

std::string_view WithoutExtension(std::string_view fileName) {
    return fileName.substr(0, fileName.rfind('.'));
}

bool IsAsciiAlphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The window's "*.dnl" filter shows a name whose extension is DNL in any case.
bool HasDnlExtension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    return EqualIgnoringAsciiCase(fileName.substr(dot + 1), "DNL");
}

// What every temporary of `backupName` is named before its unique letters, cut so that the whole
// name stays within the 255 bytes a name may take.
std::string TemporaryStem(std::string_view backupName) {
    return "." +
           std::string(CutToCharacterBoundary(backupName, kLongestFileName - kTemporaryNameAdds)) +
           ".";
}

bool IsTemporaryOf(std::string_view name, std::string_view stem) {
    return name.size() == stem.size() + kUniqueLetters &&
           Files().SameName(name.substr(0, stem.size()), stem) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                       IsAsciiAlphanumeric);
}

// A temporary that a running backup writes is locked; one that nobody holds was left by a backup
// cut off midway. A failure here only leaves it for a later backup.
void RemoveIfLeftOver(const std::string& path) {
    const FileHandle temporary(Files().OpenExisting(path, FileLayer::Access::ReadOnly));
    if (temporary.IsOpen() && Files().Lock(temporary.Get()) == 0) {
        Files().Remove(path);
    }
}

// `prefix` is the folder and the stem of the temporaries' names.
void RemoveLeftoverTemporaries(const std::string& prefix) {
    const std::string_view folder = FolderPart(prefix);
    const std::string_view stem = FileNamePart(prefix);
    std::vector<std::string> names;
    if (Files().ListFolder(std::string(folder), names) != 0) {
        return;
    }
    for (const std::string& name : names) {
        if (IsTemporaryOf(name, stem)) {
            RemoveIfLeftOver(std::string(folder) + name);
        }
    }
}

// The folder as the failure line names it: the working directory is ".".
std::string FolderName(std::string_view path) {
    const std::string_view folder = FolderPart(path);
    return folder.empty() ? std::string(".") : std::string(folder);
}

// One backup in the making: the DNL file open for reading and a temporary file beside it.
class BackupWriter {
public:
    // `doing` ends the lines of a failed read or write: "backing up a dnl file".
    BackupWriter(const std::string& path, const std::string& backupName, std::string_view doing,
                 StatusLog& log)
        : m_path(path),
          m_backupName(backupName),
          m_backupPath(std::string(FolderPart(path)) + backupName),
          m_doing(doing),
          m_log(log) {}

    // A backup that was not put in place leaves nothing behind.
    ~BackupWriter() {
        if (!m_temporaryPath.empty()) {
            m_temporary.Close();
            Files().Remove(m_temporaryPath);
        }
    }

    BackupWriter(const BackupWriter&) = delete;
    BackupWriter& operator=(const BackupWriter&) = delete;

    BackupOutcome Run() {
        m_source = FileHandle(Files().OpenExisting(m_path, FileLayer::Access::ReadOnly));
        if (!m_source.IsOpen()) {
            m_log.AddLine("Fail to open " + m_path);
            return {-1, Files().LastError()};
        }
        BackupOutcome outcome = CreateTemporary();
        if (outcome.result == 0) {
            outcome = CopyContents();
        }
        if (outcome.result == 0) {
            outcome = MakeDurable();
        }
        m_source.Close();
        if (outcome.result == 0) {
            outcome = PutInPlace();
        }
        return outcome;
    }

private:
    // `name` is the backup, or the folder where its temporary could not be made.
    BackupOutcome CannotCreate(const std::string& name) {
        const int error = Files().LastError();
        m_log.AddLine("Fail to open " + name + ", error code was (" + std::to_string(error) + ")");
        return {-2, error};
    }

    BackupOutcome WriteError(int error) {
        m_log.AddLine("Write error eas occurred during " + std::string(m_doing));
        return {-3, error};
    }

    // A backup named like the DNL file itself (or a link to it) would put a copy in the place of
    // the original; a backup the user may not write, or a folder, is refused as it always was.
    BackupOutcome CreateTemporary() {
        if (Files().IsSameFile(m_source.Get(), m_backupPath)) {
            m_log.AddLine("Fail to back up a dnl file onto itself as " + m_backupName);
            return {-2, 0};
        }
        if (Files().CheckReplaceable(m_backupPath) != 0) {
            return CannotCreate(m_backupName);
        }
        const std::string prefix = std::string(FolderPart(m_path)) + TemporaryStem(m_backupName);
        RemoveLeftoverTemporaries(prefix);
        m_temporary = FileHandle(Files().CreateTemporary(prefix, m_source.Get(), m_temporaryPath));
        if (!m_temporary.IsOpen()) {
            return CannotCreate(FolderName(m_path));
        }
        // Without the lock (a file system that keeps none) the temporary is never taken for a
        // leftover either: a later backup cannot lock it and so leaves it alone.
        Files().Lock(m_temporary.Get());
        return {};
    }

    BackupOutcome CopyContents() {
        unsigned char buffer[kCopyBufferSize];
        for (;;) {
            const std::ptrdiff_t count = Files().Read(m_source.Get(), buffer, sizeof buffer);
            if (count == 0) {
                return {};
            }
            if (count < 0) {
                const int error = Files().LastError();
                m_log.AddLine("Read error occurred during " + std::string(m_doing));
                return {-4, error};
            }
            if (!WriteAll(m_temporary.Get(), buffer, static_cast<std::size_t>(count))) {
                return WriteError(LastErrorOr(ENOSPC));
            }
        }
    }

    // A failed flush or close can be the first report of a write the disk could not keep. The
    // modification time is the DNL file's, set after the last write; a copy whose time could not
    // be set is still a complete backup.
    BackupOutcome MakeDurable() {
        FileTime written;
        if (Files().ModificationTime(m_source.Get(), written) == 0) {
            Files().SetModificationTime(m_temporary.Get(), written);
        }
        if (Files().Flush(m_temporary.Get()) != 0) {
            return WriteError(Files().LastError());
        }
        if (m_temporary.Close() != 0) {
            return WriteError(Files().LastError());
        }
        return {};
    }

    BackupOutcome PutInPlace() {
        if (Files().Replace(m_temporaryPath, m_backupPath) != 0) {
            return CannotCreate(m_backupName);
        }
        m_temporaryPath.clear();
        return {};
    }

    const std::string& m_path;
    const std::string& m_backupName;
    const std::string m_backupPath;
    const std::string_view m_doing;
    StatusLog& m_log;
    FileHandle m_source;
    FileHandle m_temporary;
    std::string m_temporaryPath;
};

constexpr std::string_view kBackingUp = "backing up a dnl file";

}  // namespace

std::string BackupName(std::string_view path) {
    const std::string_view name = WithoutExtension(FileNamePart(path));
    return std::string(CutToCharacterBoundary(name, kLongestFileName)) + ".~NL";
}

std::string BackupPath(std::string_view path) {
    return std::string(FolderPart(path)) + BackupName(path);
}

std::string FileSharingBackup(const std::string& path) {
    std::vector<std::string> names;
    if (Files().ListFolder(std::string(FolderPart(path)), names) != 0) {
        return {};
    }
    const std::string backupName = BackupName(path);
    const auto isTheBackup = [&](const std::string& name) {
        return Files().SameName(name, backupName);
    };
    if (std::none_of(names.begin(), names.end(), isTheBackup)) {
        return {};
    }
    const auto sharing = [&](const std::string& name) {
        return HasDnlExtension(name) && !Files().SameName(name, FileNamePart(path)) &&
               Files().SameName(BackupName(name), backupName);
    };
    const auto found = std::find_if(names.begin(), names.end(), sharing);
    return found != names.end() ? *found : std::string();
}

BackupOutcome BackupCopy(const std::string& path, const std::string& backupName, StatusLog& log) {
    return BackupWriter(path, backupName, kBackingUp, log).Run();
}

BackupOutcome MakeBackup(const std::string& path, StatusLog& log) {
    const std::string backupName = BackupName(path);
    const BackupOutcome outcome = BackupCopy(path, backupName, log);
    if (outcome.result == 0) {
        log.AddLine("Backed up the original DNL file as '" + backupName + "'");
    }
    return outcome;
}

BackupOutcome CopyOver(const std::string& source, const std::string& name, std::string_view doing,
                       StatusLog& log) {
    return BackupWriter(source, name, doing, log).Run();
}

}  // namespace dnl
