#pragma once

#include <windows.h>

#include "Anchoring.h"

namespace dnl::win32 {

// The main window as designed at 96 DPI: its client area and its controls, in creation order,
// which is the z-order and so the tab order of those with WS_TABSTOP.
inline constexpr Size kClientSize{442, 305};
inline constexpr POINT kWindowPosition{547, 263};

// The side a control grows to where its caption, in the font of another DPI, needs more width than
// its designed width scaled: away from a check box's box, which stays where designed. Character
// widths go by whole pixels and do not scale with the DPI as the rest does.
enum class CaptionGrowth { None, ToRight, ToLeft };

struct ControlDesign {
    int id;
    const wchar_t* windowClass;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    Rect bounds;  // in the client area; a drop-down list's height is that of its closed field
    bool anchoredLeftRight;
    CaptionGrowth captionGrowth = CaptionGrowth::None;
    int captionWidth = 0;  // at 96 DPI, in its font; the rest of its width (a box, a gap) scales
};

extern const ControlDesign kControls[9];

// `value` designed at 96 DPI, at `dpi`.
inline int Scaled(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), 96);
}

inline Rect Scaled(const Rect& rect, UINT dpi) {
    return {Scaled(rect.left, dpi), Scaled(rect.top, dpi), Scaled(rect.width, dpi),
            Scaled(rect.height, dpi)};
}

}  // namespace dnl::win32
