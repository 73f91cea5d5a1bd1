#include "MemoText.h"

#include <algorithm>
#include <cwctype>

namespace dnl {
namespace {

// `text` cut at its line breaks (CR LF, LF or CR): one piece more than it has breaks.
std::vector<std::wstring_view> Pieces(std::wstring_view text) {
    std::vector<std::wstring_view> pieces;
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == L'\r' || text[at] == L'\n') {
            pieces.push_back(text.substr(start, at - start));
            at += text[at] == L'\r' && at + 1 < text.size() && text[at + 1] == L'\n' ? 1 : 0;
            start = at + 1;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

// Where `text` put in at `at` ends.
MemoPosition EndOf(MemoPosition at, std::wstring_view text) {
    const std::vector<std::wstring_view> pieces = Pieces(text);
    if (pieces.size() == 1) {
        return {at.line, at.column + text.size()};
    }
    return {at.line + pieces.size() - 1, pieces.back().size()};
}

// Whether `at` falls between the two units of a character that UTF-16 writes as a pair.
bool IsPairEnd(std::wstring_view line, std::size_t at) {
    return at > 0 && at < line.size() && line[at - 1] >= 0xD800 && line[at - 1] <= 0xDBFF &&
           line[at] >= 0xDC00 && line[at] <= 0xDFFF;
}

bool IsSpace(wchar_t character) {
    return std::iswspace(static_cast<wint_t>(character)) != 0;
}

}  // namespace

std::wstring MemoText::Text() const {
    std::wstring text;
    text.reserve(TextLength());
    for (std::size_t line = 0; line < m_lines.size(); ++line) {
        text += line == 0 ? L"" : L"\r\n";
        text += m_lines[line];
    }
    return text;
}

std::size_t MemoText::TextLength() const {
    std::size_t length = 2 * (m_lines.size() - 1);
    for (const std::wstring& line : m_lines) {
        length += line.size();
    }
    return length;
}

void MemoText::SetText(std::wstring_view text) {
    m_lines.assign(1, std::wstring());
    Insert({}, text);
    m_anchor = m_caret = {};
    m_undo.reset();
}

void MemoText::Append(std::wstring_view text) {
    // Undo must not join the logged lines to the user's text, nor take them away with it.
    if (m_undo && EndOf(m_undo->at, m_undo->inserted) == End()) {
        m_undo.reset();
    }
    m_anchor = m_caret = Insert(End(), text);
}

void MemoText::MoveCaret(MemoPosition to, bool extend) {
    m_caret = Clamped(to);
    m_anchor = extend ? m_anchor : m_caret;
}

std::wstring MemoText::SelectedText() const {
    return Between(std::min(m_anchor, m_caret), std::max(m_anchor, m_caret));
}

void MemoText::Type(std::wstring_view text) {
    ReplaceSelection(text, true);
}

void MemoText::Paste(std::wstring_view text) {
    ReplaceSelection(text, false);
}

void MemoText::DeleteBackward() {
    if (!HasSelection()) {
        m_anchor = Before(m_caret);
    }
    if (HasSelection()) {
        ReplaceSelection(L"", false);
    }
}

void MemoText::DeleteForward() {
    if (!HasSelection()) {
        m_anchor = After(m_caret);
    }
    if (HasSelection()) {
        ReplaceSelection(L"", false);
    }
}

void MemoText::Undo() {
    if (!m_undo) {
        return;
    }
    const Edit edit = *m_undo;
    Erase(edit.at, EndOf(edit.at, edit.inserted));
    m_caret = Insert(edit.at, edit.removed);
    m_anchor = edit.at;
    m_undo = Edit{edit.at, edit.inserted, edit.removed, false};
}

MemoPosition MemoText::Before(MemoPosition at) const {
    if (at.column > 0) {
        const std::wstring& line = m_lines[at.line];
        const bool pair = at.column > 1 && IsPairEnd(line, at.column - 1);
        return {at.line, at.column - (pair ? 2 : 1)};
    }
    return at.line > 0 ? MemoPosition{at.line - 1, m_lines[at.line - 1].size()} : at;
}

MemoPosition MemoText::After(MemoPosition at) const {
    if (at.column < m_lines[at.line].size()) {
        const bool pair = IsPairEnd(m_lines[at.line], at.column + 1);
        return {at.line, at.column + (pair ? 2 : 1)};
    }
    return at.line + 1 < m_lines.size() ? MemoPosition{at.line + 1, 0} : at;
}

std::pair<MemoPosition, MemoPosition> MemoText::WordAt(MemoPosition at) const {
    at = Clamped(at);
    const std::wstring& line = m_lines[at.line];
    if (line.empty()) {
        return {at, at};
    }
    const std::size_t inside = std::min(at.column, line.size() - 1);
    const bool space = IsSpace(line[inside]);
    std::size_t start = inside;
    while (start > 0 && IsSpace(line[start - 1]) == space) {
        --start;
    }
    std::size_t end = inside + 1;
    while (end < line.size() && IsSpace(line[end]) == space) {
        ++end;
    }
    return {{at.line, start}, {at.line, end}};
}

// A place inside the text, and never inside a character of two units.
MemoPosition MemoText::Clamped(MemoPosition at) const {
    const std::size_t line = std::min(at.line, m_lines.size() - 1);
    const std::size_t column = std::min(at.column, m_lines[line].size());
    return {line, IsPairEnd(m_lines[line], column) ? column - 1 : column};
}

// Puts `text` in at `at` and returns the position after it.
MemoPosition MemoText::Insert(MemoPosition at, std::wstring_view text) {
    const std::vector<std::wstring_view> pieces = Pieces(text);
    std::wstring& first = m_lines[at.line];
    if (pieces.size() == 1) {
        first.insert(at.column, pieces.front());
        return {at.line, at.column + pieces.front().size()};
    }
    std::wstring rest = first.substr(at.column);
    first.replace(at.column, std::wstring::npos, pieces.front());
    std::vector<std::wstring> added(pieces.begin() + 1, pieces.end());
    const std::size_t lastColumn = added.back().size();
    added.back() += rest;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at.line) + 1,
                   std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    return {at.line + pieces.size() - 1, lastColumn};
}

// Takes the text from `from` to `to` out and returns it.
std::wstring MemoText::Erase(MemoPosition from, MemoPosition to) {
    std::wstring removed = Between(from, to);
    std::wstring& first = m_lines[from.line];
    if (from.line == to.line) {
        first.erase(from.column, to.column - from.column);
        return removed;
    }
    first.replace(from.column, std::wstring::npos, m_lines[to.line], to.column);
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(from.line) + 1,
                  m_lines.begin() + static_cast<std::ptrdiff_t>(to.line) + 1);
    return removed;
}

