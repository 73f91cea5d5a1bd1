#pragma once

#include <string>
#include <string_view>

#include "WideText.h"

namespace dnl::win32 {

// The tool's UTF-8 text as the UTF-16 that the W functions take; empty for text that is not
// UTF-8, which the tool never makes.
inline std::wstring Wide(std::string_view text) {
    std::wstring wide;
    WideFromUtf8(text, wide);
    return wide;
}

// UTF-16 from Windows as the tool's UTF-8.
inline std::string Utf8(std::wstring_view wide) {
    return Utf8FromWide(wide);
}

}  // namespace dnl::win32
