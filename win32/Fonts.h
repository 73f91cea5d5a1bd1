#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "WindowDesign.h"

namespace dnl::win32 {

// The window's fonts for one DPI, deleted when they go. Where a designed font is not installed
// (Wine has neither Courier New nor MS Gothic) the nearest one that is stands in.
class WindowFonts {
public:
    explicit WindowFonts(UINT dpi);
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    // The window's and the larger one "Courier New", Western; the memo's "MS Gothic", Shift-JIS.
    HFONT For(FontRole role) const { return m_byRole[static_cast<std::size_t>(role)]; }
    // The system's tooltip font for the module list's Japanese tip; where it has no Japanese
    // characters (as Wine's has not), a Japanese font of its size stands in.
    HFONT Tip() const { return m_tip; }

private:
    std::array<HFONT, 3> m_byRole;  // Window, Large, Memo
    HFONT m_tip;
};

}  // namespace dnl::win32