std::wstring MemoText::Between(MemoPosition from, MemoPosition to) const {
    if (from.line == to.line) {
        return m_lines[from.line].substr(from.column, to.column - from.column);
    }
    std::wstring text = m_lines[from.line].substr(from.column);
    for (std::size_t line = from.line + 1; line < to.line; ++line) {
        text += L"\r\n";
        text += m_lines[line];
    }
    text += L"\r\n";
    text += m_lines[to.line].substr(0, to.column);
    return text;
}

void MemoText::ReplaceSelection(std::wstring_view text, bool typing) {
    const MemoPosition from = std::min(m_anchor, m_caret);
    const MemoPosition to = std::max(m_anchor, m_caret);
    const bool goesOn = typing && from == to && m_undo && m_undo->typing &&
                        EndOf(m_undo->at, m_undo->inserted) == from;
    if (goesOn) {
        m_undo->inserted += text;
    } else {
        m_undo = Edit{from, Erase(from, to), std::wstring(text), typing};
    }
    m_anchor = m_caret = Insert(from, text);
}

std::vector<std::size_t> WrapRows(std::wstring_view line,
                                  const std::function<std::size_t(std::size_t start)>& fitting) {
    std::vector<std::size_t> starts{0};
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t fit = std::max<std::size_t>(1, fitting(start));
        if (IsPairEnd(line, start + fit)) {
            fit = fit > 1 ? fit - 1 : fit + 1;  // a character of two units stays whole
        }
        if (start + fit >= line.size()) {
            break;
        }
        // One space may hang past the edge, as words wrap.
        std::size_t next = std::min(start + fit + 1, line.size());
        while (next > start + 1 && line[next - 1] != L' ') {
            --next;
        }
        start = line[next - 1] == L' ' ? next : start + fit;
        starts.push_back(start);
    }
    return starts;
}

}  // namespace dnl
