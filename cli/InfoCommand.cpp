#include "InfoCommand.h"

#include "Examination.h"
#include "ExitCodes.h"
#include "FileIo.h"
#include "FileReport.h"
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
    return examination.names.kept.empty() ? kNoModule
                                          : ModuleNamedBy(examination.names.kept.front().text);
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

// One line for each NAME record.
class NameLines final : public RecordVisitor {
public:
    explicit NameLines(std::ostream& out) : m_out(out) {}

    void Name(const NameRecordInfo& name) override {
        m_out << "NAME at offset " << name.offset << ": " << Quoted(name.text);
        if (name.cut) {
            m_out << " (cut to " << name.text.size() << " bytes)";
        }
        m_out << " (" << ModuleName(ModuleNamedBy(name.text)) << "), " << name.length
              << "-byte payload\n";
    }

private:
    std::ostream& m_out;
};

// One line for each MISC record, saying what its value means for the file's module.
class MiscLines final : public RecordVisitor {
public:
    MiscLines(std::ostream& out, std::uint8_t moduleIndex) : m_out(out), m_module(moduleIndex) {}

    void Misc(const MiscRecordInfo& misc) override {
        m_out << "MISC at offset " << misc.offset << ": " << Hex16(misc.value) << ' '
              << Meaning(m_module, misc.value) << '\n';
    }

private:
    std::ostream& m_out;
    std::uint8_t m_module;
};

class ProblemLines final : public RecordVisitor {
public:
    explicit ProblemLines(std::ostream& out) : m_out(out) {}

    void Problem(const DnlProblem& problem) override {
        m_out << "problem: " << DescribeProblem(problem) << '\n';
    }

private:
    std::ostream& m_out;
};

// Tells `lines` of every record of one kind: of those the examination kept when it kept them
// all, else of those a second walk over the file meets, so that no file is held in memory.
template <typename Record>
void PrintAll(const FirstRecords<Record>& records, const std::string& file, RecordVisitor& lines,
              void (RecordVisitor::*line)(const Record&)) {
    if (!records.AllKept()) {
        ExamineDnl(file, lines);
        return;
    }
    for (const Record& record : records.kept) {
        (lines.*line)(record);
    }
}

void PrintReport(const DnlExamination& examination, const std::string& file, std::ostream& out) {
    out << examination.records << (examination.records == 1 ? " record in " : " records in ")
        << examination.size << " bytes\n";
    NameLines names(out);
    PrintAll(examination.names, file, names, &RecordVisitor::Name);
    MiscLines miscs(out, ModuleOf(examination));
    PrintAll(examination.miscs, file, miscs, &RecordVisitor::Misc);
    ProblemLines problems(out);
    PrintAll(examination.problems, file, problems, &RecordVisitor::Problem);
    if (examination.problems.count == 0) {
        out << "well formed\n";
    }
}

// The facts of one kind of record: how many, and the first ones, as `fact` gives each.
template <typename Record, typename Fact>
Json FirstRecordsJson(const FirstRecords<Record>& records, Fact fact) {
    Json first = Json::array();
    for (const Record& record : records.kept) {
        first.push_back(fact(record));
    }
    return {{"count", records.count}, {"first", std::move(first)}};
}

Json ModuleJson(std::uint8_t index) {
    const ModuleProfile* profile = ProfileFor(index);
    return profile != nullptr ? Json(profile->selectorText) : Json();
}

// The formats a MISC value means for the file's module, and whether it marks GBR.
Json MiscJson(const MiscRecordInfo& misc, std::uint8_t moduleIndex) {
    const bool listed = ProfileFor(moduleIndex) != nullptr && !MiscListFor(moduleIndex).empty();
    const MiscMeaning meaning = listed ? MeaningOf(moduleIndex, misc.value) : MiscMeaning{};
    Json formats = Json::array();
    for (const std::string_view format : meaning.formats) {
        formats.push_back(format);
    }
    return {{"offset", misc.offset},
            {"value", misc.value},
            {"formats", std::move(formats)},
            {"gbr", !meaning.formats.empty() && meaning.gbr}};
}

// What `info` prints of a file, as one JSON object.
Json ReportJson(const DnlExamination& examination, const std::string& file) {
    const std::uint8_t module = ModuleOf(examination);
    const bool anyMisc = examination.miscs.count != 0;
    Json miscs = FirstRecordsJson(
        examination.miscs, [module](const MiscRecordInfo& misc) { return MiscJson(misc, module); });
    miscs["lowest"] = anyMisc ? Json(examination.lowestMisc) : Json();
    miscs["highest"] = anyMisc ? Json(examination.highestMisc) : Json();
    const bool wellFormed = examination.problems.count == 0;
    return {
        {"file", file},
        {"outcome", wellFormed ? "well formed" : "not well formed"},
        {"error", wellFormed ? Json() : Json(DescribeProblem(examination.problems.kept.front()))},
        {"size", examination.size},
        {"records", examination.records},
        {"module", ModuleJson(module)},
        {"names", FirstRecordsJson(examination.names,
                                   [](const NameRecordInfo& name) -> Json {
                                       return {{"offset", name.offset},
                                               {"text", name.text},
                                               {"cut", name.cut},
                                               {"module", ModuleJson(ModuleNamedBy(name.text))},
                                               {"length", name.length}};
                                   })},
        {"miscs", std::move(miscs)},
        {"problems", FirstRecordsJson(examination.problems,
                                      [](const DnlProblem& problem) -> Json {
                                          return DescribeProblem(problem);
                                      })},
        {"well_formed", wellFormed},
    };
}

// False when the file could not be read or is not well formed.
bool ReportFile(const std::string& file, bool json, std::ostream& out, std::ostream& err) {
    const DnlExamination examination = ExamineDnl(file);
    if (!examination.opened) {
        const std::string why = FileErrorText(examination.openError);
        if (json) {
            out << JsonText({{"file", file}, {"outcome", "cannot open"}, {"error", why}}) << '\n';
        }
        out.flush();
        err << "dnlconv: cannot open '" << file << "': " << why << '\n';
        return false;
    }
    if (json) {
        out << JsonText(ReportJson(examination, file)) << '\n';
    } else {
        out << "==> " << file << " <==\n";
        PrintReport(examination, file, out);
    }
    if (examination.problems.count != 0) {
        out.flush();
        err << "dnlconv: '" << file
            << "' is not well formed: " << DescribeProblem(examination.problems.kept.front())
            << '\n';
        return false;
    }
    return true;
}

}  // namespace

int InfoCommand(const std::vector<std::string>& files, bool json, std::ostream& out,
                std::ostream& err) {
    bool allWellFormed = true;
    for (const std::string& file : files) {
        allWellFormed = ReportFile(file, json, out, err) && allWellFormed;
    }
    return allWellFormed ? kExitSuccess : kExitFailure;
}

}  // namespace dnl::cli
