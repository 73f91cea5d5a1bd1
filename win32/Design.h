#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "WindowDesign.h"
#include "resource.h"

namespace dnl::win32 {

// How the Win32 controls draw the window's design (WindowDesign.h). The controls are created in the
// design's CreationOrder, which is the z-order: the tab order of those with WS_TABSTOP, and each
// label directly before the list it names, which gives the list its accessible name. A label
// shows no access key: its caption is drawn and measured as it is (SS_NOPREFIX).

// A control's identifier: the design's controls are numbered in order.
constexpr int ControlId(std::size_t index) {
    return IDC_Label1 + static_cast<int>(index);
}

// The window class, styles and first text of the control that draws `design`.
struct ControlClass {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
    std::wstring text;
};

ControlClass ClassFor(const ControlDesign& design);

// The window's menu bar, with its menus and items as designed. The items of all menus are
// numbered in order from IDM_mnuFileOpen, separators left out.
HMENU CreateMainMenu();

// `value` designed at 96 DPI, at `dpi`.
inline int Scaled(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), 96);
}

inline Rect Scaled(const Rect& rect, UINT dpi) {
    return {Scaled(rect.left, dpi), Scaled(rect.top, dpi), Scaled(rect.width, dpi),
            Scaled(rect.height, dpi)};
}

}  // namespace dnl::win32
