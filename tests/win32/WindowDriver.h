#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Anchoring.h"
#include "TfrmMain.h"

namespace dnl::test {

// A fresh main window, shown, driven through messages as a user's keys and clicks reach it. The
// working directory is restored when it goes.
struct WindowUnderTest {
    WindowUnderTest();
    ~WindowUnderTest();
    WindowUnderTest(const WindowUnderTest&) = delete;
    WindowUnderTest& operator=(const WindowUnderTest&) = delete;

    HWND Control(int id) const { return GetDlgItem(window, id); }
    const ConverterState& State() const { return win32::TfrmMain::FromHandle(window)->State(); }
    // Picks `row` of a drop-down list as a click in its open list does.
    void Pick(int listId, int row) const;
    // Selects the whole text of a drop-down list and types `keys` into it, one WM_CHAR each.
    void Type(int listId, const std::wstring& keys, bool selectAllFirst = true) const;
    // File > Open, answered in the real dialog by typing `path` and pressing Open.
    void OpenThroughDialog(const std::wstring& path) const;
    // The memo's lines after its first empty one.
    std::vector<std::string> LoggedLines() const;

    HWND window;
    std::filesystem::path previousWorkingDirectory;
};

// Handles every message waiting in this thread's queue.
void Pump(HWND window);

// Where `control` sits in its parent's client area.
Rect Bounds(HWND control);

Size ClientSize(HWND window);
std::wstring Text(HWND window);
// The selection in a drop-down list's text field.
std::pair<DWORD, DWORD> Selection(HWND list);

// Runs `answer` on another thread with the first dialog box this thread shows, while this thread
// runs `show`; returns once both are done.
void AnswerDialog(const std::function<void()>& show, const std::function<void(HWND)>& answer);

}  // namespace dnl::test
