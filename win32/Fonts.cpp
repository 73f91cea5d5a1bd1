#include "Fonts.h"

#include <cwchar>
#include <initializer_list>
#include <string>

#include "Design.h"

namespace dnl::win32 {
namespace {

int CALLBACK NoteFound(const LOGFONTW* /*font*/, const TEXTMETRICW* /*metrics*/, DWORD /*type*/,
                       LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool IsInstalled(const wchar_t* face, BYTE charset) {
    LOGFONTW wanted{};
    wanted.lfCharSet = charset;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The first of `faces` that is installed for `charset`; the last when none is, for the font
// mapper to match as best it can.
const wchar_t* FirstInstalled(std::initializer_list<const wchar_t*> faces, BYTE charset) {
    for (const wchar_t* face : faces) {
        if (IsInstalled(face, charset)) {
            return face;
        }
    }
    return *(faces.end() - 1);
}

HFONT FixedPitchFont(const wchar_t* face, int pixels, BYTE charset) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, face);
}

const wchar_t* CourierNew() {
    return FirstInstalled({L"Courier New", L"Liberation Mono", L"Courier"}, ANSI_CHARSET);
}

HFONT JapaneseTipFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    LOGFONTW& font = metrics.lfStatusFont;
    font.lfCharSet = SHIFTJIS_CHARSET;
    const wchar_t* face = FirstInstalled(
        {font.lfFaceName, L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic", L"VL Gothic"},
        SHIFTJIS_CHARSET);
    wcsncpy(font.lfFaceName, std::wstring(face).c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

}  // namespace

WindowFonts::WindowFonts(UINT dpi)
    : m_byRole{FixedPitchFont(CourierNew(), Scaled(FontPixels(FontRole::Window), dpi),
                              ANSI_CHARSET),
               FixedPitchFont(CourierNew(), Scaled(FontPixels(FontRole::Large), dpi), ANSI_CHARSET),
               FixedPitchFont(
                   FirstInstalled({L"MS Gothic", L"VL Gothic", L"IPAGothic"}, SHIFTJIS_CHARSET),
                   Scaled(FontPixels(FontRole::Memo), dpi), SHIFTJIS_CHARSET)},
      m_tip(JapaneseTipFont(dpi)) {}

WindowFonts::~WindowFonts() {
    for (HFONT font : m_byRole) {
        DeleteObject(font);
    }
    DeleteObject(m_tip);
}

FontContext::FontContext(HWND window, HFONT font)
    : m_window(window),
      m_context(GetDC(window)),
      m_previous(SelectObject(m_context, font != nullptr ? font : GetStockObject(SYSTEM_FONT))) {}

FontContext::~FontContext() {
    SelectObject(m_context, m_previous);
    ReleaseDC(m_window, m_context);
}

int WidthOf(HDC context, std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(context, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace dnl::win32
