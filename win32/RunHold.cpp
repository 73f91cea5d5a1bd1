#include "RunHold.h"

#include <utility>

namespace dnl::win32 {
namespace {

// Often enough for progress to look smooth, seldom enough to cost the run next to nothing.
constexpr ULONGLONG kProgressIntervalMs = 100;

bool IsUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

bool IsCloseGesture(const MSG& message) {
    return (message.message == WM_NCLBUTTONDOWN && message.wParam == HTCLOSE) ||
           (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4);
}

void DropQueuedInput(UINT first, UINT last) {
    MSG dropped;
    while (PeekMessageW(&dropped, nullptr, first, last, PM_REMOVE) != FALSE) {
    }
}

// Handles the messages waiting in the thread's queue, painting included, but no user input.
void HandleWaitingMessages(HWND window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the message loop
            return;
        }
        if (IsCloseGesture(message)) {
            SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else if (!IsUserInput(message.message)) {
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

RunHold::RunHold(HWND window, std::function<void()> showProgress)
    : m_window(window), m_showProgress(std::move(showProgress)), m_lastProgress(GetTickCount64()) {}

RunHold::~RunHold() {
    m_showProgress();
    DropQueuedInput(WM_KEYFIRST, WM_KEYLAST);
    DropQueuedInput(WM_MOUSEFIRST, WM_MOUSELAST);
    DropQueuedInput(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK);
}

void RunHold::Step() {
    if (GetTickCount64() - m_lastProgress >= kProgressIntervalMs) {
        ShowProgress();
    }
}

void RunHold::ShowProgress() {
    m_showProgress();
    HandleWaitingMessages(m_window);
    m_lastProgress = GetTickCount64();
}

}  // namespace dnl::win32
