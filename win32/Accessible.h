#pragma once

#include <windows.h>

#include <string>

#include "WindowDesign.h"

namespace dnl::win32 {

// What a control says of itself to screen readers, which ask through Active Accessibility, where
// the system's own object for it would say otherwise; that object answers all else.
struct AccessibleAnswers {
    std::wstring name;
    LONG role = 0;             // 0 leaves the system's role
    bool textIsValue = false;  // the control's whole text is its value
};

// The answer to WM_GETOBJECT for `control`'s client area, given `answers`; 0 where the system
// has no standard object to give.
LRESULT AnswerAccessibleObject(HWND control, WPARAM flags, const AccessibleAnswers& answers);

// Gives `control` the caption of `label`, one of the design's, as its name for screen readers.
// Windows' own object for a drop-down list takes its name from the label made directly before it,
// as the window makes it; Wine's gives the list's text, which changes with every choice.
void NameByLabel(HWND control, const ControlDesign& label);

}  // namespace dnl::win32
