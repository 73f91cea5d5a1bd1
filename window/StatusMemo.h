#pragma once

#include <QPlainTextEdit>
#include <string>

namespace dnl {

// The status memo: a text box the user may type into, to which the program only appends lines.
// A run can log a line for every record, and a text edit costs more than a record does, so lines
// are kept until ShowAddedLines puts them in, all at once. The text document's cost and memory go
// by paragraph, so the lines shown together are put sixteen to a paragraph, one after the other
// on lines of their own: they look, select and copy as lines all the same.
class StatusMemo final : public QPlainTextEdit {
public:
    explicit StatusMemo(QWidget* parent = nullptr);

    // Keeps `text` (UTF-8) as the next line to show.
    void AddLine(const std::string& text);

    // Appends the lines kept so far as new last lines, moves the caret after them and scrolls to
    // the end. Undo does not record them: the user's Undo must not take logged lines away.
    void ShowAddedLines();

private:
    std::string m_added;  // the lines kept, in UTF-8, each but the last followed by a line break
    int m_addedCount = 0;
};

}  // namespace dnl
