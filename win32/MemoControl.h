#pragma once

#include <windows.h>

namespace dnl::win32 {

// The status memo's own window class: a multi-line text box with a vertical scroll bar whose long
// lines wrap, that the user can type into and the program appends to. It holds its lines apart
// from their layout and measures and draws only the rows it shows, so that appending costs by the
// lines added alone, however long the log. It answers WM_SETTEXT, WM_GETTEXT and
// WM_GETTEXTLENGTH with the whole text, lines ended by CR LF, and WM_SETFONT and WM_GETFONT.
inline constexpr wchar_t kMemoClass[] = L"TMemo";

// lParam: a null-terminated text to add after the last character, its lines ended by CR LF. The
// caret goes after it and the memo scrolls to its last line.
inline constexpr UINT kMemoAppend = WM_USER + 1;
// Answers TRUE when the memo's last line is empty.
inline constexpr UINT kMemoLastLineEmpty = WM_USER + 2;

// Registers the class for `instance`; true when it is registered, now or before.
bool RegisterMemoClass(HINSTANCE instance);

}  // namespace dnl::win32
