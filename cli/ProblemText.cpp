#include "ProblemText.h"

#include "TextFormat.h"

namespace dnl::cli {
namespace {

std::string RecordAt(std::string_view what, const DnlProblem& problem) {
    return std::string(what) + " " + Hex16(problem.type) + " at offset " +
           std::to_string(problem.offset);
}

}  // namespace

std::string DescribeProblem(const DnlProblem& problem) {
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

}  // namespace dnl::cli
