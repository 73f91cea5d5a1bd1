// The status memo's own control in the real window: what the user's keys, clicks and menu do to
// its text and the clipboard, where it wraps, how it scrolls to appended lines, and Tab.
#include <windows.h>

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "MemoControl.h"
#include "TfrmMain.h"
#include "WindowDriver.h"
#include "resource.h"

namespace dnl::test {
namespace {

constexpr const wchar_t* kLog = L"\r\nStart...\r\nFinished\r\n";

std::wstring ClipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr) != FALSE) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

int LineHeight(HWND memo) {
    HDC context = GetDC(memo);
    const HGDIOBJ previous =
        SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(memo, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    SelectObject(context, previous);
    ReleaseDC(memo, context);
    return metrics.tmHeight;
}

// One message to the memo; a mouse message's place is in rows and pixels, and a key may come with
// Shift or Ctrl held. WM_CONTEXTMENU opens the menu from the keyboard and picks the item whose
// letter is `wParam`.
struct Step {
    UINT message;
    WPARAM wParam = 0;
    int row = 0;
    int x = 0;
    BYTE held = 0;
};

Step With(BYTE held, WPARAM key) {
    return {WM_KEYDOWN, key, 0, 0, held};
}

void Hold(BYTE key, bool held) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[key] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

void Perform(const WindowUnderTest& ui, const std::vector<Step>& steps) {
    HWND memo = ui.Control(IDC_mmStatus);
    SetFocus(memo);
    const int lineHeight = LineHeight(memo);
    for (const Step& step : steps) {
        const LPARAM where = MAKELPARAM(step.x, step.row * lineHeight + lineHeight / 2);
        if (step.message == WM_CONTEXTMENU) {
            // Taken by the menu's own loop; Escape closes a menu that took no item.
            PostMessageW(memo, WM_CHAR, step.wParam, 0);
            PostMessageW(memo, WM_KEYDOWN, VK_ESCAPE, 0);
            SendMessageW(memo, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(memo), -1);
        } else {
            const bool mouse = step.message >= WM_MOUSEFIRST && step.message <= WM_MOUSELAST;
            PostMessageW(memo, step.message, step.wParam, mouse ? where : 0);
        }
        Hold(step.held, true);
        Pump(ui.window);
        Hold(step.held, false);
    }
}

class Win32MemoTest : public ::testing::Test {
protected:
    WindowUnderTest m_ui;
};

TEST_F(Win32MemoTest, KeysClicksAndMenuEditTheTextAsAnEditBoxDoes) {
    const Step down{WM_LBUTTONDOWN, MK_LBUTTON, 1, 1};
    const Step word{WM_LBUTTONDBLCLK, MK_LBUTTON, 1, 5};
    const Step up{WM_LBUTTONUP};
    const auto chars = [](wchar_t first, wchar_t second) {
        return std::vector<Step>{{WM_CHAR, first}, {WM_CHAR, second}};
    };
    const struct {
        std::vector<Step> steps;
        const wchar_t* text;
        const wchar_t* clipboard;
    } cases[] = {
        // clang-format off
        {chars(L'a', L'b'), L"ab\r\nStart...\r\nFinished\r\n", L""},
        {{{WM_CHAR, L'a'}, {WM_CHAR, L'b'}, {WM_CHAR, 0x1A}}, kLog, L""},
        {{word, up, {WM_CHAR, 0x18}}, L"\r\n\r\nFinished\r\n", L"Start..."},
        {{word, up, {WM_CHAR, 0x03}, {WM_KEYDOWN, VK_DOWN}, {WM_CHAR, 0x16}},
         L"\r\nStart...\r\nFinishedStart...\r\n", L"Start..."},
        {{down, {WM_MOUSEMOVE, MK_LBUTTON, 2, 400}, up, {WM_CHAR, 0x03}}, kLog,
         L"Start...\r\nFinished"},
        {{{WM_LBUTTONDOWN, MK_LBUTTON, 2, 1}, up, {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 1, 400},
          up, {WM_CHAR, 0x03}, {WM_KEYDOWN, VK_DELETE}}, L"\r\nStart...Finished\r\n", L"\r\n"},
        {chars(0x01, L'\b'), L"", L""},
        // Nothing to paste keeps the selection; nothing selected to copy keeps the clipboard.
        {chars(0x01, 0x16), kLog, L""},
        {{word, up, {WM_CHAR, 0x03}, down, up, {WM_CHAR, 0x03}}, kLog, L"Start..."},
        {{{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_END}, {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, L'x'}},
         L"\r\nStart...\r\nx\r\nFinished\r\n", L""},
        {{{WM_KEYDOWN, VK_NEXT}, {WM_KEYDOWN, VK_LEFT}, {WM_CHAR, L'z'}},
         L"\r\nStart...\r\nFinishedz\r\n", L""},
        {{{WM_CONTEXTMENU, L'a'}, {WM_CONTEXTMENU, L'c'}, {WM_KEYDOWN, VK_RIGHT},
          {WM_CONTEXTMENU, L'p'}, {WM_CONTEXTMENU, L'u'}}, kLog, kLog},
        {{word, up, {WM_CONTEXTMENU, L't'}, {WM_KEYDOWN, VK_HOME}, {WM_CONTEXTMENU, L'p'}},
         kLog, L"Start..."},
        {{word, up, {WM_CONTEXTMENU, L'd'}}, L"\r\n\r\nFinished\r\n", L""},
        {{{WM_KEYDOWN, VK_DOWN}, With(VK_SHIFT, VK_RIGHT), With(VK_SHIFT, VK_RIGHT),
          {WM_CHAR, 0x03}, With(VK_CONTROL, VK_END), {WM_CHAR, L'q'}},
         L"\r\nStart...\r\nFinished\r\nq", L"St"},
        {{With(VK_CONTROL, VK_END), With(VK_SHIFT, VK_UP), With(VK_SHIFT, VK_HOME),
          {WM_CHAR, 0x18}, With(VK_CONTROL, VK_HOME), With(VK_CONTROL, VK_RIGHT),
          With(VK_CONTROL, VK_RIGHT), {WM_CHAR, L'q'}}, L"\r\nStart...q\r\n", L"Finished\r\n"},
        // clang-format on
    };
    HWND memo = m_ui.Control(IDC_mmStatus);
    for (std::size_t index = 0; index < std::size(cases); ++index) {
        SCOPED_TRACE(index);
        OpenClipboard(nullptr);
        EmptyClipboard();
        CloseClipboard();
        SetWindowTextW(memo, kLog);
        Perform(m_ui, cases[index].steps);
        EXPECT_EQ(Text(memo), cases[index].text);
        EXPECT_EQ(ClipboardText(), cases[index].clipboard);
    }
    SetWindowTextW(memo, kLog);
    wchar_t start[5] = {};
    EXPECT_EQ(GetWindowTextW(memo, start, 5), 4);
    EXPECT_EQ(std::wstring(start), L"\r\nSt");
    EXPECT_EQ(GetWindowTextLengthW(memo), 22);
}

// A line wider than the memo goes on, after a space, on the rows below it.
TEST_F(Win32MemoTest, LongLinesWrapAfterASpace) {
    HWND memo = m_ui.Control(IDC_mmStatus);
    std::wstring line;
    for (int word = 0; word < 40; ++word) {
        line += L"word" + std::to_wstring(word) + L" ";
    }
    SetWindowTextW(memo, line.c_str());
    Perform(m_ui, {{WM_LBUTTONDOWN, MK_LBUTTON, 1, 0}, {WM_LBUTTONUP}, {WM_CHAR, L'|'}});
    const std::wstring text = Text(memo);
    const std::size_t wrap = text.find(L'|');
    ASSERT_NE(wrap, std::wstring::npos);
    ASSERT_GT(wrap, 0U);
    EXPECT_EQ(text[wrap - 1], L' ');
    RECT client{};
    GetClientRect(memo, &client);
    HDC context = GetDC(memo);
    const HGDIOBJ previous =
        SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(memo, WM_GETFONT, 0, 0)));
    SIZE first{};
    SIZE longer{};
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(wrap - 1), &first);
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.find(L' ', wrap)) - 1,
                          &longer);
    SelectObject(context, previous);
    ReleaseDC(memo, context);
    EXPECT_LE(first.cx, client.right);
    EXPECT_GT(longer.cx, client.right - 4);  // the next word would not have fitted
}

