#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ConversionRun.h"

namespace dnl {

// What the user has chosen so far: the target of a conversion, and the file it converts.
struct ConverterState : ConversionChoice {
    std::string path;  // the accepted DNL file, in UTF-8; empty at first
    // Whether the MISC selector shows one of its formats; false after typed text that matches
    // none, when miscValue is only the code chosen before.
    bool miscChosen = true;
};

// The module selector's items: the modules' selector texts, in the order of their indexes.
std::vector<std::string_view> ModuleItems();

// What the MISC selector and the GBR box show after a module choice. The MISC selector holds
// `miscItems` and selects the first of them; with none it keeps the text it showed.
struct ModuleSelection {
    std::vector<std::string_view> miscItems;
    bool miscEnabled = false;
    bool gbrEnabled = false;
};

// Applies a module choice. `selectorIndex` is the module selector's index, -1 when it shows no
// item (no module); `gbrChecked` is the GBR box's state, read back for the module that takes it.
ModuleSelection SelectModule(ConverterState& state, int selectorIndex, bool gbrChecked);

// Applies a MISC choice: `row` is the MISC selector's index. Typed text that matches no row (-1)
// keeps the code chosen before, but no format is chosen any more.
void SelectMisc(ConverterState& state, int row);

}  // namespace dnl
