// The Win32 window as it first appears, and as module choices, typed text, resizing and a change
// of DPI change it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <map>

#include "CompletingCombo.h"
#include "Design.h"
#include "MemoControl.h"
#include "WideText.h"
#include "WindowDesign.h"
#include "WindowDriver.h"
#include "resource.h"

namespace dnl::test {
namespace {

// The window classes of Label, Rule, Memo, DropDownList, PushButton and CheckBox.
const wchar_t* const kClassOfKind[] = {L"Static",   L"Static", win32::kMemoClass,
                                       L"ComboBox", L"Button", L"Button"};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font.lfHeight;
}

std::wstring MenuText(HMENU menu, int item) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(item), text, 64, MF_BYPOSITION);
    return (text[0] != 0 ? text : L"-") + std::wstring(L"#") +
           std::to_wstring(static_cast<int>(GetMenuItemID(menu, item)));
}

// "caption#identifier" of each menu (-1) followed by its items ("-#0" for a separator).
std::vector<std::wstring> MenuTexts(HMENU bar) {
    std::vector<std::wstring> texts;
    for (int menu = 0; menu < GetMenuItemCount(bar); ++menu) {
        texts.push_back(MenuText(bar, menu));
        for (int item = 0; item < GetMenuItemCount(GetSubMenu(bar, menu)); ++item) {
            texts.push_back(MenuText(GetSubMenu(bar, menu), item));
        }
    }
    return texts;
}

// The same for the design, with the identifiers WM_COMMAND carries.
std::vector<std::wstring> DesignedMenuTexts() {
    const std::map<std::string_view, int> ids{{"mnuFileOpen", IDM_mnuFileOpen},
                                              {"mnuFileExit", IDM_mnuFileExit},
                                              {"mnuHelpAbout", IDM_mnuHelpAbout}};
    std::vector<std::wstring> texts;
    for (const MenuEntry& entry : kMenuEntries) {
        const int id = entry.opensMenu ? -1 : (entry.caption == "-" ? 0 : ids.at(entry.name));
        texts.push_back(Wide(entry.caption) + L"#" + std::to_wstring(id));
    }
    return texts;
}

// The name a screen reader gives `control`, through Active Accessibility.
std::wstring AccessibleName(HWND control) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&object));
    BSTR name = nullptr;
    if (object == nullptr ||
        object->get_accName({{{VT_I4, 0, 0, 0, {CHILDID_SELF}}}}, &name) != S_OK) {
        return L"(none)";
    }
    std::wstring text = name;
    SysFreeString(name);
    object->Release();
    return text;
}

int CaptionWidth(HWND control) {
    const std::wstring caption = Text(control);
    HDC context = GetDC(control);
    SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &extent);
    ReleaseDC(control, context);
    return extent.cx;
}

// What Wine's check box draws before its caption at `dpi`: the box, then half a digit's width.
int CheckBoxBeforeCaption(HWND box, UINT dpi) {
    HDC context = GetDC(box);
    SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    INT digit = 0;
    GetCharWidth32W(context, L'0', L'0', &digit);
    ReleaseDC(box, context);
    return MulDiv(12, static_cast<int>(dpi), 96) + 1 + digit / 2;
}

class Win32WindowTest : public ::testing::Test {
protected:
    WindowUnderTest m_ui;
};

