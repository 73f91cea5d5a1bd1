// The memo's answers to the user: keys, typing, the mouse, the clipboard and the context menu,
// as a Windows edit box gives them.
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "MemoView.h"

namespace dnl::win32 {
namespace {

bool Held(int key) {
    return GetKeyState(key) < 0;
}

// The context menu's items, a separator where one has no text; their identifiers are also the
// commands.
enum Command : UINT { kUndo = 1, kCut, kCopy, kPaste, kDelete, kSelectAll };
const struct {
    Command command;
    const wchar_t* text;
} kMenu[] = {{kUndo, L"&Undo"},
             {},
             {kCut, L"Cu&t"},
             {kCopy, L"&Copy"},
             {kPaste, L"&Paste"},
             {kDelete, L"&Delete"},
             {},
             {kSelectAll, L"Select &All"}};

// The characters Ctrl and a letter type, as commands.
Command CommandOf(wchar_t character) {
    switch (character) {
        case L'\x01':
            return kSelectAll;
        case L'\x03':
            return kCopy;
        case L'\x16':
            return kPaste;
        case L'\x18':
            return kCut;
        case L'\x1A':
            return kUndo;
        default:
            return Command{};
    }
}

std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (OpenClipboard(owner) == FALSE) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
        if (const auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = characters;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (data == nullptr) {
        return;
    }
    if (auto* characters = static_cast<wchar_t*>(GlobalLock(data))) {
        std::copy_n(text.c_str(), text.size() + 1, characters);
        GlobalUnlock(data);
    }
    if (OpenClipboard(owner) == FALSE) {
        GlobalFree(data);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, data) == nullptr) {
        GlobalFree(data);
    }
    CloseClipboard();
}

}  // namespace

LRESULT MemoView::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            OnKey(wParam);
            return 0;
        case WM_CHAR:
            OnChar(static_cast<wchar_t>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            OnMouse(message, wParam, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            m_selecting = false;
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(lParam);
            return 0;
        // Tab goes on to the next control, and coming by Tab selects nothing: the next key would
        // replace the log. Enter types a line break rather than pressing a button.
        case WM_GETDLGCODE: {
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const bool enter =
                key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
            return DLGC_WANTCHARS | DLGC_WANTARROWS | (enter ? DLGC_WANTMESSAGE : 0);
        }
        default:
            return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void MemoView::MoveTo(MemoPosition at, bool extend) {
    m_text.MoveCaret(at, extend);
    m_goalX = -1;
    ScrollToCaret();
}

void MemoView::OnKey(WPARAM key) {
    const bool shift = Held(VK_SHIFT);
    const bool control = Held(VK_CONTROL);
    const MemoPosition caret = m_text.Caret();
    const MemoPosition first = std::min(caret, m_text.Anchor());
    const MemoPosition last = std::max(caret, m_text.Anchor());
    const bool collapse = m_text.HasSelection() && !shift && !control;
    switch (key) {
        case VK_LEFT:
            MoveTo(collapse  ? first
                   : control ? m_text.WordAt(m_text.Before(caret)).first
                             : m_text.Before(caret),
                   shift);
            break;
        case VK_RIGHT: {
            const MemoPosition wordEnd = m_text.WordAt(caret).second;
            MoveTo(collapse                      ? last
                   : control && wordEnd != caret ? wordEnd
                                                 : m_text.After(caret),
                   shift);
            break;
        }
        case VK_UP:
            MoveCaretByRows(-1, shift);
            break;
        case VK_DOWN:
            MoveCaretByRows(1, shift);
            break;
        case VK_PRIOR:
            MoveCaretByRows(-VisibleRows(), shift);
            break;
        case VK_NEXT:
            MoveCaretByRows(VisibleRows(), shift);
            break;
        case VK_HOME:
            MoveTo(control ? MemoPosition{} : RowEdge(caret, false), shift);
            break;
        case VK_END:
            MoveTo(control ? m_text.End() : RowEdge(caret, true), shift);
            break;
        case VK_DELETE:
            shift ? Do(kCut) : Do(kDelete);
            break;
        case VK_INSERT:
            if (control || shift) {
                Do(control ? kCopy : kPaste);
            }
            break;
        default:
            break;
    }
}

void MemoView::OnChar(wchar_t character) {
    if (const Command command = CommandOf(character); command != Command{}) {
        Do(command);
        return;
    }
    if (character == L'\b') {
        m_text.DeleteBackward();
    } else if (character == L'\r') {
        m_text.Type(L"\r\n");
    } else if (character >= L' ' && character != L'\x7F') {
        m_text.Type(std::wstring(1, character));
    } else {
        return;
    }
    MoveTo(m_text.Caret(), false);
}

void MemoView::OnMouse(UINT message, WPARAM keys, LPARAM where) {
    const POINT point{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (message == WM_LBUTTONDOWN) {
        SetFocus(m_window);
        SetCapture(m_window);
        m_selecting = true;
        MoveTo(HitTest(point), (keys & MK_SHIFT) != 0);
    } else if (message == WM_LBUTTONDBLCLK) {
        const auto [start, end] = m_text.WordAt(HitTest(point));
        m_text.MoveCaret(start, false);
        MoveTo(end, true);
    } else if (message == WM_MOUSEMOVE && m_selecting) {
        RECT client{};
        GetClientRect(m_window, &client);
        // Dragging past the top or the bottom scrolls a row at each move.
        ScrollBy(point.y < 0 ? -1 : point.y >= client.bottom ? 1 : 0);
        MoveTo(HitTest(point), true);
    } else if (message == WM_LBUTTONUP && m_selecting) {
        ReleaseCapture();
    }
}

void MemoView::OnContextMenu(LPARAM where) {
    SetFocus(m_window);
    POINT point{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (point.x == -1 && point.y == -1) {  // from the keyboard: at the caret
        GetCaretPos(&point);
        point.y += m_lineHeight;
        ClientToScreen(m_window, &point);
    }
    HMENU menu = CreatePopupMenu();
    for (const auto& item : kMenu) {
        const UINT enabled = Can(item.command) ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu, item.text != nullptr ? MF_STRING | enabled : MF_SEPARATOR, item.command,
                    item.text);
    }
    const auto chosen =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                         point.x, point.y, 0, m_window, nullptr));
    DestroyMenu(menu);
    Do(chosen);
}

bool MemoView::Can(UINT command) const {
    switch (command) {
        case kUndo:
            return m_text.CanUndo();
        case kCut:
        case kCopy:
        case kDelete:
            return m_text.HasSelection();
        case kPaste:
            return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
        case kSelectAll:
            return m_text.SelectedText().size() < m_text.TextLength();
        default:
            return false;
    }
}

void MemoView::Do(UINT command) {
    switch (command) {
        case kUndo:
            m_text.Undo();
            break;
        case kCopy:
            if (m_text.HasSelection()) {
                PutOnClipboard(m_window, m_text.SelectedText());
            }
            return;
        case kCut:
            if (!m_text.HasSelection()) {
                return;
            }
            PutOnClipboard(m_window, m_text.SelectedText());
            m_text.DeleteForward();
            break;
        case kPaste:
            // As in an edit box, nothing to paste leaves the selection alone.
            if (IsClipboardFormatAvailable(CF_UNICODETEXT) == FALSE) {
                return;
            }
            m_text.Paste(ClipboardText(m_window));
            break;
        case kDelete:
            m_text.DeleteForward();
            break;
        case kSelectAll:
            m_text.SelectAll();
            break;
        default:
            return;
    }
    MoveTo(m_text.Caret(), true);
}

}  // namespace dnl::win32
