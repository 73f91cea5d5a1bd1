#include "InfoCommand.h"

#include "Examination.h"
#include "ExitCodes.h"
#include "FileIo.h"
#include "ModuleProfiles.h"
#include "ProblemText.h"
#include "TextFormat.h"

namespace dnl::cli {
namespace {

std::string ModuleName(std::uint8_t index) {
    const ModuleProfile* profile = ProfileFor(index);
    return profile != nullptr ? std::string(profile->selectorText) : std::string("no known module");
}

// The module a file is for: the one its first NAME record names, the record a conversion
// rewrites.
std::uint8_t ModuleOf(const DnlExamination& examination) {
    return examination.names.empty() ? kNoModule : ModuleNamedBy(examination.names.front().text);
}

std::string Meaning(std::uint8_t moduleIndex, std::uint16_t value) {
    if (ProfileFor(moduleIndex) == nullptr) {
        return "(the file names no known module)";
    }
    if (MiscListFor(moduleIndex).empty()) {
        // Appending, rather than "(" + name + ..., keeps gcc 12's false -Wrestrict alarm quiet at
        // -O3.
        std::string text = "(";
        text += ModuleName(moduleIndex);
        text += " has no formats)";
        return text;
    }
    const MiscMeaning meaning = MeaningOf(moduleIndex, value);
    if (meaning.formats.empty()) {
        return "(not in the " + ModuleName(moduleIndex) + " list)";
    }
    std::string text = "=";
    const char* separator = " ";
    for (const std::string_view format : meaning.formats) {
        text += separator;
        text += format;
        separator = " or ";
    }
    return meaning.gbr ? text + " + GBR" : text;
}

void PrintReport(const DnlExamination& examination, std::ostream& out) {
    out << examination.records << (examination.records == 1 ? " record in " : " records in ")
        << examination.size << " bytes\n";
    const std::uint8_t moduleIndex = ModuleOf(examination);
    for (const NameRecordInfo& name : examination.names) {
        out << "NAME at offset " << name.offset << ": " << Quoted(name.text);
        if (name.cut) {
            out << " (cut to " << name.text.size() << " bytes)";
        }
        out << " (" << ModuleName(ModuleNamedBy(name.text)) << "), " << name.length
            << "-byte payload\n";
    }
    for (const MiscRecordInfo& misc : examination.miscs) {
        out << "MISC at offset " << misc.offset << ": " << Hex16(misc.value) << ' '
            << Meaning(moduleIndex, misc.value) << '\n';
    }
    for (const DnlProblem& problem : examination.problems) {
        out << "problem: " << DescribeProblem(problem) << '\n';
    }
    if (examination.problems.empty()) {
        out << "well formed\n";
    }
}

// False when the file could not be read or is not well formed.
bool ReportFile(const std::string& file, std::ostream& out, std::ostream& err) {
    const DnlExamination examination = ExamineDnl(file);
    if (!examination.opened) {
        err << "dnlconv: cannot open '" << file << "': " << FileErrorText(examination.openError)
            << '\n';
        return false;
    }
    out << "==> " << file << " <==\n";
    PrintReport(examination, out);
    if (!examination.problems.empty()) {
        out.flush();
        err << "dnlconv: '" << file
            << "' is not well formed: " << DescribeProblem(examination.problems.front()) << '\n';
        return false;
    }
    return true;
}

}  // namespace

int InfoCommand(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    bool allWellFormed = true;
    for (const std::string& file : files) {
        allWellFormed = ReportFile(file, out, err) && allWellFormed;
    }
    return allWellFormed ? kExitSuccess : kExitFailure;
}

}  // namespace dnl::cli
