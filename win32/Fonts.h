#pragma once

#include <windows.h>

namespace dnl::win32 {

// The window's fonts for one DPI, deleted when they go. Where a designed font is not installed
// (Wine has neither Courier New nor MS Gothic) the nearest one that is stands in.
class WindowFonts {
public:
    explicit WindowFonts(UINT dpi);
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    HFONT Window() const { return m_window; }  // "Courier New", 12 pixels, Western
    HFONT Memo() const { return m_memo; }      // "MS Gothic", 12 pixels, Shift-JIS
    HFONT Gbr() const { return m_gbr; }        // "Courier New", 16 pixels, Western
    // The system's tooltip font for the module list's Japanese tip; where it has no Japanese
    // characters (as Wine's has not), a Japanese font of its size stands in.
    HFONT Tip() const { return m_tip; }

private:
    HFONT m_window;
    HFONT m_memo;
    HFONT m_gbr;
    HFONT m_tip;
};

}  // namespace dnl::win32
