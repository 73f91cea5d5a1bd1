// The Win32 window as it first appears, and as module choices and typed text change it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "CompletingCombo.h"
#include "WindowDriver.h"
#include "resource.h"

namespace dnl::test {
namespace {

struct Designed {
    int id;
    const wchar_t* windowClass;
    const wchar_t* caption;
    Rect bounds;
    bool enabled;
    int checked;  // BM_GETCHECK of the check boxes, -1 for the others
};

// In z-order, which is the tab order of those with WS_TABSTOP.
const Designed kDesigned[] = {
    {IDC_Label1, L"Static", L"Select Module:", {8, 16, 98, 15}, true, -1},
    {IDC_Label2, L"Static", L"Misc Record:", {128, 16, 84, 15}, true, -1},
    {IDC_Panel1, L"Static", L"", {0, 0, 440, 2}, true, -1},
    {IDC_mmStatus, L"Edit", L"\r\n", {0, 93, 440, 209}, true, -1},
    {IDC_cbModule, L"ComboBox", L"RQX4", {8, 32, 113, 23}, true, -1},
    {IDC_btnConvert, L"Button", L"Execute", {360, 32, 75, 25}, false, -1},
    {IDC_cbBackupDnl, L"Button", L"backup original", {312, 8, 121, 17}, true, BST_CHECKED},
    {IDC_cbMiscRec, L"ComboBox", L"NTSC", {128, 32, 169, 23}, true, -1},
    {IDC_cbGBR, L"Button", L"GBR", {144, 64, 57, 17}, false, BST_UNCHECKED},
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

class Win32WindowTest : public ::testing::Test {
protected:
    WindowUnderTest m_ui;
};

TEST_F(Win32WindowTest, ControlsAsDesignedAtNinetySixDpi) {
    ASSERT_EQ(GetDpiForWindow(m_ui.window), 96u);
    EXPECT_EQ(ClassOf(m_ui.window), L"TfrmMain");
    EXPECT_EQ(Text(m_ui.window), L"dnl File transfer Tool");
    RECT client{};
    GetClientRect(m_ui.window, &client);
    EXPECT_EQ(client.right, 442);
    EXPECT_EQ(client.bottom, 305);
    EXPECT_EQ(GetClassLongPtrW(m_ui.window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);

    std::vector<int> tabOrder;
    HWND control = GetWindow(m_ui.window, GW_CHILD);
    for (const Designed& designed : kDesigned) {
        SCOPED_TRACE(designed.id);
        ASSERT_EQ(control, m_ui.Control(designed.id));
        EXPECT_EQ(ClassOf(control), designed.windowClass);
        EXPECT_EQ(Text(control), designed.caption);
        EXPECT_EQ(Bounds(control), designed.bounds);
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, designed.enabled);
        if (designed.checked >= 0) {
            EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), designed.checked);
        }
        if ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0) {
            tabOrder.push_back(designed.id);
        }
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(tabOrder, (std::vector<int>{IDC_mmStatus, IDC_cbModule, IDC_btnConvert,
                                          IDC_cbBackupDnl, IDC_cbMiscRec, IDC_cbGBR}));
    EXPECT_NE(GetWindowLongW(m_ui.Control(IDC_cbBackupDnl), GWL_STYLE) & BS_LEFTTEXT, 0);
    EXPECT_EQ(win32::Items(m_ui.Control(IDC_cbModule)),
              (std::vector<std::string>{"RQX4", "LM5", "PZK2", "TNWQ8", "JSRY3"}));
    EXPECT_EQ(win32::Items(m_ui.Control(IDC_cbMiscRec)),
              (std::vector<std::string>{"NTSC", "NTSC NSU", "PAL"}));
}

TEST_F(Win32WindowTest, FontsMenuAndTooltip) {
    const std::pair<int, LONG> heights[] = {
        {IDC_Label1, -12}, {IDC_cbModule, -12}, {IDC_mmStatus, -12}, {IDC_cbGBR, -16}};
    for (const auto& [id, height] : heights) {
        EXPECT_EQ(FontOf(m_ui.Control(id)).lfHeight, height) << id;
    }
    EXPECT_EQ(FontOf(m_ui.Control(IDC_mmStatus)).lfCharSet, SHIFTJIS_CHARSET);

    HMENU menu = GetMenu(m_ui.window);
    std::vector<std::wstring> texts;
    for (HMENU popup : {GetSubMenu(menu, 0), GetSubMenu(menu, 1)}) {
        for (int item = 0; item < GetMenuItemCount(popup); ++item) {
            wchar_t text[64] = {};
            GetMenuStringW(popup, static_cast<UINT>(item), text, 64, MF_BYPOSITION);
            texts.emplace_back(text[0] != 0 ? text : L"-");
        }
    }
    EXPECT_EQ(texts,
              (std::vector<std::wstring>{L"Open(&O)...", L"-", L"Exit(&X)", L"About Varnok..."}));
    wchar_t title[16] = {};
    GetMenuStringW(menu, 1, title, 16, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(title), L"Help(&H)");

    HWND tooltip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    while (tooltip != nullptr && GetWindow(tooltip, GW_OWNER) != m_ui.window) {
        tooltip = FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr);
    }
    ASSERT_NE(tooltip, nullptr);
    wchar_t tip[64] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = m_ui.window;
    tool.uId = reinterpret_cast<UINT_PTR>(m_ui.Control(IDC_cbModule));
    tool.lpszText = tip;
    SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(tip), L"どのモジュール用のDNLファイルにするか指定します");
}

