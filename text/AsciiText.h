#pragma once

#include <string_view>

namespace dnl {

// The tool's own texts (module names, formats, extensions) are ASCII: their case rules are ASCII
// alone, whatever the locale; bytes outside ASCII stay as they are.
char AsciiUpper(char c);
char AsciiLower(char c);

bool EqualIgnoringAsciiCase(std::string_view first, std::string_view second);

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view start);

}  // namespace dnl
