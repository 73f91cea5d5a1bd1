#include "ModuleProfiles.h"

#include <array>
#include <string>

#include "AsciiText.h"

namespace dnl {
namespace {

// "PAL" shares the code of "NTSC" in this list; the modules that take it expect exactly that.
constexpr MiscFormat kListA[] = {
    {"NTSC", 0x0000},
    {"NTSC NSU", 0x0001},
    {"PAL", 0x0000},
};

constexpr MiscFormat kListB[] = {
    {"NTSC NSU", 0x0000}, {"NTSC", 0x0001},       {"525i GBR", 0x1002},   {"525i YPbPr", 0x0003},
    {"525 BETA", 0x0004}, {"525 PVW", 0x0005},    {"525p GBR", 0x1006},   {"525p YPbPr", 0x0007},
    {"PAL", 0x0100},      {"625i GBR", 0x1101},   {"625i YPbPr", 0x0102}, {"625 PVW", 0x0103},
    {"625p GBR", 0x1104}, {"625p YPbPr", 0x0105},
};

constexpr MiscFormat kListC[] = {
    {"1080/60i", 0x0800}, {"1080/50i", 0x0801},  {"1080/30p", 0x0802}, {"1080/25p", 0x0803},
    {"1080/24p", 0x0804}, {"1080/24sF", 0x0805}, {"1035/60i", 0x0806}, {"720/60p", 0x0807},
    {"720/50p", 0x0808},  {"720/30p", 0x0809},   {"720/25p", 0x080A},  {"720/24p", 0x080B},
    {"NTSC NSU", 0x0000}, {"NTSC", 0x0001},      {"525i", 0x0002},     {"525p", 0x0003},
    {"PAL", 0x0004},      {"625i", 0x0005},      {"625p", 0x0006},
};

constexpr MiscFormat kListD[] = {
    {"720/50p", 0x0008},
    {"720/30p", 0x0009},
    {"720/25p", 0x000A},
    {"720/24p", 0x000B},
};

// The selector shows JSRY3 while the file must name JSRY6, and TNWQ8's files name TNW8; LM5's
// name is padded with a space to the four characters every 5-byte NAME payload holds.
constexpr std::array<ModuleProfile, kModuleCount> kProfiles = {{
    {0, "RQX4", "--> RQX4", "RQX4", kListA, true, false, false},
    {1, "LM5", "--> LM5", "LM5 ", {}, false, true, false},
    {2, "PZK2", "--> PZK2", "PZK2", kListB, true, false, false},
    {3, "TNWQ8", "--> TNWQ8", "TNW8", kListC, true, false, true},
    {4, "JSRY3", "--> JSRY6", "JSRY6", kListD, true, false, false},
}};

// The formats of module `index`'s list whose code is `code`.
std::vector<std::string_view> FormatsWithCode(std::uint8_t index, std::uint16_t code) {
    std::vector<std::string_view> formats;
    for (const MiscFormat& format : MiscListFor(index)) {
        if (static_cast<std::uint16_t>(format.value) == code) {
            formats.push_back(format.name);
        }
    }
    return formats;
}

}  // namespace

const ModuleProfile* ProfileFor(std::uint8_t index) {
    return index < kProfiles.size() ? &kProfiles[index] : nullptr;
}

std::int32_t NamePayloadLength(const ModuleProfile& profile) {
    return static_cast<std::int32_t>(profile.nameText.size() + 1);
}

MiscList MiscListFor(std::uint8_t index) {
    const ModuleProfile* profile = ProfileFor(index);
    return profile != nullptr ? profile->miscList : MiscList{};
}

std::int16_t MiscValue(std::uint8_t index, int row) {
    const MiscList list = MiscListFor(index);
    if (row < 0 || static_cast<std::size_t>(row) >= list.size()) {
        return 0;
    }
    return list[static_cast<std::size_t>(row)].value;
}

std::uint8_t ModuleCalled(std::string_view text) {
    for (const ModuleProfile& profile : kProfiles) {
        if (text == std::to_string(profile.index) ||
            EqualIgnoringAsciiCase(text, profile.selectorText)) {
            return profile.index;
        }
    }
    return kNoModule;
}

std::uint8_t ModuleNamedBy(std::string_view text) {
    for (const ModuleProfile& profile : kProfiles) {
        if (profile.nameText == text) {
            return profile.index;
        }
    }
    return kNoModule;
}

std::optional<std::int16_t> MiscValueCalled(std::uint8_t index, std::string_view name) {
    for (const MiscFormat& format : MiscListFor(index)) {
        if (EqualIgnoringAsciiCase(name, format.name)) {
            return format.value;
        }
    }
    return std::nullopt;
}

MiscMeaning MeaningOf(std::uint8_t moduleIndex, std::uint16_t value) {
    MiscMeaning meaning{FormatsWithCode(moduleIndex, value)};
    // Only the module that takes the GBR bit adds it to a code of its list.
    const ModuleProfile* profile = ProfileFor(moduleIndex);
    const bool takesGbr = profile != nullptr && profile->gbrCapable;
    if (meaning.formats.empty() && takesGbr && (value & kGbrBit) != 0) {
        meaning.formats =
            FormatsWithCode(moduleIndex, static_cast<std::uint16_t>(value & ~kGbrBit));
        meaning.gbr = !meaning.formats.empty();
    }
    return meaning;
}

}  // namespace dnl
