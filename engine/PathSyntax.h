#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dnl {

// How the system the tool runs on spells a path: which characters separate folders, and whether a
// drive comes first.

// Where the file's own name starts in `path`: after the last folder separator (and any drive).
// Each system has its own rule.
std::size_t FileNameStart(std::string_view path);

// What follows the last folder separator (and any drive): the file's own name.
std::string_view FileNamePart(std::string_view path);

// What comes before FileNamePart(path), its last separator included; empty when the path names a
// file in the working directory.
std::string_view FolderPart(std::string_view path);

// The path in the spelling that the C and C++ libraries read: on Windows without the "\\?\" or
// "\\.\" prefix, which only the system's own calls take; elsewhere as it is.
std::string WithoutDevicePrefix(std::string_view path);

// The longest file name, in bytes, that the systems' file systems take.
inline constexpr std::size_t kLongestFileName = 255;

// `text` cut to at most `limit` bytes, never inside a UTF-8 character.
std::string_view CutToCharacterBoundary(std::string_view text, std::size_t limit);

}  // namespace dnl
