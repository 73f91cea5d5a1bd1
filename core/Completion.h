#pragma once

#include <span>
#include <string>
#include <string_view>

namespace dnl {

// The item that text typed into an editable list selects: the first, in list order, that starts
// with `typed`, letters compared without regard to case; -1 when none does. The items are the
// tool's own ASCII texts; a typed character outside ASCII matches none of them.
int CompletingItem(std::span<const std::string> items, std::string_view typed);

}  // namespace dnl
