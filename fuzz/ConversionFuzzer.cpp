// Converts arbitrary bytes as a DNL file and holds the outcome against a reference walk of the
// same bytes: the lines logged and the file left behind must be exactly what that walk expects,
// so no byte outside a rewritten NAME or MISC payload changes and the file grows only where such
// a payload was cut short by its end; the run must name the same end as that walk, and what the
// examination says of the run must agree with it. The first bytes choose the conversion:
//   byte 0: module index, modulo 8 (5 to 7 stand for "no module")
//   bytes 1-2: MISC value, big-endian
//   byte 3: GBR flag in bit 0
// The rest is the DNL file. Each input also goes through a read-only examination first, which
// must leave the file untouched.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ConversionRun.h"
#include "Examination.h"
#include "ModuleProfiles.h"
#include "Record.h"
#include "ReferenceWalk.h"
#include "TestSupport.h"

namespace dnl::fuzz {
namespace {

constexpr std::size_t kChoiceBytes = 4;

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

void PrintLines(const char* title, const std::vector<std::string>& lines) {
    std::fprintf(stderr, "%s:\n", title);
    for (const std::string& line : lines) {
        std::fprintf(stderr, "  %s\n", line.c_str());
    }
}

// The folder every input is written to; it is also the working directory.
const std::string& DnlPath() {
    static const test::TempDir dir;
    static const std::string path = dir.File("fuzz.dnl");
    return path;
}

void ExamineWithoutChanging(const std::string& path, const Bytes& original) {
    const test::FaultyFiles files;
    const DnlExamination examination = ExamineDnl(path);
    Require(examination.opened, "examination could not open the file");
    Require(files.OpenHandles().empty(), "examination left a file open");
    Require(test::ReadFile(path) == original, "examination changed the file");
}

// Where a run for a module ends at the problem that ended the examination's walk: a payload
// running past the end of the file leaves no end record to find, unless it is a MISC record too
// short to rewrite.
RunEnd EndAt(const DnlProblem& problem, std::uint8_t module) {
    const ModuleProfile* profile = ProfileFor(module);
    const bool rewritesMisc = profile == nullptr || profile->rewritesMisc;
    switch (problem.kind) {
        case DnlProblemKind::HeaderCutShort:
            return RunEnd::HeaderCutShort;
        case DnlProblemKind::NegativeLength:
            return RunEnd::NegativeLength;
        case DnlProblemKind::MiscTooShort:
            return RunEnd::MiscTooShort;
        case DnlProblemKind::PayloadPastEnd:
            return rewritesMisc && problem.type == kMiscRecord && problem.length < kMiscValueSize
                       ? RunEnd::MiscTooShort
                       : RunEnd::NoEndRecord;
        case DnlProblemKind::NoEndRecord:
            return RunEnd::NoEndRecord;
        case DnlProblemKind::CannotRead:
            break;
    }
    return RunEnd::HeaderUnreadable;
}

// What the examination says of a run must be what the run does: it finishes exactly when nothing
// is in its way, and otherwise stops where and why the examination says; and a conversion the
// window lets go ahead never stops midway.
bool ForecastAgrees(const DnlExamination& examination, std::uint8_t module, RunEnd end) {
    const ConversionObstacle stop = RunStopsAt(examination, module);
    const ObstacleKind declined = ObstacleToConversion(examination, module).kind;
    const bool sameEnd = stop.kind == ObstacleKind::None      ? end == RunEnd::Finished
                         : stop.kind == ObstacleKind::Problem ? end == EndAt(stop.problem, module)
                                                              : end == RunEnd::NameDoesNotFit;
    return sameEnd && (stop.kind == ObstacleKind::None || declined != ObstacleKind::None);
}

void ConvertAsExpected(const std::string& path, const Bytes& original, std::uint8_t module,
                       std::int16_t misc, bool gbr) {
    const ExpectedConversion expected = ExpectConversion(original, module, misc, gbr);
    const ConversionChoice choice{.moduleIndex = module, .miscValue = misc, .gbr = gbr};
    const DnlExamination examination = ExamineDnl(path);
    test::RecordingLog log;
    test::CountingCursor cursor;
    const test::FaultyFiles files;
    const RunResult result = ConversionRun(path, choice, log, cursor);
    if (log.lines != expected.lines) {
        PrintLines("logged", log.lines);
        PrintLines("expected", expected.lines);
    }
    Require(log.lines == expected.lines, "the lines differ from the reference walk");
    const Bytes after = test::ReadFile(path);
    Require(after.size() >= original.size(), "the file shrank");
    Require(after == expected.file, "the file differs from the reference walk");
    Require(result.end == expected.end, "the run's end differs from the reference walk");
    Require(ForecastAgrees(examination, module, expected.end),
            "what the examination says of the run disagrees with the run");
    Require(cursor.busyCalls == 1 && cursor.normalCalls == 1 && !cursor.busy,
            "the cursor was not restored exactly once");
    Require(files.OpenHandles().empty(), "the run left a file open");
}

}  // namespace
}  // namespace dnl::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dnl::fuzz;
    if (size < kChoiceBytes) {
        return 0;
    }
    const auto module = static_cast<std::uint8_t>(data[0] % 8);
    const auto misc = static_cast<std::int16_t>(data[1] << 8 | data[2]);
    const bool gbr = (data[3] & 1) != 0;
    const Bytes original(data + kChoiceBytes, data + size);
    const std::string& path = DnlPath();
    dnl::test::WriteFile(path, original);
    ExamineWithoutChanging(path, original);
    ConvertAsExpected(path, original, module, misc, gbr);
    return 0;
}
