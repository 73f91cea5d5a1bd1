#include "ModulesCommand.h"

#include <iomanip>

#include "ExitCodes.h"
#include "ModuleProfiles.h"
#include "TextFormat.h"

namespace dnl::cli {
namespace {

constexpr int kModuleColumn = 7;
constexpr int kFormatColumn = 12;

void PrintModule(const ModuleProfile& profile, std::ostream& out) {
    out << static_cast<int>(profile.index) << "  " << std::left << std::setw(kModuleColumn)
        << profile.selectorText << "NAME " << Quoted(profile.nameText);
    if (!profile.rewritesMisc) {
        out << ", no formats: MISC records are left as they are";
    }
    if (profile.gbrCapable) {
        out << ", --gbr adds " << Hex16(kGbrBit);
    }
    out << '\n';
    for (const MiscFormat& format : profile.miscList) {
        out << "     " << std::left << std::setw(kFormatColumn) << format.name
            << Hex16(static_cast<std::uint16_t>(format.value)) << '\n';
    }
}

}  // namespace

int ModulesCommand(std::ostream& out) {
    for (std::uint8_t index = 0; index < kModuleCount; ++index) {
        PrintModule(*ProfileFor(index), out);
    }
    return kExitSuccess;
}

}  // namespace dnl::cli
