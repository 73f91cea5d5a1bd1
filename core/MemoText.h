#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dnl {

// A place in the memo's text: a line and the characters before it on that line.
struct MemoPosition {
    std::size_t line = 0;
    std::size_t column = 0;
    bool operator==(const MemoPosition&) const = default;
    bool operator<(const MemoPosition& other) const {
        return line < other.line || (line == other.line && column < other.column);
    }
};

// The status memo's text, apart from any window: its lines, the caret and the selection, the
// user's edits and their undo. The program appends logged lines in batches, at a cost that goes
// by the lines added alone; nothing here measures or lays out text. Read as one text, lines end
// with CR LF; text put in may end its lines with CR LF, LF or CR. It starts with one empty line.
class MemoText {
public:
    MemoText() : m_lines(1) {}

    std::size_t LineCount() const { return m_lines.size(); }
    const std::wstring& Line(std::size_t line) const { return m_lines[line]; }
    bool LastLineEmpty() const { return m_lines.back().empty(); }
    MemoPosition End() const { return {m_lines.size() - 1, m_lines.back().size()}; }

    // The whole text, lines joined by CR LF, and its length in characters.
    std::wstring Text() const;
    std::size_t TextLength() const;
    // Replaces the whole text, with the caret at its start and nothing to undo.
    void SetText(std::wstring_view text);
    // Adds `text` after the last character, which undo does not take away, and moves the caret
    // after it.
    void Append(std::wstring_view text);

    MemoPosition Caret() const { return m_caret; }
    MemoPosition Anchor() const { return m_anchor; }
    bool HasSelection() const { return m_caret != m_anchor; }
    // Moves the caret, brought inside the text; with `extend`, the selection follows it,
    // otherwise it is cleared.
    void MoveCaret(MemoPosition to, bool extend);
    void SelectAll() {
        MoveCaret({}, false);
        MoveCaret(End(), true);
    }
    std::wstring SelectedText() const;

    // The user's edits: each replaces the selection; undo takes back the last one. Characters
    // typed one after another make one edit.
    void Type(std::wstring_view text);
    void Paste(std::wstring_view text);
    void DeleteBackward();  // the selection, or the character before the caret
    void DeleteForward();   // the selection, or the character after the caret
    bool CanUndo() const { return m_undo.has_value(); }
    // Takes back the last edit, which itself can then be taken back.
    void Undo();

    // The positions a character or a line break away, within the text.
    MemoPosition Before(MemoPosition at) const;
    MemoPosition After(MemoPosition at) const;
    // The run of word characters, or of spaces, that holds the character at `at`.
    std::pair<MemoPosition, MemoPosition> WordAt(MemoPosition at) const;

private:
    struct Edit {
        MemoPosition at;
        std::wstring removed;
        std::wstring inserted;
        bool typing = false;
    };

    MemoPosition Clamped(MemoPosition at) const;
    MemoPosition Insert(MemoPosition at, std::wstring_view text);
    std::wstring Erase(MemoPosition from, MemoPosition to);
    std::wstring Between(MemoPosition from, MemoPosition to) const;
    void ReplaceSelection(std::wstring_view text, bool typing);

    std::vector<std::wstring> m_lines;
    MemoPosition m_anchor;
    MemoPosition m_caret;
    std::optional<Edit> m_undo;
};

// Where a line breaks into rows no wider than the memo: the first character of each row.
// `fitting(start)` tells how many characters from `start` fit on one row. A row ends after the
// last space that fits, as words wrap, or where the width ends when no space does; a row holds at
// least one character.
std::vector<std::size_t> WrapRows(std::wstring_view line,
                                  const std::function<std::size_t(std::size_t start)>& fitting);

}  // namespace dnl
