#include "FileArguments.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "PathSyntax.h"
#include "WideText.h"

namespace dnl::cli {
namespace {

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

// Ordinal, ignoring case as the file system does; names that differ only in case, which a
// case-sensitive folder can hold, keep a fixed order too.
bool ComesBefore(const std::wstring& a, const std::wstring& b) {
    const auto size = [](const std::wstring& name) { return static_cast<int>(name.size()); };
    const int folded = CompareStringOrdinal(a.c_str(), size(a), b.c_str(), size(b), TRUE);
    return folded != CSTR_EQUAL ? folded == CSTR_LESS_THAN : a < b;
}

// The names in a folder that match `pattern`, sorted; "." and ".." are never files.
std::vector<std::wstring> MatchingNames(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.emplace_back(name);
        }
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
    std::ranges::sort(names, ComesBefore);
    return names;
}

void AddFilesNamedBy(const std::string& argument, std::vector<std::string>& files) {
    std::wstring pattern;
    std::vector<std::wstring> names;
    if (HasWildcard(FileNamePart(argument)) && WideFromUtf8(argument, pattern)) {
        names = MatchingNames(pattern);
    }
    if (names.empty()) {
        files.push_back(argument);
        return;
    }
    const std::string folder(FolderPart(argument));
    for (const std::wstring& name : names) {
        files.push_back(folder + Utf8FromWide(name));
    }
}

}  // namespace

std::vector<std::string> FilesNamedBy(const std::vector<std::string>& arguments) {
    std::vector<std::string> files;
    for (const std::string& argument : arguments) {
        AddFilesNamedBy(argument, files);
    }
    return files;
}

}  // namespace dnl::cli
