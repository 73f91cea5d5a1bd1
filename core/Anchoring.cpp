#include "Anchoring.h"

#include <algorithm>

namespace dnl {
namespace {

// value * numerator / denominator, rounded half away from zero, for non-negative operands.
int ScaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + denominator / 2) / denominator);
}

}  // namespace

Rect AnchoredLeftRight(const Rect& designed, const Size& designedClient, const Size& client) {
    const int rightMargin = designedClient.width - (designed.left + designed.width);
    const int width = std::max(0, client.width - designed.left - rightMargin);
    // The designed centre is taken as a whole pixel, rounded down (197 for the status memo).
    const int designedCentre = designed.top + designed.height / 2;
    const int top =
        ScaleRounded(designedCentre, client.height, designedClient.height) - designed.height / 2;
    return {designed.left, top, width, designed.height};
}

}  // namespace dnl
