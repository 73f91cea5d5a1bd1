// The window's decisions without any window: module and MISC choices, completion, File > Open's
// rule, the memo's line breaks, Execute's refusals and runs, anchoring, where the window opens,
// and the title and error texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Anchoring.h"
#include "Completion.h"
#include "ConverterState.h"
#include "ErrorText.h"
#include "ExecuteChoice.h"
#include "FileChoice.h"
#include "Placement.h"
#include "SystemCases.h"
#include "TestSupport.h"
#include "Utf8Path.h"
#include "WindowDesign.h"

namespace dnl {
namespace {

using test::Dnl;
using Lines = std::vector<std::string>;

TEST(CoreTest, SelectModuleAndMiscSetItemsStatesAndValues) {
    // index, rows, first row, MISC value after (from 0x0101), then for row 2, GBR enabled
    const std::tuple<int, std::size_t, const char*, int, int, bool> cases[] = {
        {0, 3, "NTSC", 0x0000, 0x0000, false},
        {1, 0, "", 0x0101, 0, false},
        {2, 14, "NTSC NSU", 0x0000, 0x1002, false},
        {3, 19, "1080/60i", 0x0800, 0x0802, true},
        {4, 4, "720/50p", 0x0008, 0x000A, false},
        {-1, 0, "", 0x0101, 0, false},
        {5, 0, "", 0x0101, 0, false}};
    for (const auto& [index, rows, first, value, row2Value, gbr] : cases) {
        ConverterState state{{.miscValue = 0x0101}, "", false};
        const ModuleSelection shown = SelectModule(state, index, true);
        SCOPED_TRACE(index);
        EXPECT_EQ(state.moduleIndex, index >= 0 && index < 5 ? index : 255);
        ASSERT_EQ(shown.miscItems.size(), rows);
        EXPECT_EQ(rows > 0 ? shown.miscItems.front() : "", first);
        EXPECT_EQ(shown.miscEnabled && state.miscChosen, rows > 0);
        EXPECT_EQ(state.miscValue, value);
        EXPECT_EQ(shown.gbrEnabled && state.gbr, gbr);
        SelectMisc(state, 2);
        EXPECT_EQ(state.miscValue, row2Value);
        SelectMisc(state, -1);  // typed text matching no row keeps the code, chooses nothing
        EXPECT_EQ(state.miscValue, row2Value);
        EXPECT_FALSE(state.miscChosen);
    }
    EXPECT_EQ(ModuleItems(),
              (std::vector<std::string_view>{"RQX4", "LM5", "PZK2", "TNWQ8", "JSRY3"}));
}

TEST(CoreTest, CompletionExtensionMemoTitleAndErrorTextRules) {
    const std::vector<std::string> rows{"NTSC", "NTSC NSU", "PAL"};
    const std::pair<const char*, int> typed[] = {
        {"ntsc", 0}, {"Ntsc ", 1}, {"pa", 2}, {"PALx", -1}, {"\xEF\xBD\x8E", -1}};
    for (const auto& [text, item] : typed) {
        EXPECT_EQ(CompletingItem(rows, text), item) << text;
    }
    const std::pair<const char*, bool> paths[] = {{"/d/X.Dnl", true},   {"/d/X.txt", false},
                                                  {"/d/X.dnlx", false}, {"/a.dnl/X", false},
                                                  {"dNl", true},        {"dn", false}};
    for (const auto& [path, isDnl] : paths) {
        EXPECT_EQ(HasDnlExtension(path), isDnl) << path;
    }
    // Logged lines start a line of their own after text the user typed on the memo's last line.
    EXPECT_FALSE(LineBreakBeforeLoggedLines(true));
    EXPECT_TRUE(LineBreakBeforeLoggedLines(false));
    EXPECT_EQ(ApplicationTitle("/a.b/ERRORreport.window.tests"), "Errorreport");
    EXPECT_EQ(ApplicationTitle("dnlTRANSFER"), "dnltransfer");
    const std::pair<const char*, const char*> messages[] = {
        {"Disk full", "Disk full."}, {"Done.", "Done."}, {"Stop!", "Stop!"},
        {"Why?", "Why?."},           {"", ""},           {"\xE5\xA4\xB1", "\xE5\xA4\xB1."}};
    for (const auto& [message, shown] : messages) {
        EXPECT_EQ(ErrorText(message), shown) << message;
    }
}

// A named file is found from the working directory, which then moves to its folder as for a
// chosen one; a missing DNL file is still taken, and reported.
TEST(CoreTest, NamedFileIsTakenAsAChosenOne) {
    test::TempDir folder;
    std::filesystem::create_directory(folder.Path() / "one");
    test::WriteFile(folder.File("one/X.dnl"), Dnl().End().bytes);
    std::filesystem::current_path(folder.Path());
    ConverterState state;
    test::RecordingLog log;
    EXPECT_TRUE(AcceptNamedFile(state, "one/X.dnl", log).executeEnabled);
    EXPECT_EQ(std::filesystem::current_path(), folder.Path() / "one");
    EXPECT_EQ(state.path, Utf8FromPath(std::filesystem::current_path() / "X.dnl"));
    EXPECT_TRUE(AcceptNamedFile(state, "Gone.txt", log).executeEnabled);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(AcceptNamedFile(state, "Gone.DNL", log).executeEnabled);
    const std::string gone = Utf8FromPath(std::filesystem::current_path() / "Gone.DNL");
    EXPECT_EQ(state.path, gone);
    EXPECT_EQ(log.lines, Lines{"Fail to open " + gone});
    EXPECT_EQ(WindowTitle(state), "Gone.DNL - dnl File transfer Tool");

    // Dropped files: the first is taken by the same rule, one line counts the others.
    EXPECT_FALSE(AcceptDroppedFiles(state, {}, log));
    const std::string dropped[] = {folder.File("one/X.dnl"), "b.txt"};
    EXPECT_TRUE(AcceptDroppedFiles(state, dropped, log));
    EXPECT_EQ(state.path, folder.File("one/X.dnl"));
    EXPECT_EQ(log.lines.back(), "Took only the first dropped file; 1 other was not taken");
}

// Each label is made directly before the list it names, and marks a letter free in the window.
TEST(CoreTest, LabelsComeBeforeTheListsTheyName) {
    // Panel1, mmStatus, Label1, cbModule, btnConvert, cbBackupDnl, Label2, cbMiscRec, cbGBR
    EXPECT_EQ(CreationOrder(), (std::array<std::size_t, 9>{2, 3, 0, 4, 5, 6, 1, 7, 8}));
    EXPECT_EQ(CaptionWithAccessKey(kWindowControls[1]), "Misc &Record:");
    EXPECT_EQ(CaptionWithAccessKey(kWindowControls[ControlIndex("btnConvert")]), "Execute");
}

TEST(CoreTest, AnchoredControlsAndTheWindowFitTheirArea) {
    const Rect memo{0, 93, 440, 209};
    EXPECT_EQ(AnchoredLeftRight(memo, {442, 305}, {442, 305}), memo);
    EXPECT_EQ(AnchoredLeftRight(memo, {442, 305}, {642, 610}), (Rect{0, 290, 640, 209}));
    EXPECT_EQ(AnchoredLeftRight(memo, {442, 305}, {600, 400}), (Rect{0, 154, 598, 209}));
    EXPECT_EQ(AnchoredLeftRight(memo, {442, 305}, {500, 200}), (Rect{0, 25, 498, 209}));
    EXPECT_EQ(AnchoredLeftRight({0, 0, 440, 2}, {442, 305}, {884, 610}), (Rect{0, 1, 882, 2}));
    EXPECT_EQ(AnchoredLeftRight(memo, {442, 305}, {1, 305}).width, 0);
    // The window opens as designed where it fits, else moved just enough each way; one larger
    // than the working area keeps its top-left corner on it.
    const Rect window{547, 263, 450, 351};
    EXPECT_EQ(FitInWorkArea(window, {0, 0, 997, 614}), window);
    EXPECT_EQ(FitInWorkArea(window, {0, 0, 960, 540}), (Rect{510, 189, 450, 351}));
    EXPECT_EQ(FitInWorkArea(window, {600, 300, 1000, 800}), (Rect{600, 300, 450, 351}));
    EXPECT_EQ(FitInWorkArea(window, {-1280, 0, 1280, 1024}), (Rect{-450, 263, 450, 351}));
    EXPECT_EQ(FitInWorkArea(window, {100, 50, 400, 300}), (Rect{100, 50, 450, 351}));
}

TEST(CoreTest, ChosenFileAndExecuteTouchOnlyWhatTheyShould) {
    test::TempDir folder;
    std::filesystem::create_directory(folder.Path() / "one");
    const std::string path = folder.File("one/X.Dnl");
    const test::Bytes original = Dnl().Name("RQX4").Misc(0x0000).End().bytes;
    test::WriteFile(path, original);
    ConverterState state;
    EXPECT_EQ(WindowTitle(state), "dnl File transfer Tool");
    EXPECT_TRUE(AcceptChosenFile(state, path).executeEnabled);
    EXPECT_TRUE(AcceptChosenFile(state, folder.File("X.txt")).executeEnabled);
    EXPECT_EQ(state.path, path);
    EXPECT_EQ(WindowTitle(state), "X.Dnl - dnl File transfer Tool");
    EXPECT_EQ(std::filesystem::current_path(), folder.Path());

    test::RecordingLog log;
    test::CountingCursor cursor;
    SelectModule(state, -1, false);
    ExecuteChoice(state, true, log, cursor);
    SelectModule(state, 3, true);
    SelectMisc(state, -1);
    ExecuteChoice(state, true, log, cursor);
    EXPECT_EQ(log.lines, (Lines{"No module is selected", "No MISC format is selected"}));
    EXPECT_EQ(test::ReadFile(path), original);
    EXPECT_FALSE(std::filesystem::exists(folder.File("one/X.~NL")));

    SelectMisc(state, 1);
    ExecuteChoice(state, true, log, cursor);
    EXPECT_EQ(test::ReadFile(path), Dnl().Name("TNW8").Misc(0x1801).End().bytes);
    if (!test::kOnWindows) {  // X.dnl's backup would be X.~NL too, which holds X.Dnl's original
        test::WriteFile(folder.File("one/X.dnl"), original);
        log.lines.clear();
        SelectMisc(state, 0);  // a new choice: its backup would replace X.~NL
        ExecuteChoice(state, true, log, cursor);
        EXPECT_EQ(log.lines, (Lines{"X.dnl shares the backup X.~NL; not converted"}));
        EXPECT_EQ(test::ReadFile(folder.File("one/X.~NL")), original);
    }
    SelectMisc(state, -1);
    SelectModule(state, 1, false);  // LM5 writes no MISC code, so needs none
    log.lines.clear();
    const test::Bytes before = test::ReadFile(path);
    ExecuteChoice(state, false, log, cursor);
    EXPECT_EQ(log.lines, test::EngineLines("X.Dnl", before, state, false));
}

}  // namespace
}  // namespace dnl
