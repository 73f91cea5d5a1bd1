#pragma once

#include <windows.h>

namespace dnl::win32 {

// The answer to WM_GETOBJECT for the memo's client area: the system's standard object for it, but
// named "Status", in the role of editable text, and with the memo's whole text as its value, so
// that a screen reader says what the memo is and reads what it holds. 0 where the system has no
// standard object to give.
LRESULT AccessibleMemo(HWND memo, WPARAM flags);

}  // namespace dnl::win32
