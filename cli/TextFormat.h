#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ModuleProfiles.h"

namespace dnl::cli {

// A 16-bit code as the tool writes it everywhere: 0x and four upper-case hex digits.
std::string Hex16(std::uint16_t value);

// `text` in double quotes, with every byte that is not printable ASCII (and the quote and
// backslash themselves) shown as \xNN, so that a name read from a file cannot upset a terminal.
std::string Quoted(std::string_view text);

// The selector texts of the modules that `picked` accepts, in table order, with ", " between them
// and `lastSeparator` before the last: "RQX4, LM5 or PZK2".
std::string ModuleList(
    std::string_view lastSeparator,
    bool (*picked)(const ModuleProfile&) = [](const ModuleProfile&) { return true; });

}  // namespace dnl::cli
