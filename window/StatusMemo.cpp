#include "StatusMemo.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace dnl {

namespace {

constexpr int kLinesPerParagraph = 16;

}  // namespace

StatusMemo::StatusMemo(QWidget* parent) : QPlainTextEdit(parent) {}

void StatusMemo::AddLine(const std::string& text) {
    if (m_addedCount > 0) {
        const bool endsParagraph = m_addedCount % kLinesPerParagraph == 0;
        m_added += endsParagraph ? QChar(u'\n') : QChar(QChar::LineSeparator);
    }
    m_added += QString::fromUtf8(text);
    ++m_addedCount;
}

void StatusMemo::ShowAddedLines() {
    if (m_addedCount == 0) {
        return;
    }
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // Every logged line ends with a line break, so the last line is left empty for the next one;
    // text the user typed there keeps a line of its own.
    if (end.block().text().isEmpty()) {
        m_added += u'\n';
    } else {
        m_added.prepend(u'\n');
    }
    document()->setUndoRedoEnabled(false);
    end.insertText(m_added);
    document()->setUndoRedoEnabled(true);
    m_added.clear();
    m_addedCount = 0;
    setTextCursor(end);
    // The whole way down: showing the caret alone can stop a line short, depending on the font.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace dnl
