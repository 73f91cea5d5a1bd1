#include "Backup.h"

#include <cstddef>

#include "FileIo.h"

namespace dnl {
namespace {

constexpr std::size_t kLongestNamePart = 255;
constexpr std::size_t kCopyBufferSize = 512;

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string_view WithoutDrive(std::string_view path) {
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        path.remove_prefix(2);
    }
    return path;
}

std::string_view FileNamePart(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    if (separator != std::string_view::npos) {
        path.remove_prefix(separator + 1);
    }
    return path;
}

std::string_view WithoutExtension(std::string_view fileName) {
    return fileName.substr(0, fileName.rfind('.'));
}

// Cuts to at most `limit` bytes, backing up to the start of a UTF-8 character when the cut would
// fall inside one.
std::string_view CutToCharacterBoundary(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = limit;
    while (end > 0 && IsUtf8Continuation(text[end])) {
        --end;
    }
    return text.substr(0, end);
}

int CopyContents(int source, int target, StatusLog& log) {
    unsigned char buffer[kCopyBufferSize];
    for (;;) {
        const std::ptrdiff_t count = Files().Read(source, buffer, sizeof buffer);
        if (count == 0) {
            return 0;
        }
        if (count < 0) {
            log.AddLine("Read error occurred during backing up a dnl file");
            return -4;
        }
        if (!WriteAll(target, buffer, static_cast<std::size_t>(count))) {
            log.AddLine("Write error eas occurred during backing up a dnl file");
            return -3;
        }
    }
}

// Opens the backup for writing. Emptying it first would destroy the original when the backup
// name leads to the DNL file itself (a file named like its own backup, or a link to it).
int CreateBackupFile(int source, const std::string& backupName, StatusLog& log) {
    if (Files().IsSameFile(source, backupName)) {
        log.AddLine("Fail to back up a dnl file onto itself as " + backupName);
        return -1;
    }
    const int target = Files().Create(backupName);
    if (target < 0) {
        const int error = Files().LastError();
        log.AddLine("Fail to open " + backupName + ", error code was (" + std::to_string(error) +
                    ")");
    }
    return target;
}

}  // namespace

std::string BackupName(std::string_view path) {
    const std::string_view name = WithoutExtension(FileNamePart(WithoutDrive(path)));
    return std::string(CutToCharacterBoundary(name, kLongestNamePart)) + ".~NL";
}

int BackupCopy(const std::string& path, const std::string& backupName, StatusLog& log) {
    const int source = Files().OpenExisting(path, FileLayer::Access::ReadOnly);
    if (source < 0) {
        log.AddLine("Fail to open " + path);
        return -1;
    }
    const int target = CreateBackupFile(source, backupName, log);
    if (target < 0) {
        Files().Close(source);
        return -2;
    }
    int result = CopyContents(source, target, log);
    Files().Close(source);
    // A failed close can be the first report of a write the disk could not keep.
    if (Files().Close(target) != 0 && result == 0) {
        log.AddLine("Write error eas occurred during backing up a dnl file");
        result = -3;
    }
    return result;
}

int MakeBackup(const std::string& path, StatusLog& log) {
    const std::string backupName = BackupName(path);
    const int result = BackupCopy(path, backupName, log);
    if (result == 0) {
        log.AddLine("Backed up the original DNL file as '" + backupName + "'");
    }
    return result;
}

}  // namespace dnl
