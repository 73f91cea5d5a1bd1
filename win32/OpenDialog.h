#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace dnl::win32 {

// File > Open's common dialog, owned by `owner`: the chosen file's full path in UTF-8, or nothing
// when the user cancels. A path as long as the system allows comes back whole.
std::optional<std::string> AskForDnlFile(HWND owner);

}  // namespace dnl::win32
