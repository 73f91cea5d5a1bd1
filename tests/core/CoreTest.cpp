// The window's decisions without any window: module and MISC choices, completion, File > Open's
// rule, Execute's refusals and runs, anchoring, and the title and error texts.
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
#include "TestSupport.h"

namespace dnl {
namespace {

using test::Bytes;
using test::Dnl;

TEST(SelectModuleTest, EveryIndexSetsItemsStatesAndValues) {
    struct Case {
        int index;
        int moduleIndex;
        std::size_t rows;
        const char* firstRow;
        std::int16_t miscValue;  // after the choice, from 0x0101 with GBR checked
        bool gbrEnabled;
        bool gbr;
    };
    const Case cases[] = {
        {0, 0, 3, "NTSC", 0x0000, false, false},      {1, 1, 0, "", 0x0101, false, false},
        {2, 2, 14, "NTSC NSU", 0x0000, false, false}, {3, 3, 19, "1080/60i", 0x0800, true, true},
        {4, 4, 4, "720/50p", 0x0008, false, false},   {-1, 255, 0, "", 0x0101, false, false},
        {5, 255, 0, "", 0x0101, false, false},
    };
    for (const Case& c : cases) {
        ConverterState state{"", 0x0101, 0, false, false};
        const ModuleSelection shown = SelectModule(state, c.index, true);
        SCOPED_TRACE(c.index);
        EXPECT_EQ(state.moduleIndex, c.moduleIndex);
        ASSERT_EQ(shown.miscItems.size(), c.rows);
        EXPECT_EQ(shown.miscEnabled, c.rows > 0);
        EXPECT_EQ(state.miscChosen, c.rows > 0);
        if (c.rows > 0) {
            EXPECT_EQ(shown.miscItems.front(), c.firstRow);
        }
        EXPECT_EQ(state.miscValue, c.miscValue);
        EXPECT_EQ(shown.gbrEnabled, c.gbrEnabled);
        EXPECT_EQ(state.gbr, c.gbr);
    }
    EXPECT_EQ(ModuleItems(),
              (std::vector<std::string_view>{"RQX4", "LM5", "PZK2", "TNWQ8", "JSRY3"}));
}

TEST(SelectMiscTest, ARowSetsItsModulesCodeAndNoRowKeepsTheCode) {
    ConverterState state;
    for (const auto& [module, code] : {std::pair{0, 0x0000}, {2, 0x0100}, {3, 0x0004}}) {
        SelectModule(state, module, false);
        SelectMisc(state, module == 0 ? 2 : module == 2 ? 8 : 16);  // "PAL" in each list
        EXPECT_EQ(state.miscValue, code);
    }
    SelectMisc(state, -1);
    EXPECT_EQ(state.miscValue, 0x0004);
    EXPECT_FALSE(state.miscChosen);
}

TEST(CompletionTest, FirstItemInListOrderStartingWithTheTextIgnoringCase) {
    const std::vector<std::string> rows{"NTSC", "NTSC NSU", "PAL"};
    const std::pair<const char*, int> cases[] = {
        {"N", 0},  {"ntsc", 0},  {"NTSC ", 1}, {"Ntsc n", 1},
        {"pa", 2}, {"PALx", -1}, {"x", -1},    {"\xEF\xBD\x8E", -1},  // a full-width "n"
    };
    for (const auto& [typed, item] : cases) {
        EXPECT_EQ(CompletingItem(rows, typed), item) << typed;
    }
}

TEST(FileChoiceTest, ExtensionRule) {
    const std::pair<const char*, bool> cases[] = {
        {"/data/X.dnl", true},  {"/data/X.Dnl", true},   {"/data/X.DNL", true},
        {"/data/X.txt", false}, {"/data/X.dnlx", false}, {"/a.dnl/X", false},
        {"DNL", true},          {"dn", false},           {"/data/X.dn l", false},
    };
    for (const auto& [path, isDnl] : cases) {
        EXPECT_EQ(HasDnlExtension(path), isDnl) << path;
    }
}

TEST(FileChoiceTest, ChoiceEntersTheFolderAndStoresOnlyDnlFiles) {
    test::TempDir folder;
    std::filesystem::create_directory(folder.Path() / "one");
    std::filesystem::create_directory(folder.Path() / "two");
    ConverterState state;
    AcceptChosenFile(state, folder.File("one/X.Dnl"));
    EXPECT_EQ(state.path, folder.File("one/X.Dnl"));
    EXPECT_EQ(std::filesystem::current_path(), folder.Path() / "one");

    AcceptChosenFile(state, folder.File("two/X.txt"));
    EXPECT_EQ(state.path, folder.File("one/X.Dnl"));
    EXPECT_EQ(std::filesystem::current_path(), folder.Path() / "two");
}

class ExecuteChoiceTest : public ::testing::Test {
protected:
    void SetUp() override { test::WriteFile(m_path, m_original); }

