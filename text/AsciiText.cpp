#include "AsciiText.h"

#include <algorithm>

namespace dnl {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view first, std::string_view second) {
    return first.size() == second.size() && StartsWithIgnoringAsciiCase(first, second);
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(),
                      [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

}  // namespace dnl
