#pragma once

#include <windows.h>

#include <functional>

namespace dnl::win32 {

// Holds the window while a backup and a run take the one thread. The window stays enabled, so that
// the system's requests (a close from the window manager or the task list, the end of the session)
// reach it; the user's keys and clicks are dropped instead, and so is what is still queued when
// the hold ends: a second click made during a run must not start a second backup and run once the
// first has ended. A click on the close box or Alt+F4 is taken as the close request it is. As the
// run reports, the window now and then shows its progress and handles its other messages.
class RunHold {
public:
    // `showProgress` brings the window up to date; it is called before messages are handled.
    RunHold(HWND window, std::function<void()> showProgress);
    // Shows the last progress, then drops the input queued meanwhile.
    ~RunHold();
    RunHold(const RunHold&) = delete;
    RunHold& operator=(const RunHold&) = delete;

    // Called at each step the run reports: shows progress when it was last shown long enough ago.
    void Step();

private:
    void ShowProgress();

    HWND m_window;
    std::function<void()> m_showProgress;
    ULONGLONG m_lastProgress;
};

}  // namespace dnl::win32
