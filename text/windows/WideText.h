#pragma once

#include <string>
#include <string_view>

namespace dnl {

// UTF-8, the tool's text, as the UTF-16 that Windows' W calls take. False, leaving `wide`
// empty, when `text` is not valid UTF-8 or holds a zero byte, which no file name may hold.
bool WideFromUtf8(std::string_view text, std::wstring& wide);

// A path in UTF-8 as the UTF-16 that Windows' calls on files take. An absolute path too long for
// the plain form gets the "\\?\" form, which has no limit of MAX_PATH characters; false as for
// WideFromUtf8.
bool SystemPathFromUtf8(std::string_view path, std::wstring& wide);

// UTF-8 text to show as UTF-16; each byte sequence that is not UTF-8 becomes U+FFFD.
std::wstring Wide(std::string_view text);

// UTF-16 from Windows as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace dnl
