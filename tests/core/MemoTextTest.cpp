// The status memo's text without a window: appends, the user's edits and their undo, selections,
// words, and where lines wrap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemoText.h"

namespace dnl {
namespace {

// U+1F600, as UTF-16 writes it: two units, whatever the size of wchar_t.
const std::wstring kSmile = {wchar_t{0xD83D}, wchar_t{0xDE00}};

MemoText WithText(std::wstring_view text) {
    MemoText memo;
    memo.SetText(text);
    return memo;
}

TEST(MemoTextTest, ReadsWithCrLfAndAppendsAfterTheLastCharacter) {
    MemoText memo = WithText(L"\r\n");
    EXPECT_EQ(memo.LineCount(), 2U);
    EXPECT_TRUE(memo.LastLineEmpty());
    memo.Append(L"Start...\r\nFinished\r\n");
    EXPECT_EQ(memo.Text(), L"\r\nStart...\r\nFinished\r\n");
    EXPECT_EQ(memo.TextLength(), memo.Text().size());
    EXPECT_EQ(memo.Caret(), (MemoPosition{3, 0}));
    EXPECT_FALSE(memo.HasSelection());
    EXPECT_EQ(WithText(L"a\nb\rc\r\n").Text(), L"a\r\nb\r\nc\r\n");
    EXPECT_EQ(WithText(L"").TextLength(), 0U);
}

// One edit of the user's on "ab\r\ncd": the selection it starts from, what it does, the text and
// caret after it, and the text once it is undone and undone again.
TEST(MemoTextTest, EditsReplaceTheSelectionAndUndoTogglesTheLastOne) {
    using Action = void (*)(MemoText&);
    const Action type = [](MemoText& memo) { memo.Type(L"x"); };
    const Action typeEach = [](MemoText& memo) {
        for (const wchar_t typed : std::wstring_view(L"xyz")) {
            memo.Type(std::wstring(1, typed));
        }
    };
    const Action typeBreak = [](MemoText& memo) { memo.Type(L"\r\n"); };
    const Action paste = [](MemoText& memo) { memo.Paste(L"1\n2\r3"); };
    const Action backward = [](MemoText& memo) { memo.DeleteBackward(); };
    const Action forward = [](MemoText& memo) { memo.DeleteForward(); };
    const struct {
        MemoPosition anchor, caret;
        Action action;
        const wchar_t* edited;
        MemoPosition caretAfter;
    } cases[] = {
        {{0, 1}, {0, 1}, type, L"axb\r\ncd", {0, 2}},
        {{0, 2}, {0, 2}, typeEach, L"abxyz\r\ncd", {0, 5}},
        {{0, 1}, {1, 1}, typeBreak, L"a\r\nd", {1, 0}},
        {{1, 2}, {0, 0}, paste, L"1\r\n2\r\n3", {2, 1}},
        {{1, 0}, {1, 0}, backward, L"abcd", {0, 2}},
        {{0, 2}, {0, 2}, forward, L"abcd", {0, 2}},
        {{0, 0}, {0, 0}, backward, L"ab\r\ncd", {0, 0}},
        {{0, 1}, {1, 1}, forward, L"ad", {0, 1}},
    };
    for (const auto& edit : cases) {
        SCOPED_TRACE(testing::Message() << edit.anchor.column << edit.caret.line << edit.edited);
        MemoText memo = WithText(L"ab\r\ncd");
        memo.MoveCaret(edit.anchor, false);
        memo.MoveCaret(edit.caret, true);
        edit.action(memo);
        EXPECT_EQ(memo.Text(), edit.edited);
        EXPECT_EQ(memo.Caret(), edit.caretAfter);
        memo.Undo();
        EXPECT_EQ(memo.Text(), L"ab\r\ncd");
        memo.Undo();
        EXPECT_EQ(memo.Text(), edit.edited);
    }
}

// Undo takes back the user's edit, never the logged lines, and never joins them to it.
TEST(MemoTextTest, AppendedLinesAreNotUndone) {
    MemoText memo = WithText(L"\r\nStart...\r\n");
    memo.MoveCaret({1, 0}, false);
    memo.MoveCaret({1, 5}, true);
    memo.Type(L"Go");
    memo.Append(L"Finished\r\n");
    EXPECT_EQ(memo.Text(), L"\r\nGo...\r\nFinished\r\n");
    ASSERT_TRUE(memo.CanUndo());
    memo.Undo();
    EXPECT_EQ(memo.Text(), L"\r\nStart...\r\nFinished\r\n");

    memo.MoveCaret(memo.End(), false);
    memo.Type(L"\r\n");  // an edit that ends where the log goes on
    memo.Append(L"Start...\r\n");
    EXPECT_FALSE(memo.CanUndo());
    EXPECT_EQ(memo.Text(), L"\r\nStart...\r\nFinished\r\n\r\nStart...\r\n");
}

TEST(MemoTextTest, SelectionsAndWordsReadAcrossLines) {
    MemoText memo = WithText(L"one two  three\r\n\r\nfour");
    memo.MoveCaret({0, 4}, false);
    memo.MoveCaret({2, 2}, true);
    EXPECT_EQ(memo.SelectedText(), L"two  three\r\n\r\nfo");
    memo.MoveCaret({9, 9}, false);
    memo.MoveCaret({0, 99}, true);
    EXPECT_EQ(memo.Caret(), (MemoPosition{0, 14}));
    EXPECT_EQ(memo.Anchor(), memo.End());
    memo.SelectAll();
    EXPECT_EQ(memo.SelectedText(), memo.Text());
    const std::pair<MemoPosition, MemoPosition> words[] = {
        memo.WordAt({0, 5}), memo.WordAt({0, 7}), memo.WordAt({0, 14}), memo.WordAt({1, 0})};
    EXPECT_EQ(words[0], std::make_pair(MemoPosition{0, 4}, MemoPosition{0, 7}));
    EXPECT_EQ(words[1], std::make_pair(MemoPosition{0, 7}, MemoPosition{0, 9}));
    EXPECT_EQ(words[2], std::make_pair(MemoPosition{0, 9}, MemoPosition{0, 14}));
    EXPECT_EQ(words[3], std::make_pair(MemoPosition{1, 0}, MemoPosition{1, 0}));
    EXPECT_EQ(memo.Before({1, 0}), (MemoPosition{0, 14}));
    EXPECT_EQ(memo.After({0, 14}), (MemoPosition{1, 0}));
    EXPECT_EQ(memo.After(memo.End()), memo.End());

    // A character UTF-16 writes in two units is stepped over, deleted and placed in whole.
    memo.SetText(L"a" + kSmile + L"b");
    EXPECT_EQ(memo.After({0, 1}), (MemoPosition{0, 3}));
    EXPECT_EQ(memo.Before({0, 3}), (MemoPosition{0, 1}));
    memo.MoveCaret({0, 2}, false);
    EXPECT_EQ(memo.Caret(), (MemoPosition{0, 1}));
    memo.MoveCaret({0, 3}, false);
    memo.DeleteBackward();
    EXPECT_EQ(memo.Text(), L"ab");
}

// Rows of `width` characters each.
TEST(MemoTextTest, LinesWrapAfterTheLastSpaceThatFits) {
    const struct {
        std::wstring line;
        std::size_t width;
        std::vector<std::size_t> starts;
    } cases[] = {
        {L"", 5, {0}},
        {L"abc", 5, {0}},
        {L"hello world", 5, {0, 6}},
        {L"abcdefgh", 3, {0, 3, 6}},
        {L"ab cdefgh", 4, {0, 3, 7}},
        {L"a b c", 0, {0, 2, 4}},
        {L"Modified the MISC record to 6145", 12, {0, 13, 25}},
        {L"a" + kSmile + kSmile, 2, {0, 1, 3}},
        {kSmile + kSmile, 1, {0, 2}},
    };
    for (const auto& wrap : cases) {
        SCOPED_TRACE(testing::Message() << wrap.width << " " << wrap.line);
        EXPECT_EQ(WrapRows(wrap.line, [&](std::size_t) { return wrap.width; }), wrap.starts);
    }
}

}  // namespace
}  // namespace dnl
