#include "StatusMemo.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "WindowDesign.h"

namespace dnl {

namespace {

constexpr int kLinesPerParagraph = 16;
constexpr const char* kLineSeparator = "\u2028";  // ends a line inside a paragraph

}  // namespace

StatusMemo::StatusMemo(QWidget* parent) : QPlainTextEdit(parent) {}

void StatusMemo::AddLine(const std::string& text) {
    if (m_addedCount > 0) {
        m_added += m_addedCount % kLinesPerParagraph == 0 ? "\n" : kLineSeparator;
    }
    m_added += text;
    ++m_addedCount;
}

void StatusMemo::ShowAddedLines() {
    if (m_addedCount == 0) {
        return;
    }
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    QString added = QString::fromUtf8(m_added);
    if (LineBreakBeforeLoggedLines(end.block().text().isEmpty())) {
        added.prepend(u'\n');
    } else {
        added += u'\n';  // leaves the last line empty for the next one
    }
    document()->setUndoRedoEnabled(false);
    end.insertText(added);
    document()->setUndoRedoEnabled(true);
    m_added.clear();
    m_added.shrink_to_fit();
    m_addedCount = 0;
    setTextCursor(end);
    // The whole way down: showing the caret alone can stop a line short, depending on the font.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace dnl
