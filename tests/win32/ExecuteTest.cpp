// File > Open in the real common dialog, Execute on real files, and the error box.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <utility>

#include "CommandLine.h"
#include "ErrorBox.h"
#include "MemoControl.h"
#include "TestSupport.h"
#include "Utf8Path.h"
#include "WideText.h"
#include "WindowDriver.h"
#include "resource.h"

namespace dnl::test {
namespace {

const Bytes kRqx4File = Dnl().Name("RQX4").Misc(0x0000).End().bytes;

// The texts of the dialog's controls of `windowClass`, "<icon>" for an icon, each ended by "|".
std::wstring ChildTexts(HWND dialog, const wchar_t* windowClass) {
    std::wstring texts;
    for (HWND child = FindWindowExW(dialog, nullptr, windowClass, nullptr); child != nullptr;
         child = FindWindowExW(dialog, child, windowClass, nullptr)) {
        const bool icon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                          std::wstring(windowClass) == WC_STATICW;
        texts += (icon ? L"<icon>" : Text(child)) + L"|";
    }
    return texts;
}

// What the memo was given in each append while a run held the thread, and whether the hourglass
// showed then. At the first append under the hourglass, `onProgress` acts as the user or the system
// would.
struct DuringRun {
    std::vector<std::string> edits;
    std::vector<bool> busy;
    std::function<void(HWND window)> onProgress;
    bool slowStart = false;  // the run waits after "Start...", as on a slow disk
    bool acted = false;
    bool progressShown = false;
};

LRESULT CALLBACK WatchMemo(HWND memo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                           DWORD_PTR data) {
    if (message == win32::kMemoAppend) {
        auto& seen = *reinterpret_cast<DuringRun*>(data);
        seen.edits.push_back(Utf8FromWide(reinterpret_cast<const wchar_t*>(lParam)));
        seen.busy.push_back(GetCursor() == LoadCursorW(nullptr, IDC_WAIT));
        if (seen.slowStart && seen.edits.back().ends_with("Start...\r\n")) {
            Sleep(200);  // longer than the window waits between showing progress
        }
        if (seen.busy.back() && !seen.acted) {
            // Lines before the last ones, shown while the run goes on.
            seen.progressShown = seen.edits.back().find("Finished") == std::string::npos;
            seen.acted = true;
            seen.onProgress(GetParent(memo));
        }
    }
    return DefSubclassProc(memo, message, wParam, lParam);
}

// Files dropped on `window` as Explorer drops them: a list of names after a DROPFILES header.
void DropFiles(HWND window, const std::wstring& names) {
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + (names.size() + 2) * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    *header = {sizeof(DROPFILES), {}, FALSE, TRUE};
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(drop);
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

// The user clicks Execute again, types into the module list and drops a file.
void ClickAndType(HWND window) {
    HWND button = GetDlgItem(window, IDC_btnConvert);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(button, WM_KEYDOWN, VK_RETURN, 1);
    COMBOBOXINFO list{};
    list.cbSize = sizeof list;
    GetComboBoxInfo(GetDlgItem(window, IDC_cbModule), &list);
    PostMessageW(list.hwndItem, WM_KEYDOWN, 'L', 1);
    PostMessageW(list.hwndItem, WM_CHAR, L'L', 1);
    DropFiles(window, (std::filesystem::current_path() / "Y.dnl").wstring());
}

std::vector<std::string> Lines(const std::vector<std::string>& edits) {
    std::vector<std::string> lines;
    for (const std::string& edit : edits) {
        for (std::size_t start = 0; start < edit.size();) {
            const std::size_t end = edit.find("\r\n", start);
            lines.push_back(edit.substr(start, end - start));
            start = end + 2;
        }
    }
    return lines;
}

class Win32ExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(m_folder.Path() / "one");
        WriteFile(Utf8FromPath(m_dnl), kRqx4File);
    }

