// File > Open in the real common dialog, Execute on real files, and the error box.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "ErrorBox.h"
#include "TestSupport.h"
#include "Text.h"
#include "Utf8Path.h"
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

// What a run showed at each line it logged, read while the run still held the thread.
struct DuringRun {
    std::vector<std::string> lines;
    bool busyAtName = false;
    bool enabledAtName = true;
};

LRESULT CALLBACK WatchMemo(HWND memo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
    if (message == EM_REPLACESEL) {
        auto& seen = *reinterpret_cast<DuringRun*>(data);
        HWND window = GetParent(memo);
        seen.lines.push_back(win32::Utf8(reinterpret_cast<const wchar_t*>(lParam)));
        if (seen.lines.back() == "Find a NAME record\r\n") {
            seen.busyAtName = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
            seen.enabledAtName = IsWindowEnabled(window) != FALSE;
            // The user clicks Execute again and types into the module list meanwhile.
            HWND button = GetDlgItem(window, IDC_btnConvert);
            PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            COMBOBOXINFO list{};
            list.cbSize = sizeof list;
            GetComboBoxInfo(GetDlgItem(window, IDC_cbModule), &list);
            PostMessageW(list.hwndItem, WM_KEYDOWN, 'L', 1);
            PostMessageW(list.hwndItem, WM_CHAR, L'L', 1);
        }
    }
    return DefSubclassProc(memo, message, wParam, lParam);
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
    EXPECT_EQ(m_ui.State().path, win32::Utf8(m_dnl.wstring()));
    EXPECT_EQ(std::filesystem::current_path(), m_dnl.parent_path());
    EXPECT_TRUE(IsWindowEnabled(m_ui.Control(IDC_btnConvert)));
    SendMessageW(m_ui.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_ui.Control(IDC_btnConvert)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    m_ui.OpenThroughDialog((m_folder.Path() / "X.txt").wstring());
    EXPECT_EQ(m_ui.State().path, win32::Utf8(m_dnl.wstring()));
    EXPECT_EQ(std::filesystem::current_path(), m_folder.Path());
}

TEST_F(Win32ExecuteTest, ExecuteBacksUpConvertsAndDropsInputMeanwhile) {
    m_ui.OpenThroughDialog(m_dnl.wstring());
    m_ui.Pick(IDC_cbModule, 3);
    m_ui.Pick(IDC_cbMiscRec, 1);
    SendMessageW(m_ui.Control(IDC_cbGBR), BM_CLICK, 0, 0);
    DuringRun seen;
    SetWindowSubclass(m_ui.Control(IDC_mmStatus), WatchMemo, 1, reinterpret_cast<DWORD_PTR>(&seen));
    SendMessageW(m_ui.Control(IDC_btnConvert), BM_CLICK, 0, 0);
    Pump(m_ui.window);

    const std::vector<std::string> expected{
        "Backed up the original DNL file as 'X.~NL'", "Start...", "Find a NAME record", "--> TNWQ8",
        "Modified the MISC record to 6145",           "Finished"};
    EXPECT_EQ(m_ui.LoggedLines(), expected);
    EXPECT_EQ(seen.lines.size(), expected.size());  // one append a line, no second run
    EXPECT_EQ(ReadFile(Utf8FromPath(m_dnl)), Dnl().Name("TNW8").Misc(0x1801).End().bytes);
    EXPECT_EQ(ReadFile(Utf8FromPath(m_dnl.parent_path() / "X.~NL")), kRqx4File);
    EXPECT_TRUE(seen.busyAtName);
    EXPECT_FALSE(seen.enabledAtName);
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_TRUE(IsWindowEnabled(m_ui.window));
    EXPECT_EQ(Text(m_ui.Control(IDC_cbModule)), L"TNWQ8");
    RemoveWindowSubclass(m_ui.Control(IDC_mmStatus), WatchMemo, 1);
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
