#pragma once

#include <string>
#include <string_view>

namespace dnl {

// UTF-8, the engine's text, as the UTF-16 that Windows' W calls take. False, leaving `wide`
// empty, when `text` is not valid UTF-8 or holds a zero byte, which no file name may hold.
bool WideFromUtf8(std::string_view text, std::wstring& wide);

// UTF-16 from Windows as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace dnl
