#include "Anchoring.h"

#include <algorithm>

namespace dnl {
namespace {

// A scale factor, as a fraction.
struct Ratio {
    int numerator;
    int denominator;
};

// value * ratio, rounded half away from zero, for non-negative operands.
int ScaleRounded(int value, Ratio ratio) {
    const long long product = static_cast<long long>(value) * ratio.numerator;
    return static_cast<int>((product + ratio.denominator / 2) / ratio.denominator);
}

}  // namespace

Rect AnchoredLeftRight(const Rect& designed, const Size& designedClient, const Size& client) {
    const int rightMargin = designedClient.width - (designed.left + designed.width);
    const int width = std::max(0, client.width - designed.left - rightMargin);
    // The designed centre is taken as a whole pixel, rounded down (197 for the status memo).
    const int designedCentre = designed.top + designed.height / 2;
    const int top =
        ScaleRounded(designedCentre, {client.height, designedClient.height}) - designed.height / 2;
    return {designed.left, top, width, designed.height};
}

}  // namespace dnl
