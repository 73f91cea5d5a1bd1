#pragma once

#include <string>
#include <string_view>

namespace dnl {

// The title the application goes by: the executable's file name without its folder, cut at its
// first dot, every letter after the first in lower case ("/opt/DnlTransfer.exe" -> "Dnltransfer").
// UTF-8; letters outside ASCII keep their case.
std::string ApplicationTitle(std::string_view executablePath);

// The text shown for an error: its message, with a "." added when the last character comes after
// "." in character order ("Disk full" -> "Disk full.", "Done." and "Stop!" stay as they are).
std::string ErrorText(std::string_view message);

}  // namespace dnl
