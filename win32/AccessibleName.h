#pragma once

#include <windows.h>

#include "WindowDesign.h"

namespace dnl::win32 {

// Gives `control` the caption of `label`, one of the design's, as its name for screen readers,
// which ask through Active Accessibility: the system's own object for the control answers all
// else. Windows' own object
// for a drop-down list takes its name from the label made directly before it, as the window makes
// it; Wine's gives the list's text, which changes with every choice.
void NameByLabel(HWND control, const ControlDesign& label);

}  // namespace dnl::win32
