#include "PathSyntax.h"

namespace dnl {

std::string_view FileNamePart(std::string_view path) {
    return path.substr(FileNameStart(path));
}

std::string_view FolderPart(std::string_view path) {
    return path.substr(0, FileNameStart(path));
}

}  // namespace dnl
