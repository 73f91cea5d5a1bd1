#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace dnl::win32 {

// Makes the editable drop-down list `combo` complete typed text with the first item, in list
// order, that starts with it (CompletingItem), through a subclass of its edit field. Each change
// the user makes to the text (typing, Backspace, Delete, cut, paste, undo) reaches the combo's
// parent as WM_COMMAND with CBN_SELCHANGE, as a pick from the list does. Text that no item
// completes leaves no item selected. Changes the program makes are never reported.
void MakeCompleting(HWND combo);

// Removes every item of `combo`; its field keeps the text it shows.
void ClearItemsKeepingText(HWND combo);

// The texts of `combo`'s items, in UTF-8, in list order.
std::vector<std::string> Items(HWND combo);

std::wstring WindowText(HWND window);

}  // namespace dnl::win32
