#include "StatusMemo.h"

#include "MemoControl.h"
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
    const bool lastLineEmpty = SendMessageW(m_memo, kMemoLastLineEmpty, 0, 0) != FALSE;
    const std::wstring added =
        (LineBreakBeforeLoggedLines(lastLineEmpty) ? L"\r\n" : L"") + Wide(m_added);
    m_added.clear();
    m_added.shrink_to_fit();
    m_addedCount = 0;
    SendMessageW(m_memo, kMemoAppend, 0, reinterpret_cast<LPARAM>(added.c_str()));
}

}  // namespace dnl::win32
