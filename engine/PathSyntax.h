#pragma once

#include <string_view>

namespace dnl {

// How the system the tool runs on spells a path: which characters separate folders, and whether a
// drive comes first.

// What follows the last folder separator (and any drive): the file's own name.
std::string_view FileNamePart(std::string_view path);

// What comes before FileNamePart(path), its last separator included; empty when the path names a
// file in the working directory.
std::string_view FolderPart(std::string_view path);

}  // namespace dnl
