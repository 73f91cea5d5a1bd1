#include "Completion.h"

#include <algorithm>

#include "AsciiText.h"

namespace dnl {

int CompletingItem(std::span<const std::string> items, std::string_view typed) {
    const auto found = std::find_if(items.begin(), items.end(), [typed](const std::string& item) {
        return StartsWithIgnoringAsciiCase(item, typed);
    });
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

}  // namespace dnl
