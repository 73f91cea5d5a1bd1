#include "Completion.h"

#include <algorithm>

namespace dnl {
namespace {

char FoldedCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(),
                      [](char a, char b) { return FoldedCase(a) == FoldedCase(b); });
}

}  // namespace

int CompletingItem(std::span<const std::string> items, std::string_view typed) {
    const auto found = std::find_if(items.begin(), items.end(), [typed](const std::string& item) {
        return StartsWithIgnoringCase(item, typed);
    });
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

}  // namespace dnl
