#include "OpenDialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <filesystem>

#include "CompletingCombo.h"
#include "WideText.h"

namespace dnl::win32 {
namespace {

// One filter: its label, with an ideographic space before the parenthesis, and its pattern.
constexpr wchar_t kDnlFilter[] = L"DNLファイル\u3000(*.dnl)\0*.dnl\0";
constexpr std::size_t kLongestPath = 32768;  // in UTF-16 units, with the terminating NUL

// Wine's dialog builds the chosen path in a buffer of its own of MAX_PATH characters, which a
// longer path overruns. Such a path, typed into the name field, is taken before the dialog sees
// it: the dialog is cancelled and the path kept as the choice. On Windows, whose dialog takes
// such a path itself, this skips only the dialog's checks and its default extension.
thread_local std::wstring* t_longChoice = nullptr;

// The full path the name field of `dialog` names; empty when it has no such field.
std::filesystem::path TypedPath(HWND dialog) {
    HWND name = GetDlgItem(dialog, cmb13);
    if (name == nullptr) {
        return {};
    }
    std::filesystem::path typed = WindowText(name);
    if (typed.empty() || typed.is_absolute()) {
        return typed;
    }
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return std::filesystem::path(folder) / typed;
}

LRESULT CALLBACK KeepLongPath(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR /*id*/, DWORD_PTR /*data*/) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && t_longChoice != nullptr) {
        const std::filesystem::path path = TypedPath(dialog);
        if (path.native().size() >= MAX_PATH) {
            *t_longChoice = path.native();
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return 0;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(dialog, KeepLongPath, 0);
    }
    return DefSubclassProc(dialog, message, wParam, lParam);
}

// Watches the windows this thread activates while the dialog runs, for the dialog itself.
LRESULT CALLBACK WatchActivations(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        SetWindowSubclass(reinterpret_cast<HWND>(wParam), KeepLongPath, 0, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

std::optional<std::string> AskForDnlFile(HWND owner) {
    // Room for the longest path the system knows: the dialog writes the chosen path into it.
    std::wstring chosen = L"*.dnl";
    chosen.resize(kLongestPath);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kDnlFilter;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrDefExt = L"dnl";
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING;

    std::wstring longChoice;
    t_longChoice = &longChoice;
    HHOOK watch = SetWindowsHookExW(WH_CBT, WatchActivations, nullptr, GetCurrentThreadId());
    const BOOL confirmed = GetOpenFileNameW(&dialog);
    UnhookWindowsHookEx(watch);
    t_longChoice = nullptr;
    if (!longChoice.empty()) {
        return Utf8FromWide(longChoice);
    }
    if (confirmed == FALSE) {
        return std::nullopt;
    }
    return Utf8FromWide(chosen.c_str());
}

}  // namespace dnl::win32