    test::TempDir m_folder;
    std::string m_path = m_folder.File("X.dnl");
    Bytes m_original = Dnl().Name("RQX4").Misc(0x0000).End().bytes;
    test::RecordingLog m_log;
    test::CountingCursor m_cursor;
};

TEST_F(ExecuteChoiceTest, ChoiceWithoutModuleOrFormatTouchesNothing) {
    ConverterState state{m_path};
    SelectModule(state, -1, false);
    ExecuteChoice(state, true, m_log, m_cursor);
    SelectModule(state, 3, false);
    SelectMisc(state, -1);
    ExecuteChoice(state, true, m_log, m_cursor);

    EXPECT_EQ(m_log.lines,
              (std::vector<std::string>{"No module is selected", "No MISC format is selected"}));
    EXPECT_EQ(test::ReadFile(m_path), m_original);
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("X.~NL")));
}

TEST_F(ExecuteChoiceTest, ChosenFormatConvertsAndModuleWithoutFormatsNeedsNone) {
    ConverterState state{m_path};
    SelectModule(state, 3, true);
    SelectMisc(state, 1);
    ExecuteChoice(state, true, m_log, m_cursor);
    EXPECT_EQ(m_log.lines.back(), "Finished");
    EXPECT_EQ(test::ReadFile(m_folder.File("X.~NL")), m_original);
    EXPECT_EQ(test::ReadFile(m_path), Dnl().Name("TNW8").Misc(0x1801).End().bytes);

    SelectMisc(state, -1);
    SelectModule(state, 1, false);  // LM5 writes no MISC code
    m_log.lines.clear();
    ExecuteChoice(state, false, m_log, m_cursor);
    EXPECT_EQ(m_log.lines,
              (std::vector<std::string>{"Start...", "Find a NAME record", "--> LM5", "Finished"}));
}

TEST(AnchoringTest, WidthFollowsAndTheCentreKeepsItsFraction) {
    const Size designed{442, 305};
    const Rect memo{0, 93, 440, 209};
    EXPECT_EQ(AnchoredLeftRight(memo, designed, designed), memo);
    EXPECT_EQ(AnchoredLeftRight(memo, designed, {642, 610}), (Rect{0, 290, 640, 209}));
    EXPECT_EQ(AnchoredLeftRight(memo, designed, {100, 305}), (Rect{0, 93, 98, 209}));
    EXPECT_EQ(AnchoredLeftRight(memo, designed, {1, 305}).width, 0);
}

TEST(ErrorTextTest, TitleAndMessageRules) {
    EXPECT_EQ(ApplicationTitle("/opt/DnlTransfer.exe"), "Dnltransfer");
    EXPECT_EQ(ApplicationTitle("/a.b/ERRORreport.window.tests"), "Errorreport");
    EXPECT_EQ(ApplicationTitle("dnlTRANSFER"), "dnltransfer");
    EXPECT_EQ(ApplicationTitle("/x/.hidden"), "");
    const std::pair<const char*, const char*> messages[] = {
        {"Disk full", "Disk full."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"Why?", "Why?."},
        {"", ""},
        {"\xE5\xA4\xB1\xE6\x95\x97", "\xE5\xA4\xB1\xE6\x95\x97."},
        {"a-", "a-"},
    };
    for (const auto& [message, shown] : messages) {
        EXPECT_EQ(ErrorText(message), shown) << message;
    }
}

}  // namespace
}  // namespace dnl
