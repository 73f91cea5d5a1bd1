#include "RunMarker.h"

#include <cerrno>

#include "FileIo.h"
#include "PathSyntax.h"

namespace dnl {
namespace {

constexpr std::string_view kMarkerStart = ".";
constexpr std::string_view kMarkerEnd = ".~unfinished";
// What CreateTemporary adds to a name to make it unique.
constexpr std::size_t kTemporarySuffix = 7;

// ".X.dnl.~unfinished", the DNL file's name cut so that the whole, with `spare` bytes more, is no
// longer than a file name may be.
std::string MarkerName(std::string_view path, std::size_t spare = 0) {
    const std::size_t room = kLongestFileName - spare - kMarkerStart.size() - kMarkerEnd.size();
    return std::string(kMarkerStart) +
           std::string(CutToCharacterBoundary(FileNamePart(path), room)) + std::string(kMarkerEnd);
}

// What the marker holds, for whoever opens it; its being there is what counts.
std::string MarkerText(std::string_view path) {
    return "A conversion of " + std::string(FileNamePart(path)) +
           " began and has not finished; its backup is kept until one does.\n";
}

void LogFailure(const std::string& what, std::string_view path, int error, StatusLog& log) {
    log.AddLine("Fail to " + what + " " + MarkerName(path) + ", error code was (" +
                std::to_string(error) + ")");
}

// Writes the marker under a temporary name and renames it into place, so that the marker is
// either whole or not there. 0, or the error number of the call that failed.
int WriteMarker(const std::string& path, int like) {
    const std::string temporaryStart =
        std::string(FolderPart(path)) + MarkerName(path, kTemporarySuffix) + ".";
    std::string temporaryPath;
    FileHandle temporary(Files().CreateTemporary(temporaryStart, like, temporaryPath));
    if (!temporary.IsOpen()) {
        return Files().LastError();
    }
    const std::string text = MarkerText(path);
    if (WriteAll(temporary.Get(), text.data(), text.size()) &&
        Files().Flush(temporary.Get()) == 0 && temporary.Close() == 0 &&
        Files().Replace(temporaryPath, RunMarkerPath(path)) == 0) {
        return 0;
    }
    const int error = LastErrorOr(ENOSPC);
    temporary.Close();
    Files().Remove(temporaryPath);
    return error;
}

}  // namespace

std::string RunMarkerPath(std::string_view path) {
    return std::string(FolderPart(path)) + MarkerName(path);
}

int FindRunMarker(const std::string& path, StatusLog& log) {
    const int found = FindFile(RunMarkerPath(path));
    if (found < 0) {
        LogFailure("open", path, Files().LastError(), log);
    }
    return found;
}

int PlaceRunMarker(const std::string& path, int like, StatusLog& log) {
    const int error = WriteMarker(path, like);
    if (error != 0) {
        LogFailure("open", path, error, log);
    }
    return error;
}

void RemoveRunMarker(const std::string& path, StatusLog& log) {
    if (Files().Remove(RunMarkerPath(path)) != 0) {
        LogFailure("remove", path, Files().LastError(), log);
    }
}

}  // namespace dnl
