#include "CompletingCombo.h"

#include <commctrl.h>

#include "Completion.h"
#include "ErrorBox.h"
#include "WideText.h"

namespace dnl::win32 {
namespace {

void ReportChange(HWND combo) {
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

// After a free edit of the text: no item is selected any more, the text and caret stay.
void ShowNoItemKeepingText(HWND combo, HWND edit) {
    const std::wstring shown = WindowText(edit);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);  // clears the field
    SetWindowTextW(edit, shown.c_str());
    SendMessageW(edit, EM_SETSEL, start, end);
}

// Lets the edit field handle `message`; reports a change of its text as a free edit. An edit
// that sends itself another message (Ctrl+V sends WM_PASTE) is reported once.
LRESULT FreeEdit(HWND combo, HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    static int depth = 0;
    const std::wstring before = WindowText(edit);
    ++depth;
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    --depth;
    if (depth == 0 && WindowText(edit) != before) {
        ShowNoItemKeepingText(combo, edit);
        ReportChange(combo);
    }
    return result;
}

// A typed character: the text left of the selection (or caret) and `typed` select the first item
// they start; otherwise the character is typed as usual.
LRESULT TypeCharacter(HWND combo, HWND edit, WPARAM wParam, LPARAM lParam) {
    DWORD start = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const std::wstring typed = WindowText(edit).substr(0, start) + static_cast<wchar_t>(wParam);
    const int found = CompletingItem(Items(combo), Utf8FromWide(typed));
    if (found < 0) {
        return FreeEdit(combo, edit, WM_CHAR, wParam, lParam);
    }
    const bool changed = found != SendMessageW(combo, CB_GETCURSEL, 0, 0);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    SendMessageW(edit, EM_SETSEL, typed.size(), -1);  // the completed rest, selected
    if (changed) {
        ReportChange(combo);
    }
    return 0;
}

LRESULT OnChar(HWND combo, HWND edit, WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
        case VK_TAB:
        case VK_ESCAPE:
        case VK_RETURN:
            return DefSubclassProc(edit, WM_CHAR, wParam, lParam);
        case VK_BACK: {
            // Removes the selected completion, or else the character left of the caret; even
            // when nothing is left to remove, no item stays selected.
            const LRESULT result = DefSubclassProc(edit, WM_CHAR, wParam, lParam);
            ShowNoItemKeepingText(combo, edit);
            ReportChange(combo);
            return result;
        }
        default:
            return wParam < L' ' || wParam == 0x7F ? FreeEdit(combo, edit, WM_CHAR, wParam, lParam)
                                                   : TypeCharacter(combo, edit, wParam, lParam);
    }
}

bool IsEditingMessage(UINT message, WPARAM wParam) {
    return message == WM_PASTE || message == WM_CUT || message == WM_CLEAR || message == WM_UNDO ||
           message == EM_UNDO || (message == WM_KEYDOWN && wParam == VK_DELETE);
}

LRESULT CALLBACK CompletingEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR /*id*/, DWORD_PTR comboData) {
    auto* const combo = reinterpret_cast<HWND>(comboData);
    LRESULT result = 0;
    const bool handled = message == WM_CHAR || IsEditingMessage(message, wParam);
    if (!handled) {
        if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(edit, CompletingEditProc, 0);
        }
        return DefSubclassProc(edit, message, wParam, lParam);
    }
    ShowingErrors(GetAncestor(edit, GA_ROOT), [&] {
        result = message == WM_CHAR ? OnChar(combo, edit, wParam, lParam)
                                    : FreeEdit(combo, edit, message, wParam, lParam);
    });
    return result;
}

}  // namespace

void MakeCompleting(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    SetWindowSubclass(info.hwndItem, CompletingEditProc, 0, reinterpret_cast<DWORD_PTR>(combo));
}

void ClearItemsKeepingText(HWND combo) {
    const std::wstring shown = WindowText(combo);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    SetWindowTextW(combo, shown.c_str());
}

std::vector<std::string> Items(HWND combo) {
    std::vector<std::string> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, row, 0)),
                          L'\0');
        SendMessageW(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()));
        items.push_back(Utf8FromWide(text));
    }
    return items;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace dnl::win32
