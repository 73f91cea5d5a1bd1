#include "InfoCommand.h"

#include <cstring>

#include "Examination.h"
#include "ExitCodes.h"
#include "FileCheck.h"
#include "ModuleProfiles.h"
#include "TextFormat.h"
#include "Utf8Path.h"

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

std::string RecordAt(std::string_view what, const DnlProblem& problem) {
    return std::string(what) + " " + Hex16(problem.type) + " at offset " +
           std::to_string(problem.offset);
}

std::string Describe(const DnlProblem& problem) {
    switch (problem.kind) {
        case DnlProblemKind::CannotRead:
            return "the file could not be read at offset " + std::to_string(problem.offset);
        case DnlProblemKind::HeaderCutShort:
            return "the record header at offset " + std::to_string(problem.offset) +
                   " is cut short by the end of the file";
        case DnlProblemKind::NegativeLength:
            return RecordAt("record", problem) + " has a negative length (" +
                   std::to_string(problem.length) + ")";
        case DnlProblemKind::PayloadPastEnd:
            return RecordAt("the payload of record", problem) +
                   " runs past the end of the file (payload length " +
                   std::to_string(problem.length) + ")";
        case DnlProblemKind::MiscTooShort:
            return "the MISC record at offset " + std::to_string(problem.offset) +
                   " is too short for its value (payload length " + std::to_string(problem.length) +
                   ")";
        case DnlProblemKind::NoEndRecord:
            return "no end record";
    }
    return {};
}

void PrintReport(const DnlExamination& examination, std::ostream& out) {
    out << examination.records << (examination.records == 1 ? " record in " : " records in ")
        << examination.size << " bytes\n";
    const std::uint8_t moduleIndex = ModuleOf(examination);
    for (const NameRecordInfo& name : examination.names) {
        out << "NAME at offset " << name.offset << ": " << Quoted(name.text) << " ("
            << ModuleName(ModuleNamedBy(name.text)) << "), " << name.length << "-byte payload\n";
    }
    for (const MiscRecordInfo& misc : examination.miscs) {
        out << "MISC at offset " << misc.offset << ": " << Hex16(misc.value) << ' '
            << Meaning(moduleIndex, misc.value) << '\n';
    }
    for (const DnlProblem& problem : examination.problems) {
        out << "problem: " << Describe(problem) << '\n';
    }
    if (examination.problems.empty()) {
        out << "well formed\n";
    }
}

// False when the file could not be read or is not well formed.
bool ReportFile(const std::string& file, std::ostream& out, std::ostream& err) {
    const DnlExamination examination = ExamineDnl(file);
    if (!examination.opened) {
        // The file layer refuses anything but a regular file; say so rather than its errno.
        const std::string why = WhyNotARegularFile(PathFromUtf8(file));
        err << "dnlconv: cannot open '" << file
            << "': " << (why.empty() ? std::strerror(examination.openError) : why) << '\n';
        return false;
    }
    out << "==> " << file << " <==\n";
    PrintReport(examination, out);
    return examination.problems.empty();
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
