#pragma once

#include "Anchoring.h"

namespace dnl {

// Where a window opens on a screen whose working area (the screen less its task bars and docks)
// is `workArea`, when it was designed at `designed` (its frame, in the screen's coordinates): as
// designed when it fits; otherwise moved just enough to fit, on each axis alone. A window larger
// than the working area keeps its top-left corner on it, so that its menu and title stay in reach.
Rect FitInWorkArea(const Rect& designed, const Rect& workArea);

}  // namespace dnl