TEST_F(Win32WindowTest, MemoAndRuleFollowTheWidthAndKeepTheirCentre) {
    RECT frame{};
    GetWindowRect(m_ui.window, &frame);
    SetWindowPos(m_ui.window, nullptr, 0, 0, 200 + (frame.right - frame.left),
                 305 + (frame.bottom - frame.top), SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(m_ui.window, &client);
    ASSERT_EQ(client.right, 642);
    ASSERT_EQ(client.bottom, 610);
    EXPECT_EQ(Bounds(m_ui.Control(IDC_mmStatus)), (Rect{0, 290, 640, 209}));
    EXPECT_EQ(Bounds(m_ui.Control(IDC_Panel1)), (Rect{0, 1, 640, 2}));
    EXPECT_EQ(Bounds(m_ui.Control(IDC_cbModule)), (Rect{8, 32, 113, 23}));
}

TEST_F(Win32WindowTest, SelectModuleForEachModule) {
    struct Case {
        int row;
        std::size_t formats;
        const wchar_t* shown;
        bool gbrEnabled;
    };
    const Case cases[] = {{2, 14, L"NTSC NSU", false},
                          {1, 0, L"NTSC NSU", false},
                          {3, 19, L"1080/60i", true},
                          {4, 4, L"720/50p", false},
                          {0, 3, L"NTSC", false}};
    HWND misc = m_ui.Control(IDC_cbMiscRec);
    for (const Case& c : cases) {
        m_ui.Pick(IDC_cbModule, c.row);
        SCOPED_TRACE(c.row);
        EXPECT_EQ(m_ui.State().moduleIndex, c.row);
        EXPECT_EQ(win32::Items(misc).size(), c.formats);
        EXPECT_EQ(Text(misc), c.shown);
        EXPECT_EQ(IsWindowEnabled(misc) != FALSE, c.formats > 0);
        EXPECT_EQ(IsWindowEnabled(m_ui.Control(IDC_cbGBR)) != FALSE, c.gbrEnabled);
    }
    // The GBR box keeps its mark while disabled, and TNWQ8 reads it back.
    m_ui.Pick(IDC_cbModule, 3);
    SendMessageW(m_ui.Control(IDC_cbGBR), BM_CLICK, 0, 0);
    EXPECT_TRUE(m_ui.State().gbr);
    m_ui.Pick(IDC_cbModule, 2);
    m_ui.Pick(IDC_cbMiscRec, 8);
    EXPECT_EQ(m_ui.State().miscValue, 0x0100);
    m_ui.Pick(IDC_cbModule, 3);
    EXPECT_EQ(SendMessageW(m_ui.Control(IDC_cbGBR), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(m_ui.State().gbr);
    EXPECT_EQ(m_ui.State().miscValue, 0x0800);
}

TEST_F(Win32WindowTest, TypedTextCompletesWithTheFirstItemIgnoringCase) {
    HWND misc = m_ui.Control(IDC_cbMiscRec);
    m_ui.Pick(IDC_cbMiscRec, 1);
    m_ui.Type(IDC_cbMiscRec, L"n");
    DWORD start = 0;
    DWORD end = 0;
    COMBOBOXINFO list{};
    list.cbSize = sizeof list;
    GetComboBoxInfo(misc, &list);
    SendMessageW(list.hwndItem, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(Text(misc), L"NTSC");
    EXPECT_EQ(std::pair(start, end), std::pair(1UL, 4UL));  // "TSC", the completion, selected
    EXPECT_EQ(SendMessageW(misc, CB_GETCURSEL, 0, 0), 0);
    m_ui.Type(IDC_cbMiscRec, L"TSC ", false);
    EXPECT_EQ(Text(misc), L"NTSC NSU");
    EXPECT_EQ(m_ui.State().miscValue, 0x0001);

    m_ui.Type(IDC_cbMiscRec, L"pa");
    EXPECT_EQ(Text(misc), L"PAL");
    EXPECT_EQ(m_ui.State().miscValue, 0x0000);
    EXPECT_TRUE(m_ui.State().miscChosen);
    m_ui.Type(IDC_cbMiscRec, L"\bx", false);  // Backspace drops the "L" completion
    EXPECT_EQ(Text(misc), L"PAx");
    EXPECT_EQ(SendMessageW(misc, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_FALSE(m_ui.State().miscChosen);

    m_ui.Type(IDC_cbModule, L"tz");
    EXPECT_EQ(Text(m_ui.Control(IDC_cbModule)), L"Tz");
    EXPECT_EQ(m_ui.State().moduleIndex, 255);
    EXPECT_FALSE(IsWindowEnabled(misc));
    m_ui.Type(IDC_cbModule, L"\b", false);
    EXPECT_EQ(Text(m_ui.Control(IDC_cbModule)), L"T");
    EXPECT_EQ(m_ui.State().moduleIndex, 255);
    m_ui.Type(IDC_cbModule, L"l");
    EXPECT_EQ(m_ui.State().moduleIndex, 1);
}

}  // namespace
}  // namespace dnl::test
