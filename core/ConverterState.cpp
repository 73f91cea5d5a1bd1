#include "ConverterState.h"

#include "ModuleProfiles.h"

namespace dnl {

std::vector<std::string_view> ModuleItems() {
    std::vector<std::string_view> items;
    for (std::uint8_t index = 0; index < kModuleCount; ++index) {
        items.push_back(ProfileFor(index)->selectorText);
    }
    return items;
}

ModuleSelection SelectModule(ConverterState& state, int selectorIndex, bool gbrChecked) {
    const bool isModule = selectorIndex >= 0 && selectorIndex < kModuleCount;
    state.moduleIndex = isModule ? static_cast<std::uint8_t>(selectorIndex) : kNoModule;

    ModuleSelection selection;
    const ModuleProfile* profile = ProfileFor(state.moduleIndex);
    if (profile != nullptr && profile->gbrCapable) {
        selection.gbrEnabled = true;
        state.gbr = gbrChecked;
    }
    const MiscList formats = MiscListFor(state.moduleIndex);
    if (formats.empty()) {
        return selection;  // the MISC value keeps whatever it held
    }
    for (const MiscFormat& format : formats) {
        selection.miscItems.push_back(format.name);
    }
    selection.miscEnabled = true;
    state.miscValue = formats.front().value;
    state.miscChosen = true;
    return selection;
}

void SelectMisc(ConverterState& state, int row) {
    state.miscChosen = row >= 0;
    if (state.miscChosen) {
        state.miscValue = MiscValue(state.moduleIndex, row);
    }
}

}  // namespace dnl
