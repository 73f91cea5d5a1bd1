#pragma once

namespace dnl {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// Where a control anchored left and right only sits in a client area of `client`, given that it
// sits at `designed` in a client area of `designedClient`: its left and right margins and its
// height are kept, and its vertical centre stays at the same fraction of the client height.
Rect AnchoredLeftRight(const Rect& designed, const Size& designedClient, const Size& client);

}  // namespace dnl
