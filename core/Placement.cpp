#include "Placement.h"

#include <algorithm>

namespace dnl {
namespace {

// A stretch along one axis.
struct Span {
    int start;
    int length;
};

// Where `designed` starts once moved just enough to end within `area`, then to start within it.
int FitSpan(Span designed, Span area) {
    const int latestStart = area.start + area.length - designed.length;
    return std::max(area.start, std::min(designed.start, latestStart));
}

}  // namespace

Rect FitInWorkArea(const Rect& designed, const Rect& workArea) {
    return {FitSpan({designed.left, designed.width}, {workArea.left, workArea.width}),
            FitSpan({designed.top, designed.height}, {workArea.top, workArea.height}),
            designed.width, designed.height};
}

}  // namespace dnl
