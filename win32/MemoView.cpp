#include "MemoView.h"

#include <oleacc.h>

#include <algorithm>

#include "Accessible.h"
#include "Fonts.h"
#include "MemoControl.h"
#include "WideText.h"
#include "WindowDesign.h"

namespace dnl::win32 {
namespace {

constexpr int kMargin = 2;  // pixels between the border and the text on either side

// How many characters of `text` from `start` fit in `width` pixels. It measures a piece at a
// time, each twice the last, so that a row of a long line costs what the row holds, not what
// follows it.
std::size_t Fitting(HDC context, std::wstring_view text, std::size_t start, int width) {
    const std::size_t rest = text.size() - start;
    for (std::size_t piece = 256;; piece *= 2) {
        const std::size_t measured = std::min(piece, rest);
        INT fit = 0;
        SIZE size{};
        GetTextExtentExPointW(context, text.data() + start, static_cast<int>(measured), width, &fit,
                              nullptr, &size);
        if (static_cast<std::size_t>(fit) < measured || measured == rest) {
            return static_cast<std::size_t>(fit);
        }
    }
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

}  // namespace

MemoView::MemoView(HWND window, std::wstring_view text) : m_window(window) {
    m_text.SetText(text);
}

int MemoView::TextWidth() const {
    return std::max(1, static_cast<int>(ClientSize(m_window).cx) - 2 * kMargin);
}

int MemoView::VisibleRows() const {
    return std::max(1, static_cast<int>(ClientSize(m_window).cy) / m_lineHeight);
}

std::vector<std::size_t> MemoView::RowStarts(HDC context, std::size_t line) const {
    const std::wstring& text = m_text.Line(line);
    const int width = TextWidth();
    return WrapRows(text, [&](std::size_t start) { return Fitting(context, text, start, width); });
}

std::size_t MemoView::RowEnd(const std::vector<std::size_t>& starts, std::size_t row,
                             std::size_t line) const {
    return row + 1 < starts.size() ? starts[row + 1] : m_text.Line(line).size();
}

MemoView::Row MemoView::RowOf(HDC context, MemoPosition at) const {
    const std::vector<std::size_t> starts = RowStarts(context, at.line);
    const auto after = std::upper_bound(starts.begin(), starts.end(), at.column);
    return {at.line, static_cast<std::size_t>(after - starts.begin()) - 1};
}

// Steps `row` to the next row; false at the last one.
bool MemoView::Next(HDC context, Row& row) const {
    if (row.row + 1 < RowStarts(context, row.line).size()) {
        ++row.row;
        return true;
    }
    if (row.line + 1 < m_text.LineCount()) {
        row = {row.line + 1, 0};
        return true;
    }
    return false;
}

// Steps `row` to the row before; false at the first one.
bool MemoView::Previous(HDC context, Row& row) const {
    if (row.row > 0) {
        --row.row;
        return true;
    }
    if (row.line > 0) {
        row = {row.line - 1, RowStarts(context, row.line - 1).size() - 1};
        return true;
    }
    return false;
}

// The top row that shows the last row at the bottom.
MemoView::Row MemoView::LastTop(HDC context) const {
    const std::size_t last = m_text.LineCount() - 1;
    Row top{last, RowStarts(context, last).size() - 1};
    for (int row = 1; row < VisibleRows() && Previous(context, top); ++row) {
    }
    return top;
}

int MemoView::XOf(HDC context, MemoPosition at) const {
    const std::vector<std::size_t> starts = RowStarts(context, at.line);
    const std::size_t start = starts[RowOf(context, at).row];
    return kMargin +
           WidthOf(context,
                   std::wstring_view(m_text.Line(at.line)).substr(start, at.column - start));
}

// The place on `row` nearest to `x`: a row that wraps ends before its last character, which
// starts the next one.
MemoPosition MemoView::AtX(HDC context, Row row, int x) const {
    const std::wstring& text = m_text.Line(row.line);
    const std::vector<std::size_t> starts = RowStarts(context, row.line);
    const std::size_t start = starts[row.row];
    const std::size_t end = RowEnd(starts, row.row, row.line);
    const bool wraps = row.row + 1 < starts.size();
    std::vector<INT> extents(end - start + 1);
    SIZE size{};
    GetTextExtentExPointW(context, text.data() + start, static_cast<int>(end - start), 0, nullptr,
                          extents.data(), &size);
    std::size_t column = 0;
    int left = 0;
    while (column < end - start && x - kMargin >= (left + extents[column]) / 2) {
        left = extents[column++];
    }
    return {row.line, start + std::min(column, wraps ? end - start - 1 : end - start)};
}

MemoPosition MemoView::HitTest(POINT point) const {
    const FontContext context(m_window, m_font);
    Row row = m_top;
    for (int down = point.y / m_lineHeight; down > 0 && Next(context, row); --down) {
    }
    return AtX(context, row, point.x);
}

MemoPosition MemoView::RowEdge(MemoPosition at, bool end) const {
    const FontContext context(m_window, m_font);
    const std::vector<std::size_t> starts = RowStarts(context, at.line);
    const std::size_t row = RowOf(context, at).row;
    if (!end) {
        return {at.line, starts[row]};
    }
    const bool wraps = row + 1 < starts.size();
    return {at.line, RowEnd(starts, row, at.line) - (wraps ? 1 : 0)};
}

void MemoView::MoveCaretByRows(int rows, bool extend) {
    const FontContext context(m_window, m_font);
    const int goal = m_goalX >= 0 ? m_goalX : XOf(context, m_text.Caret());
    Row row = RowOf(context, m_text.Caret());
    for (; rows > 0 && Next(context, row); --rows) {
    }
    for (; rows < 0 && Previous(context, row); ++rows) {
    }
    m_text.MoveCaret(AtX(context, row, goal), extend);
    ScrollToCaret();
    m_goalX = goal;
}

void MemoView::Paint() {
    if (m_scrollBarDue) {
        UpdateScrollBar();
    }
    PAINTSTRUCT paint{};
    HDC context = BeginPaint(m_window, &paint);
    const HGDIOBJ previous = SelectObject(context, m_font);
    FillRect(context, &paint.rcPaint, GetSysColorBrush(COLOR_WINDOW));
    const bool focused = GetFocus() == m_window;
    const MemoPosition from = std::min(m_text.Anchor(), m_text.Caret());
    const MemoPosition to = focused ? std::max(m_text.Anchor(), m_text.Caret()) : from;
    const int height = static_cast<int>(ClientSize(m_window).cy);
    int y = 0;
    for (std::size_t line = m_top.line; line < m_text.LineCount() && y < height; ++line) {
        const std::size_t selectedFrom = line == from.line ? from.column : 0;
        const std::size_t selectedTo = line < from.line || line > to.line ? 0
                                       : line == to.line                  ? to.column
                                                         : m_text.Line(line).size();
        y = PaintLine(context, {line, line == m_top.line ? m_top.row : 0}, y,
                      {selectedFrom, selectedTo});
    }
    SelectObject(context, previous);
    EndPaint(m_window, &paint);
}

// Draws the rows of `first`'s line from `first` on, the first at `y`, while they are in sight;
// returns where the next row goes.
int MemoView::PaintLine(HDC context, Row first, int y, Span selected) const {
    const std::size_t line = first.line;
    const std::wstring& text = m_text.Line(line);
    const std::vector<std::size_t> starts = RowStarts(context, line);
    const int height = static_cast<int>(ClientSize(m_window).cy);
    for (std::size_t row = first.row; row < starts.size() && y < height; ++row) {
        PaintRow(context, text, {starts[row], RowEnd(starts, row, line)}, y, selected);
        y += m_lineHeight;
    }
    return y;
}

// Draws the characters of `row` at `y`, those selected highlighted.
void MemoView::PaintRow(HDC context, const std::wstring& line, Span row, int y,
                        Span selected) const {
    const auto [start, end] = row;
    SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(context, GetSysColor(COLOR_WINDOW));
    ExtTextOutW(context, kMargin, y, 0, nullptr, line.data() + start,
                static_cast<UINT>(end - start), nullptr);
    const std::size_t first = std::max(selected.first, start);
    const std::size_t last = std::min(selected.second, end);
    if (first >= last) {
        return;
    }
    const int left =
        kMargin + WidthOf(context, std::wstring_view(line).substr(start, first - start));
    const RECT highlight{
        left, y, left + WidthOf(context, std::wstring_view(line).substr(first, last - first)),
        y + m_lineHeight};
    SetTextColor(context, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(context, GetSysColor(COLOR_HIGHLIGHT));
    ExtTextOutW(context, left, y, ETO_OPAQUE, &highlight, line.data() + first,
                static_cast<UINT>(last - first), nullptr);
}

// Shows `top` as the first row, or the last rows when it would leave space below them.
void MemoView::ScrollTo(Row top) {
    const FontContext context(m_window, m_font);
    top.line = std::min(top.line, m_text.LineCount() - 1);
    top.row = std::min(top.row, RowStarts(context, top.line).size() - 1);
    m_top = std::min(top, LastTop(context));
    m_scrollBarDue = true;
    UpdateCaret();
    InvalidateRect(m_window, nullptr, FALSE);
}

void MemoView::ScrollBy(int rows) {
    const FontContext context(m_window, m_font);
    Row top = m_top;
    for (; rows > 0 && Next(context, top); --rows) {
    }
    for (; rows < 0 && Previous(context, top); ++rows) {
    }
    ScrollTo(top);
}

void MemoView::ScrollToCaret() {
    const FontContext context(m_window, m_font);
    const Row caret = RowOf(context, m_text.Caret());
    Row shown = m_top;
    for (int row = 1; row < VisibleRows() && shown < caret && Next(context, shown); ++row) {
    }
    if (caret < m_top) {
        ScrollTo(caret);
    } else if (shown < caret) {
        Row top = caret;
        for (int row = 1; row < VisibleRows() && Previous(context, top); ++row) {
        }
        ScrollTo(top);
    } else {
        ScrollTo(m_top);
    }
}

// The bar counts lines: its range is the text's lines, its page the rows shown. Wine redraws the
// bar at once, at more than a millisecond a time, so the bar catches up when the text is painted.
void MemoView::UpdateScrollBar() {
    m_scrollBarDue = false;
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    bar.nMax = static_cast<int>(m_text.LineCount()) - 1;
    bar.nPage = static_cast<UINT>(VisibleRows());
    bar.nPos = static_cast<int>(m_top.line);
    SetScrollInfo(m_window, SB_VERT, &bar, TRUE);
}

// The caret stands out of sight when its row is not shown.
void MemoView::UpdateCaret() const {
    if (GetFocus() != m_window) {
        return;
    }
    const FontContext context(m_window, m_font);
    const Row caret = RowOf(context, m_text.Caret());
    Row shown = m_top;
    int row = 0;
    for (; row < VisibleRows() && shown < caret && Next(context, shown); ++row) {
    }
    const bool visible = shown == caret && row < VisibleRows();
    SetCaretPos(visible ? XOf(context, m_text.Caret()) : -m_lineHeight,
                visible ? row * m_lineHeight : -m_lineHeight);
}

void MemoView::OnVScroll(WPARAM request) {
    switch (LOWORD(request)) {
        case SB_LINEUP:
            ScrollBy(-1);
            break;
        case SB_LINEDOWN:
            ScrollBy(1);
            break;
        case SB_PAGEUP:
            ScrollBy(-VisibleRows());
            break;
        case SB_PAGEDOWN:
            ScrollBy(VisibleRows());
            break;
        case SB_TOP:
            ScrollTo({});
            break;
        case SB_BOTTOM:
            ScrollTo({m_text.LineCount(), m_text.LineCount()});
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO bar{};
            bar.cbSize = sizeof bar;
            bar.fMask = SIF_TRACKPOS;
            GetScrollInfo(m_window, SB_VERT, &bar);
            ScrollTo({static_cast<std::size_t>(std::max(0, bar.nTrackPos)), 0});
            break;
        }
        default:
            break;
    }
}

void MemoView::OnWheel(int delta) {
    UINT perNotch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    const int rows = perNotch == WHEEL_PAGESCROLL ? VisibleRows() : static_cast<int>(perNotch);
    m_wheel += delta;
    const int notches = m_wheel / WHEEL_DELTA;
    m_wheel -= notches * WHEEL_DELTA;
    ScrollBy(-notches * rows);
}

void MemoView::OnSetFont(HFONT font) {
    m_font = font;
    const FontContext context(m_window, m_font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    m_lineHeight = std::max(1, static_cast<int>(metrics.tmHeight));
    if (GetFocus() == m_window) {  // a caret of the new height
        OnFocus(true);
    }
    ScrollTo(m_top);
}

// The caret shows only while the memo has the focus, and so does the selection.
void MemoView::OnFocus(bool gained) {
    if (gained) {
        CreateCaret(m_window, nullptr, 1, m_lineHeight);
        UpdateCaret();
        ShowCaret(m_window);
    } else {
        DestroyCaret();
    }
    InvalidateRect(m_window, nullptr, FALSE);
}

// WM_GETTEXT: as much of the text as `size` characters hold with a null after them.
LRESULT MemoView::CopyText(std::size_t size, wchar_t* buffer) const {
    if (size == 0) {
        return 0;
    }
    const std::wstring text = m_text.Text();
    const std::size_t copied = std::min(text.size(), size - 1);
    std::copy_n(text.data(), copied, buffer);
    buffer[copied] = L'\0';
    return static_cast<LRESULT>(copied);
}

LRESULT MemoView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            ScrollTo(m_top);
            return 0;
        case WM_SETFONT:
            OnSetFont(reinterpret_cast<HFONT>(wParam));
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font);
        case WM_SETTEXT:
            m_text.SetText(lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            ScrollTo({});
            return TRUE;
        case WM_GETTEXT:
            return CopyText(wParam, reinterpret_cast<wchar_t*>(lParam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(m_text.TextLength());
        case kMemoAppend:
            m_text.Append(lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            ScrollTo({m_text.LineCount(), m_text.LineCount()});
            return 0;
        case kMemoLastLineEmpty:
            return m_text.LastLineEmpty() ? TRUE : FALSE;
        case WM_GETOBJECT:
            if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
                return AnswerAccessibleObject(m_window, wParam,
                                              {.name = Wide(kMemoAccessibleName),
                                               .role = ROLE_SYSTEM_TEXT,
                                               .textIsValue = true});
            }
            return DefWindowProcW(m_window, message, wParam, lParam);
        case WM_VSCROLL:
            OnVScroll(wParam);
            return 0;
        case WM_MOUSEWHEEL:
            OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            OnFocus(message == WM_SETFOCUS);
            return 0;
        default:
            return HandleInput(message, wParam, lParam);
    }
}

}  // namespace dnl::win32
