#include "PathSyntax.h"

namespace dnl {
namespace {

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string_view FileNamePart(std::string_view path) {
    return path.substr(FileNameStart(path));
}

std::string_view FolderPart(std::string_view path) {
    return path.substr(0, FileNameStart(path));
}

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

}  // namespace dnl
