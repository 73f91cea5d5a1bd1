#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace dnl {

// One video format a module can be set to: the text shown to the user and the code written into
// MISC records.
struct MiscFormat {
    std::string_view name;
    std::int16_t value;
};

// A module's formats in the order they are offered; empty for a module that has none.
using MiscList = std::span<const MiscFormat>;

// Everything the tool knows about one target module.
struct ModuleProfile {
    std::uint8_t index;
    std::string_view selectorText;  // the item shown in the module selector
    std::string_view logLine;       // logged when the run meets the NAME record
    std::string_view nameText;      // written into the NAME payload, followed by a zero byte
    MiscList miscList;
    bool rewritesMisc;
    bool stopsAfterName;
    bool gbrCapable;  // the GBR box applies, and adds kGbrBit to the MISC value
};

inline constexpr std::uint8_t kModuleCount = 5;
// The module index that stands for "no module selected".
inline constexpr std::uint8_t kNoModule = 255;
// Marks a GBR signal in a MISC value.
inline constexpr std::uint16_t kGbrBit = 0x1000;

// The profile of module `index` (below kModuleCount), or nullptr for any other index.
const ModuleProfile* ProfileFor(std::uint8_t index);

// The length of the NAME payload of a file for the module: its name and a zero byte. A run
// rewrites only a NAME payload of exactly this length.
std::int32_t NamePayloadLength(const ModuleProfile& profile);

// The formats of module `index`; empty for the module without formats and for any other index.
MiscList MiscListFor(std::uint8_t index);

// The code of row `row` of module `index`'s formats; 0 when the module has no formats or the row
// lies outside them.
std::int16_t MiscValue(std::uint8_t index, int row);

// The module whose selector text is `text`, in any case, or whose index `text` is in plain
// decimal ("3", not "03"); kNoModule when there is none.
std::uint8_t ModuleCalled(std::string_view text);

// The module whose files carry the NAME text `text`, exactly; kNoModule when there is none.
std::uint8_t ModuleNamedBy(std::string_view text);

// The code of the format of module `index`'s list whose name is `name`, in any case; none when
// no format is called so.
std::optional<std::int16_t> MiscValueCalled(std::uint8_t index, std::string_view name);

// What a MISC value means for one module: the formats of its list with exactly that code or,
// when there are none and the module takes the GBR bit, those with the code less the bit, marked
// `gbr`.
struct MiscMeaning {
    std::vector<std::string_view> formats;
    bool gbr = false;
};

MiscMeaning MeaningOf(std::uint8_t moduleIndex, std::uint16_t value);

}  // namespace dnl
