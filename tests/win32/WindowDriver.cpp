#include "WindowDriver.h"

#include <thread>

#include "CompletingCombo.h"
#include "WideText.h"
#include "resource.h"

namespace dnl::test {

WindowUnderTest::WindowUnderTest()
    : window(win32::TfrmMain::Create(GetModuleHandleW(nullptr))),
      previousWorkingDirectory(std::filesystem::current_path()) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    Pump(window);
}

WindowUnderTest::~WindowUnderTest() {
    DestroyWindow(window);
    Pump(window);
    std::filesystem::current_path(previousWorkingDirectory);
}

void WindowUnderTest::Pick(int listId, int row) const {
    SendMessageW(Control(listId), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(listId)));
}

void WindowUnderTest::Type(int listId, const std::wstring& keys, bool selectAllFirst) const {
    if (selectAllFirst) {
        SendMessageW(Control(listId), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    }
    for (const wchar_t key : keys) {
        PostMessageW(GetWindow(Control(listId), GW_CHILD), WM_CHAR, key, 1);  // its edit field
    }
    Pump(window);
}

void WindowUnderTest::OpenThroughDialog(const std::wstring& path) const {
    AnswerDialog([this] { SendMessageW(window, WM_COMMAND, IDM_mnuFileOpen, 0); },
                 [&path](HWND dialog) {
                     SendMessageW(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0,  // cmb13, the name
                                  reinterpret_cast<LPARAM>(path.c_str()));
                     PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                 });
}

std::vector<std::string> WindowUnderTest::LoggedLines() const {
    const std::string memo = Utf8FromWide(Text(Control(IDC_mmStatus)));
    std::vector<std::string> lines;
    for (std::size_t start = 2; start < memo.size();) {  // after the first, empty line
        const std::size_t end = memo.find("\r\n", start);
        lines.push_back(memo.substr(start, end - start));
        start = end == std::string::npos ? memo.size() : end + 2;
    }
    return lines;
}

void Pump(HWND window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        win32::Dispatch(window, message);
    }
}

Rect Bounds(HWND control) {
    RECT frame{};
    GetWindowRect(control, &frame);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&frame), 2);
    return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

Size ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

std::pair<DWORD, DWORD> Selection(HWND list) {
    std::pair<DWORD, DWORD> selection;
    SendMessageW(list, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&selection.first),
                 reinterpret_cast<LPARAM>(&selection.second));
    return selection;
}

std::wstring Text(HWND window) {
    return win32::WindowText(window);
}

namespace {

BOOL CALLBACK NoteDialog(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(window) != FALSE) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void AnswerDialog(const std::function<void()>& show, const std::function<void(HWND)>& answer) {
    const DWORD thread = GetCurrentThreadId();
    std::thread answering([&answer, thread] {
        for (int wait = 0; wait < 400; ++wait) {
            HWND dialog = nullptr;
            EnumThreadWindows(thread, NoteDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog != nullptr) {
                answer(dialog);
                return;
            }
            Sleep(25);
        }
    });
    show();
    answering.join();
}

}  // namespace dnl::test