// Appended lines scroll the memo to its last line and leave the caret after them; Tab comes to the
// memo without selecting its text and goes on from it.
TEST_F(Win32MemoTest, AppendingScrollsToTheEndAndTabPassesThrough) {
    HWND memo = m_ui.Control(IDC_mmStatus);
    auto* frmMain = win32::TfrmMain::FromHandle(m_ui.window);
    for (int line = 0; line < 300; ++line) {
        frmMain->AddLine("Modified the MISC record to 6145");
    }
    UpdateWindow(m_ui.window);
    SCROLLINFO bar{sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(memo, SB_VERT, &bar);
    EXPECT_EQ(bar.nMax, 301);
    EXPECT_GT(bar.nPos, 0);
    EXPECT_EQ(bar.nPos + static_cast<int>(bar.nPage), bar.nMax + 1);

    SetFocus(m_ui.Control(IDC_cbMiscRec));
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump(m_ui.window);
    ASSERT_EQ(GetFocus(), memo);
    Perform(m_ui, {{WM_CHAR, L'x'}, {WM_KEYDOWN, VK_TAB}});
    EXPECT_TRUE(Text(memo).ends_with(L"6145\r\nx"));
    EXPECT_EQ(m_ui.LoggedLines().size(), 301U);
    EXPECT_NE(GetFocus(), memo);
}

// A screen reader finds the memo as editable text named "Status" whose value is its text.
TEST_F(Win32MemoTest, AccessibleAsStatusText) {
    HWND memo = m_ui.Control(IDC_mmStatus);
    SetWindowTextW(memo, kLog);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(memo, static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    BSTR value = nullptr;
    VARIANT role{};
    EXPECT_EQ(object->get_accName(self, &name), S_OK);
    EXPECT_EQ(object->get_accValue(self, &value), S_OK);
    EXPECT_EQ(object->get_accRole(self, &role), S_OK);
    EXPECT_EQ(std::wstring(name, SysStringLen(name)), L"Status");
    EXPECT_EQ(std::wstring(value, SysStringLen(value)), kLog);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
    SysFreeString(name);
    SysFreeString(value);
    object->Release();
    CoUninitialize();
}

}  // namespace
}  // namespace dnl::test