TEST_F(Win32WindowTest, StartsAsDesignedAtNinetySixDpi) {
    ASSERT_EQ(GetDpiForWindow(m_ui.window), 96u);
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(m_ui.window)),
              DPI_AWARENESS_PER_MONITOR_AWARE);
    SIZE ideal{};  // only the buttons of the version 6 common controls know their ideal size
    EXPECT_TRUE(SendMessageW(m_ui.Control(IDC_btnConvert), BCM_GETIDEALSIZE, 0,
                             reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_EQ(ClassOf(m_ui.window), Wide(kWindowClass));
    EXPECT_EQ(Text(m_ui.window), Wide(kWindowTitle));
    EXPECT_EQ(ClientSize(m_ui.window), (Size{kWindowPlacement.width, kWindowPlacement.height}));
    EXPECT_EQ(GetClassLongPtrW(m_ui.window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    // In z-order: the tab order, each label directly before its list.
    HWND control = GetWindow(m_ui.window, GW_CHILD);
    for (const std::size_t index : CreationOrder()) {
        const ControlDesign& design = kWindowControls[index];
        SCOPED_TRACE(design.name);
        ASSERT_EQ(control, m_ui.Control(win32::ControlId(index)));
        EXPECT_EQ(ClassOf(control), kClassOfKind[static_cast<int>(design.kind)]);
        if (design.kind != ControlKind::DropDownList && design.kind != ControlKind::Memo) {
            EXPECT_EQ(Text(control), Wide(design.caption));
        }
        EXPECT_EQ(Bounds(control), design.bounds);
        EXPECT_EQ(IsWindowEnabled(control) == FALSE, design.Has(kDisabled));
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        EXPECT_EQ((style & WS_TABSTOP) != 0, design.Has(kTabStop));
        EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED, design.Has(kChecked));
        EXPECT_EQ(design.kind == ControlKind::CheckBox && (style & BS_LEFTTEXT) != 0,
                  design.Has(kCaptionLeft));
        EXPECT_EQ(FontHeight(control), -FontPixels(design.font));
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(Text(m_ui.Control(IDC_mmStatus)), L"\r\n");
    EXPECT_EQ(win32::Items(m_ui.Control(IDC_cbModule)),
              (std::vector<std::string>{"RQX4", "LM5", "PZK2", "TNWQ8", "JSRY3"}));
    EXPECT_EQ(Text(m_ui.Control(IDC_cbModule)), L"RQX4");
    EXPECT_EQ(win32::Items(m_ui.Control(IDC_cbMiscRec)),
              (std::vector<std::string>{"NTSC", "NTSC NSU", "PAL"}));
    EXPECT_EQ(Text(m_ui.Control(IDC_cbMiscRec)), L"NTSC");
    EXPECT_EQ(MenuTexts(GetMenu(m_ui.window)), DesignedMenuTexts());
}

// Screen readers name each list by its label, whatever item it shows.
TEST_F(Win32WindowTest, ScreenReadersNameEachListByItsLabel) {
    m_ui.Pick(IDC_cbModule, 3);
    for (const ControlDesign& design : kWindowControls) {
        if (!design.names.empty()) {
            EXPECT_EQ(AccessibleName(m_ui.Control(win32::ControlId(ControlIndex(design.names)))),
                      Wide(design.caption));
        }
    }
    EXPECT_EQ(AccessibleName(m_ui.Control(IDC_btnConvert)), L"Execute");
}

// Logged lines keep each a line of their own after text the user typed into the memo.
TEST_F(Win32WindowTest, MemoKeepsTypedTextOnItsOwnLine) {
    auto* frmMain = win32::TfrmMain::FromHandle(m_ui.window);
    frmMain->AddLine("Start...");
    for (const wchar_t typed : std::wstring_view(L"my note")) {
        SendMessageW(m_ui.Control(IDC_mmStatus), WM_CHAR, typed, 1);
    }
    frmMain->AddLine("Finished");
    EXPECT_EQ(Text(m_ui.Control(IDC_mmStatus)), L"\r\nStart...\r\nmy note\r\nFinished\r\n");
}

TEST_F(Win32WindowTest, HoveringOverTheModuleListShowsItsTip) {
    RECT list{};
    GetWindowRect(m_ui.Control(IDC_cbModule), &list);
    SetCursorPos((list.left + list.right) / 2, (list.top + list.bottom) / 2);
    HWND tip = nullptr;
    for (int wait = 0; wait < 100 && IsWindowVisible(tip) == FALSE; ++wait) {
        Sleep(20);
        Pump(m_ui.window);
        tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    }
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(Text(tip), Wide(kWindowControls[ControlIndex("cbModule")].tip));
}

TEST_F(Win32WindowTest, ResizeAndDpiChangeMoveTheControls) {
    RECT frame{};
    GetWindowRect(m_ui.window, &frame);
    SetWindowPos(m_ui.window, nullptr, 0, 0, 200 + (frame.right - frame.left),
                 305 + (frame.bottom - frame.top), SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(ClientSize(m_ui.window), (Size{642, 610}));
    EXPECT_EQ(Bounds(m_ui.Control(IDC_mmStatus)), (Rect{0, 290, 640, 209}));
    EXPECT_EQ(Bounds(m_ui.Control(IDC_Panel1)), (Rect{0, 1, 640, 2}));
    EXPECT_EQ(Bounds(m_ui.Control(IDC_cbModule)), (Rect{8, 32, 113, 23}));

    RECT suggested{0, 0, 1100, 900};
    SendMessageW(m_ui.window, WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(Bounds(m_ui.Control(IDC_cbModule)), (Rect{16, 64, 226, 46}));
    EXPECT_EQ(Bounds(m_ui.Control(IDC_btnConvert)), (Rect{720, 64, 150, 50}));
    EXPECT_EQ(FontHeight(m_ui.Control(IDC_cbGBR)), -32);
}

// At every scale the window supports each caption fits its control whole; a control grows away
// from its check box, so the backup box stays where designed, right of its caption.
TEST_F(Win32WindowTest, CaptionsFitAtEveryDpi) {
    for (const UINT dpi : {96U, 120U, 144U, 168U, 192U}) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 1100, 900};
        SendMessageW(m_ui.window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        const Rect label1 = Bounds(m_ui.Control(IDC_Label1));
        const Rect label2 = Bounds(m_ui.Control(IDC_Label2));
        EXPECT_GE(label1.width, CaptionWidth(m_ui.Control(IDC_Label1)));
        EXPECT_GE(label2.width, CaptionWidth(m_ui.Control(IDC_Label2)));
        EXPECT_EQ(label1.left, MulDiv(8, static_cast<int>(dpi), 96));
        EXPECT_LT(label1.left + label1.width, label2.left);
        for (const int id : {IDC_cbBackupDnl, IDC_cbGBR}) {
            HWND box = m_ui.Control(id);
            EXPECT_GE(Bounds(box).width, CheckBoxBeforeCaption(box, dpi) + CaptionWidth(box)) << id;
        }
        const Rect backup = Bounds(m_ui.Control(IDC_cbBackupDnl));
        EXPECT_EQ(backup.left + backup.width,
                  MulDiv(312, static_cast<int>(dpi), 96) + MulDiv(121, static_cast<int>(dpi), 96));
    }
}

TEST_F(Win32WindowTest, SelectModuleForEachModule) {
    // module, MISC rows, MISC text shown, GBR box enabled
    const std::tuple<int, std::size_t, const wchar_t*, bool> cases[] = {{2, 14, L"NTSC NSU", false},
                                                                        {1, 0, L"NTSC NSU", false},
                                                                        {3, 19, L"1080/60i", true},
                                                                        {4, 4, L"720/50p", false},
                                                                        {0, 3, L"NTSC", false}};
    HWND misc = m_ui.Control(IDC_cbMiscRec);
    for (const auto& [module, rows, shown, gbr] : cases) {
        m_ui.Pick(IDC_cbModule, module);
        SCOPED_TRACE(module);
        EXPECT_EQ(m_ui.State().moduleIndex, module);
        EXPECT_EQ(win32::Items(misc).size(), rows);
        EXPECT_EQ(Text(misc), shown);
        EXPECT_EQ(IsWindowEnabled(misc) != FALSE, rows > 0);
        EXPECT_EQ(IsWindowEnabled(m_ui.Control(IDC_cbGBR)) != FALSE, gbr);
    }
    // The GBR box keeps its mark while disabled, and TNWQ8 reads it back.
    m_ui.Pick(IDC_cbModule, 3);
    SendMessageW(m_ui.Control(IDC_cbGBR), BM_CLICK, 0, 0);
    m_ui.Pick(IDC_cbModule, 2);
    m_ui.Pick(IDC_cbMiscRec, 8);
    EXPECT_EQ(m_ui.State().miscValue, 0x0100);
    m_ui.Pick(IDC_cbModule, 3);
    EXPECT_TRUE(m_ui.State().gbr);
    EXPECT_EQ(m_ui.State().miscValue, 0x0800);
}

TEST_F(Win32WindowTest, TypedCharactersCompleteAndBackspaceSelectsNoItem) {
    HWND misc = m_ui.Control(IDC_cbMiscRec);
    m_ui.Pick(IDC_cbMiscRec, 1);
    m_ui.Type(IDC_cbMiscRec, L"n");
    EXPECT_EQ(Text(misc), L"NTSC");
    EXPECT_EQ(Selection(misc), (std::pair<DWORD, DWORD>(1, 4)));  // the completion, selected
    EXPECT_EQ(m_ui.State().miscValue, 0x0000);
    m_ui.Type(IDC_cbMiscRec, L"TSC ", false);
    EXPECT_EQ(Text(misc), L"NTSC NSU");
    EXPECT_EQ(m_ui.State().miscValue, 0x0001);
    m_ui.Type(IDC_cbMiscRec, L"\b", false);  // removes the completion "NSU"
    EXPECT_EQ(Text(misc), L"NTSC ");
    EXPECT_EQ(SendMessageW(misc, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_FALSE(m_ui.State().miscChosen);

    m_ui.Type(IDC_cbModule, L"tz");
    EXPECT_EQ(Text(m_ui.Control(IDC_cbModule)), L"Tz");
    EXPECT_EQ(m_ui.State().moduleIndex, 255);
    EXPECT_FALSE(IsWindowEnabled(misc));
    m_ui.Type(IDC_cbModule, L"\bnw", false);
    EXPECT_EQ(m_ui.State().moduleIndex, 3);
}

// The program itself at twice the scale (where Wine keeps it) on this 1280x1024 display: where
// designed, its window would reach past the right edge; it opens moved left just enough to fit.
TEST(Win32ScaledWindowTest, OpensWithinTheWorkAreaAtTwiceTheScale) {
    const wchar_t* fonts =
        L"System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts";
    const DWORD scaled = 192;
    const DWORD designed = 96;  // the test prefix's own
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, fonts, L"LogPixels", REG_DWORD, &scaled, sizeof scaled);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const std::wstring program = L"Z:" + Wide(DNL_DNLTRANSFER_PATH);
    const BOOL ran = CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                    nullptr, &startup, &started);
    WaitForInputIdle(started.hProcess, 30'000);  // its window is up, its message loop waiting
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, fonts, L"LogPixels", REG_DWORD, &designed, sizeof designed);
    ASSERT_TRUE(ran);
    HWND window = FindWindowW(Wide(kWindowClass).c_str(), nullptr);
    RECT frame{};
    GetWindowRect(window, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(ClientSize(window), (Size{884, 610}));
    EXPECT_GT(kWindowPlacement.left + (frame.right - frame.left), monitor.rcWork.right);
    EXPECT_EQ(frame.right, monitor.rcWork.right);
    EXPECT_EQ(frame.top, kWindowPlacement.top);
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(started.hProcess, 30'000);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

}  // namespace
}  // namespace dnl::test
