#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <string_view>

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

// A device context of `window` with `font` selected (the system font for none), for measuring
// text as the window draws it.
class FontContext {
public:
    FontContext(HWND window, HFONT font);
    ~FontContext();
    FontContext(const FontContext&) = delete;
    FontContext& operator=(const FontContext&) = delete;
    operator HDC() const { return m_context; }

private:
    HWND m_window;
    HDC m_context;
    HGDIOBJ m_previous;
};

// The width of `text` in pixels, in the font selected into `context`.
int WidthOf(HDC context, std::wstring_view text);

}  // namespace dnl::win32
