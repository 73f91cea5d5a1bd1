#include "StatusMemo.h"

#include "WideText.h"
#include "WindowDesign.h"

namespace dnl::win32 {
namespace {

constexpr int kLinesPerBatch = 2000;

}  // namespace

void StatusMemo::AddLine(std::string_view text) {
    m_added += text;
    m_added += "\r\n";
    if (++m_addedCount == kLinesPerBatch) {
        ShowAddedLines();
    }
}

void StatusMemo::ShowAddedLines() {
    if (m_added.empty()) {
        return;
    }
    const auto lastLine = SendMessageW(m_memo, EM_GETLINECOUNT, 0, 0) - 1;
    const auto lastLineStart = SendMessageW(m_memo, EM_LINEINDEX, lastLine, 0);
    const bool lastLineEmpty = SendMessageW(m_memo, EM_LINELENGTH, lastLineStart, 0) == 0;
    const std::wstring added =
        (LineBreakBeforeLoggedLines(lastLineEmpty) ? L"\r\n" : L"") + Wide(m_added);
    m_added.clear();
    m_added.shrink_to_fit();
    m_addedCount = 0;

    const int end = GetWindowTextLengthW(m_memo);
    SendMessageW(m_memo, EM_SETSEL, end, end);
    SendMessageW(m_memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
    SendMessageW(m_memo, EM_SCROLLCARET, 0, 0);
}

}  // namespace dnl::win32
