#pragma once

#include <windows.h>

#include <exception>
#include <string_view>

namespace dnl::win32 {

// Shows `message` the way the tool shows an error: in a box with an error icon and an OK button,
// captioned with the application's title, and waits for the user.
void ShowError(HWND owner, std::string_view message);

// Runs `action`. An exception escaping it is shown in the error box and goes no further: none may
// unwind through Windows' own code, which calls our window procedures. False when one escaped.
template <typename Action>
bool ShowingErrors(HWND owner, Action&& action) noexcept {
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        ShowError(owner, error.what());
    } catch (...) {
        ShowError(owner, "An error of an unknown kind occurred");
    }
    return false;
}

}  // namespace dnl::win32
