#include "FileChoice.h"

#include <filesystem>
#include <system_error>

#include "AsciiText.h"
#include "FileIo.h"
#include "PathSyntax.h"
#include "Utf8Path.h"
#include "WindowDesign.h"

namespace dnl {

bool HasDnlExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? path : path.substr(dot + 1);
    return EqualIgnoringAsciiCase(extension, "DNL");
}

ChosenFileShown AcceptChosenFile(ConverterState& state, const std::string& path) {
    const std::string_view folder = FolderPart(path);
    if (!folder.empty()) {
        // A folder that cannot be entered leaves the working directory where it was.
        std::error_code ignored;
        std::filesystem::current_path(PathFromUtf8(folder), ignored);
    }
    if (HasDnlExtension(path)) {
        state.path = path;
    }
    return {.executeEnabled = true};
}

ChosenFileShown AcceptNamedFile(ConverterState& state, const std::string& path, StatusLog& log) {
    std::error_code unresolved;
    const std::filesystem::path full = std::filesystem::absolute(PathFromUtf8(path), unresolved);
    const std::string chosen = unresolved ? path : Utf8FromPath(full);
    const ChosenFileShown shown = AcceptChosenFile(state, chosen);
    if (HasDnlExtension(chosen) &&
        !FileHandle(Files().OpenExisting(chosen, FileLayer::Access::ReadOnly)).IsOpen()) {
        log.AddLine("Fail to open " + chosen);
    }
    return shown;
}

std::optional<ChosenFileShown> AcceptDroppedFiles(ConverterState& state,
                                                  std::span<const std::string> paths,
                                                  StatusLog& log) {
    if (paths.empty()) {
        return std::nullopt;
    }
    if (const std::size_t others = paths.size() - 1; others > 0) {
        log.AddLine("Took only the first dropped file; " + std::to_string(others) +
                    (others == 1 ? " other was" : " others were") + " not taken");
    }
    return AcceptNamedFile(state, paths.front(), log);
}

std::string WindowTitle(const ConverterState& state) {
    if (state.path.empty()) {
        return std::string(kWindowTitle);
    }
    return std::string(FileNamePart(state.path)) + " - " + std::string(kWindowTitle);
}

}  // namespace dnl
