#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace dnl::win32 {

// The lines logged for the status memo (MemoControl.h), to which the program only appends. A run
// can log a line for every record, and showing the memo costs more than a record does, so lines
// wait here until ShowAddedLines puts them in, all at once; a batch of 2,000 lines goes in by
// itself, so that the lines waiting stay few.
class StatusMemo {
public:
    explicit StatusMemo(HWND memo) : m_memo(memo) {}

    // Keeps `text` (UTF-8) as the next line to show; shows the batch when it is full.
    void AddLine(std::string_view text);

    // Appends the lines kept so far at once, each ended by CR LF, moves the caret after them and
    // scrolls to the end. Text the user typed on the last line keeps a line of its own.
    void ShowAddedLines();

private:
    HWND m_memo;
    std::string m_added;  // the lines kept, in UTF-8, each ended by CR LF
    int m_addedCount = 0;
};

}  // namespace dnl::win32