    TempDir m_folder;
    std::filesystem::path m_dnl = m_folder.Path() / "one" / "X.Dnl";
    WindowUnderTest m_ui;
};

TEST_F(Win32ExecuteTest, OpenDialogStoresDnlFilesAndEntersTheirFolder) {
    std::wstring filters;
    AnswerDialog([this] { SendMessageW(m_ui.window, WM_COMMAND, IDM_mnuFileOpen, 0); },
                 [&filters](HWND dialog) {
                     filters = ChildTexts(dialog, WC_COMBOBOXW);
                     PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                 });
    EXPECT_NE(filters.find(L"DNLファイル\u3000(*.dnl)|"), std::wstring::npos) << filters;
    EXPECT_FALSE(IsWindowEnabled(m_ui.Control(IDC_btnConvert)));

    m_ui.OpenThroughDialog(m_dnl.wstring());
    EXPECT_EQ(m_ui.State().path, Utf8FromWide(m_dnl.wstring()));
    EXPECT_EQ(std::filesystem::current_path(), m_dnl.parent_path());
    EXPECT_TRUE(IsWindowEnabled(m_ui.Control(IDC_btnConvert)));
    SendMessageW(m_ui.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_ui.Control(IDC_btnConvert)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    m_ui.OpenThroughDialog((m_folder.Path() / "X.txt").wstring());
    EXPECT_EQ(m_ui.State().path, Utf8FromWide(m_dnl.wstring()));
    EXPECT_EQ(Text(m_ui.window), m_dnl.filename().wstring() + L" - dnl File transfer Tool");
    EXPECT_EQ(std::filesystem::current_path(), m_folder.Path());

    // A path longer than the 260 characters of old, typed into the dialog, and converted.
    std::filesystem::path deep = m_folder.Path();
    while ((deep / "Long.dnl").wstring().size() < 294) {
        deep /= "a-folder-deep-down";
    }
    std::filesystem::create_directories(deep);
    WriteFile(Utf8FromPath(deep / "Long.dnl"), kRqx4File);
    m_ui.OpenThroughDialog((deep / "Long.dnl").wstring());
    EXPECT_EQ(m_ui.State().path, Utf8FromWide((deep / "Long.dnl").wstring()));
    m_ui.Pick(IDC_cbModule, 3);
    SendMessageW(m_ui.Control(IDC_btnConvert), BM_CLICK, 0, 0);
    EXPECT_EQ(ReadFile(Utf8FromPath(deep / "Long.dnl")),
              Dnl().Name("TNW8").Misc(0x0800).End().bytes);
    EXPECT_EQ(ReadFile(Utf8FromPath(deep / "Long.~NL")), kRqx4File);
    EXPECT_EQ(m_ui.LoggedLines().back(), "Finished");
}

// The command line: what it asks for, and a named file taken as File > Open takes it; dropped
// files too.
TEST_F(Win32ExecuteTest, CommandLineAndDroppedFilesAreTakenAsAChosenOne) {
    using Kind = win32::CommandLineRequest::Kind;
    const std::pair<std::vector<std::wstring>, Kind> lines[] = {
        {{}, Kind::Window},
        {{L"a b.dnl"}, Kind::Window},
        {{L"/?"}, Kind::Help},
        {{L"X", L"-h"}, Kind::Help},
        {{L"--version"}, Kind::Version},
        {{L"-x"}, Kind::Wrong},
        {{L"a.dnl", L"b.dnl"}, Kind::Wrong}};
    for (const auto& [arguments, kind] : lines) {
        EXPECT_EQ(win32::ReadCommandLine(arguments).kind, kind) << arguments.size();
    }
    EXPECT_EQ(win32::ReadCommandLine({L"\u00e9.dnl"}).file, "\xC3\xA9.dnl");

    std::filesystem::current_path(m_folder.Path());
    win32::TfrmMain::FromHandle(m_ui.window)->OpenNamedFile("one/Y.dnl");
    const std::filesystem::path missing = m_folder.Path() / "one" / "Y.dnl";
    EXPECT_EQ(m_ui.State().path, Utf8FromPath(missing));
    EXPECT_EQ(std::filesystem::current_path(), missing.parent_path());
    EXPECT_EQ(m_ui.LoggedLines(),
              std::vector<std::string>{"Fail to open " + Utf8FromPath(missing)});
    EXPECT_TRUE(IsWindowEnabled(m_ui.Control(IDC_btnConvert)));
    EXPECT_EQ(Text(m_ui.window), L"Y.dnl - dnl File transfer Tool");

    // Dropped files, over any control: the first is taken the same way.
    EXPECT_NE(GetWindowLongW(m_ui.window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    DropFiles(m_ui.window, m_dnl.wstring() + L'\0' + missing.wstring() + L'\0' + L"a.txt");
    Pump(m_ui.window);
    EXPECT_EQ(m_ui.State().path, Utf8FromPath(m_dnl));
    EXPECT_EQ(m_ui.LoggedLines().back(),
              "Took only the first dropped file; 2 others were not taken");
    EXPECT_EQ(Text(m_ui.window), L"X.Dnl - dnl File transfer Tool");
}

TEST_F(Win32ExecuteTest, ExecuteBacksUpConvertsAndDropsInputMeanwhile) {
    m_ui.OpenThroughDialog(m_dnl.wstring());
    m_ui.Pick(IDC_cbModule, 3);
    m_ui.Pick(IDC_cbMiscRec, 1);
    SendMessageW(m_ui.Control(IDC_cbGBR), BM_CLICK, 0, 0);
    DuringRun seen;
    seen.onProgress = ClickAndType;  // dropped once the run ends
    SetWindowSubclass(m_ui.Control(IDC_mmStatus), WatchMemo, 1, reinterpret_cast<DWORD_PTR>(&seen));
    SendMessageW(m_ui.Control(IDC_btnConvert), BM_CLICK, 0, 0);
    Pump(m_ui.window);

    // The backup's lines are shown before the hourglass, the walk's while it shows.
    const std::vector<std::string> expected =
        EngineLines("X.Dnl", kRqx4File, {.moduleIndex = 3, .miscValue = 0x0801, .gbr = true}, true);
    EXPECT_EQ(m_ui.LoggedLines(), expected);
    EXPECT_EQ(Lines(seen.edits), expected);  // no second run
    for (std::size_t edit = 0; edit < seen.edits.size(); ++edit) {
        const bool walk = seen.edits[edit].find("Start...") == std::string::npos &&
                          seen.edits[edit].find("Backed up") == std::string::npos;
        EXPECT_EQ(seen.busy[edit], walk) << seen.edits[edit];
    }
    EXPECT_EQ(ReadFile(Utf8FromPath(m_dnl)), Dnl().Name("TNW8").Misc(0x1801).End().bytes);
    EXPECT_EQ(ReadFile(Utf8FromPath(m_dnl.parent_path() / "X.~NL")), kRqx4File);
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_TRUE(IsWindow(m_ui.window));
    EXPECT_EQ(Text(m_ui.Control(IDC_cbModule)), L"TNWQ8");
    EXPECT_EQ(m_ui.State().path, Utf8FromPath(m_dnl));
    RemoveWindowSubclass(m_ui.Control(IDC_mmStatus), WatchMemo, 1);
}

// A double click as the system delivers it (a press and a release, then a double-click press and
// its release) runs twice on a small file; the second run keeps the backup of the original.
TEST_F(Win32ExecuteTest, DoubleClickKeepsTheBackupOfTheOriginal) {
    m_ui.OpenThroughDialog(m_dnl.wstring());
    m_ui.Pick(IDC_cbModule, 3);
    const HWND button = m_ui.Control(IDC_btnConvert);
    for (const UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        PostMessageW(button, press, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump(m_ui.window);
    }
    const std::vector<std::string> lines = m_ui.LoggedLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Finished"), 2);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Kept the backup 'X.~NL': X.Dnl already holds TNWQ8 with MISC code 2048"),
              lines.end());
    EXPECT_EQ(ReadFile(Utf8FromPath(m_dnl.parent_path() / "X.~NL")), kRqx4File);
}

// A run that takes long enough to show progress. The memo shows lines while it goes on, the
// user's clicks and keys meanwhile start nothing, and a close request by any road stops the run
// between two records and closes the window once Execute has returned, never under the run's
// feet. Whatever part of the file the run converted, the memo tells it record for record.
TEST_F(Win32ExecuteTest, ARunShowsProgressAndACloseRequestWaitsForIt) {
    constexpr int kMiscRecords = 1'000;
    const std::pair<const char*, std::function<void(HWND)>> closeRoads[] = {
        {"WM_CLOSE", [](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }},
        {"SC_CLOSE", [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"CloseBox", [](HWND window) { PostMessageW(window, WM_NCLBUTTONDOWN, HTCLOSE, 0); }},
        {"AltF4", [](HWND window) { PostMessageW(window, WM_SYSKEYDOWN, VK_F4, 1 << 29); }},
        {"QueryEndSession",
         [](HWND window) { EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), FALSE); }},
        {"EndSession", [](HWND window) { SendMessageW(window, WM_ENDSESSION, TRUE, 0); }},
    };
    Dnl original;
    original.Name("RQX4");
    for (int record = 0; record < kMiscRecords; ++record) {
        original.Misc(0x0000);
    }
    WriteFile(Utf8FromPath(m_dnl), original.End().bytes);
    for (const auto& [road, requestClose] : closeRoads) {
        SCOPED_TRACE(road);
        const WindowUnderTest ui;
        ui.OpenThroughDialog(m_dnl.wstring());
        ui.Pick(IDC_cbModule, 3);
        ui.Pick(IDC_cbMiscRec, 1);
        SendMessageW(ui.Control(IDC_cbGBR), BM_CLICK, 0, 0);
        SendMessageW(ui.Control(IDC_cbBackupDnl), BM_CLICK, 0, 0);
        DuringRun seen;
        seen.slowStart = true;
        seen.onProgress = [&close = requestClose](HWND window) {
            ClickAndType(window);
            close(window);
        };
        SetWindowSubclass(ui.Control(IDC_mmStatus), WatchMemo, 1,
                          reinterpret_cast<DWORD_PTR>(&seen));
        SendMessageW(ui.Control(IDC_btnConvert), BM_CLICK, 0, 0);

        ASSERT_TRUE(seen.progressShown);
        EXPECT_TRUE(IsWindow(ui.window));
        EXPECT_TRUE(win32::TfrmMain::FromHandle(ui.window)->CloseRequestedDuringRun());
        const std::vector<std::string> lines = Lines(seen.edits);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "Start..."), 1);
        EXPECT_EQ(Text(ui.Control(IDC_cbModule)), L"TNWQ8");
        const auto converted =
            std::count(lines.begin(), lines.end(), "Modified the MISC record to 6145");
        // The request stopped the run between two records, and the memo says what that left.
        EXPECT_LT(converted, kMiscRecords);
        EXPECT_EQ(lines.back(), m_dnl.filename().string() + " is partly converted");
        RemoveWindowSubclass(ui.Control(IDC_mmStatus), WatchMemo, 1);
        Pump(ui.window);
        EXPECT_FALSE(IsWindow(ui.window));

        Dnl expected;
        expected.Name("TNW8");
        for (int record = 0; record < kMiscRecords; ++record) {
            expected.Misc(record < converted ? 0x1801 : 0x0000);
        }
        EXPECT_TRUE(ReadFile(Utf8FromPath(m_dnl)) == expected.End().bytes);
        WriteFile(Utf8FromPath(m_dnl), original.bytes);
    }
}

TEST_F(Win32ExecuteTest, AnErrorEscapingAHandlerIsShownAndTheLoopGoesOn) {
    std::wstring caption;
    std::wstring texts;
    AnswerDialog(
        [this] {
            win32::ShowingErrors(m_ui.window, [] { throw std::runtime_error("Disk full"); });
        },
        [&](HWND box) {
            caption = Text(box);
            texts = ChildTexts(box, WC_STATICW);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
    EXPECT_EQ(caption, L"Win32window");
    EXPECT_NE(texts.find(L"|Disk full.|"), std::wstring::npos) << texts;
    EXPECT_NE(texts.find(L"<icon>|"), std::wstring::npos) << texts;
    m_ui.Pick(IDC_cbModule, 1);
    EXPECT_EQ(m_ui.State().moduleIndex, 1);
}

}  // namespace
}  // namespace dnl::test
