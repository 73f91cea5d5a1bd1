#include "WideText.h"

#include <windows.h>

namespace dnl {
namespace {

// `flags` 0 replaces what is not UTF-8; MB_ERR_INVALID_CHARS fails on it. Empty on failure.
std::wstring Converted(std::string_view text, DWORD flags) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, flags, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, flags, text.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

bool WideFromUtf8(std::string_view text, std::wstring& wide) {
    wide.clear();
    if (text.empty()) {
        return true;
    }
    if (text.find('\0') != std::string_view::npos) {
        return false;
    }
    wide = Converted(text, MB_ERR_INVALID_CHARS);
    return !wide.empty();
}

std::wstring Wide(std::string_view text) {
    return text.empty() ? std::wstring() : Converted(text, 0);
}

namespace {

// Longer paths fail in the plain form: a folder's own path must leave room for an 8.3 name in it.
constexpr std::size_t kLongestPlainPath = MAX_PATH - 12;

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "C:\x" or "\\server\share\x", with either separator; not "\\?\" nor "\\.\", which are
// taken as they are already.
bool IsAbsolute(std::wstring_view path) {
    const wchar_t letter = path.empty() ? L'\0' : static_cast<wchar_t>(path[0] | 0x20);
    const bool drive = path.size() >= 3 && letter >= L'a' && letter <= L'z' && path[1] == L':' &&
                       IsSeparator(path[2]);
    const bool unc = path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
                     path[2] != L'?' && path[2] != L'.';
    return drive || unc;
}

// The "\\?\" form is passed to the file system as it is, so the path is made whole first: "/"
// becomes "\" and "." and ".." are resolved, as the plain form would have them.
std::wstring LongForm(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return path;
    }
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return path;
    }
    full.resize(length);
    return full.starts_with(LR"(\\)") ? LR"(\\?\UNC\)" + full.substr(2) : LR"(\\?\)" + full;
}

}  // namespace

bool SystemPathFromUtf8(std::string_view path, std::wstring& wide) {
    if (!WideFromUtf8(path, wide)) {
        return false;
    }
    if (wide.size() > kLongestPlainPath && IsAbsolute(wide)) {
        wide = LongForm(wide);
    }
    return true;
}

std::string Utf8FromWide(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

}  // namespace dnl
