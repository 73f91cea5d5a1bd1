#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "MemoText.h"

namespace dnl::win32 {

// One memo window's text, view and input (MemoControl.h). The text is laid out only where it is
// shown: a row is one wrapped piece of a line, measured with the memo's font when it is drawn,
// hit or scrolled past. The scroll bar counts lines, not rows, so that it needs no layout of the
// lines out of sight; a long line's rows are scrolled through by the keys, the wheel and the
// arrows of the bar.
class MemoView {
public:
    MemoView(HWND window, std::wstring_view text);

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Row {
        std::size_t line = 0;
        std::size_t row = 0;
        bool operator==(const Row&) const = default;
        bool operator<(const Row& other) const {
            return line < other.line || (line == other.line && row < other.row);
        }
    };

    // Layout (MemoView.cpp).
    int TextWidth() const;
    int VisibleRows() const;
    std::vector<std::size_t> RowStarts(HDC context, std::size_t line) const;
    std::size_t RowEnd(const std::vector<std::size_t>& starts, std::size_t row,
                       std::size_t line) const;
    Row RowOf(HDC context, MemoPosition at) const;
    bool Next(HDC context, Row& row) const;
    bool Previous(HDC context, Row& row) const;
    Row LastTop(HDC context) const;
    int XOf(HDC context, MemoPosition at) const;
    MemoPosition AtX(HDC context, Row row, int x) const;
    MemoPosition HitTest(POINT point) const;
    // The first place of `at`'s row, or its last one.
    MemoPosition RowEdge(MemoPosition at, bool end) const;
    // Moves the caret up or down by rows, as near as it goes to where it stood across.
    void MoveCaretByRows(int rows, bool extend);

    // The view (MemoView.cpp).
    void Paint();
    using Span = std::pair<std::size_t, std::size_t>;  // from a column up to another
    int PaintLine(HDC context, Row first, int y, Span selected) const;
    void PaintRow(HDC context, const std::wstring& line, Span row, int y, Span selected) const;
    void ScrollTo(Row top);
    void ScrollBy(int rows);
    void ScrollToCaret();
    void UpdateScrollBar();
    void UpdateCaret() const;
    void OnVScroll(WPARAM request);
    void OnWheel(int delta);
    void OnSetFont(HFONT font);
    void OnFocus(bool gained);
    LRESULT CopyText(std::size_t size, wchar_t* buffer) const;

    // Input (MemoInput.cpp): what the view does not handle goes to the user's input.
    LRESULT HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
    void MoveTo(MemoPosition at, bool extend);
    void OnKey(WPARAM key);
    void OnChar(wchar_t character);
    void OnMouse(UINT message, WPARAM keys, LPARAM where);
    void OnContextMenu(LPARAM where);
    // The context menu's commands, which keys give too.
    bool Can(UINT command) const;
    void Do(UINT command);

    HWND m_window;
    MemoText m_text;
    HFONT m_font = nullptr;
    int m_lineHeight = 16;
    Row m_top;
    int m_goalX = -1;             // where up and down keep the caret, -1 for where it is
    bool m_scrollBarDue = false;  // the bar shows an earlier view
    bool m_selecting = false;
    int m_wheel = 0;  // wheel turns not yet a row
};

}  // namespace dnl::win32
