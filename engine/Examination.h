#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dnl {

// What can be wrong with the record structure of a DNL file.
enum class DnlProblemKind {
    CannotRead,      // a read or seek failed at this point
    HeaderCutShort,  // the file ends inside a record header
    NegativeLength,  // a record's length field is below zero
    PayloadPastEnd,  // a record's payload runs past the end of the file
    MiscTooShort,    // a MISC payload too short to hold its 2-byte value
    NoEndRecord,     // the file ends without an end record
};

// One problem, with the record it was met at. `type` and `length` are those of the record's
// header, when one was read.
struct DnlProblem {
    DnlProblemKind kind;
    std::int64_t offset;
    std::uint16_t type = 0;
    std::int32_t length = 0;
};

// A NAME record: its text is the payload up to its first zero byte. A long payload is read only
// in part; `cut` says the text may go on past what was read.
struct NameRecordInfo {
    std::int64_t offset;
    std::int32_t length;
    std::string text;
    bool cut = false;
};

struct MiscRecordInfo {
    std::int64_t offset;
    std::uint16_t value;
};

// How many records of one kind an examination keeps, so that its memory does not grow with the
// file; it counts the rest.
inline constexpr std::size_t kRecordsKept = 16;

// The first records of one kind that a walk met, in the order met, and how many it met in all.
template <typename Record>
struct FirstRecords {
    std::vector<Record> kept;
    int count = 0;

    void Add(const Record& record) {
        if (kept.size() < kRecordsKept) {
            kept.push_back(record);
        }
        ++count;
    }
    bool AllKept() const { return kept.size() == static_cast<std::size_t>(count); }
};

// What a DNL file holds: counts, and the first records of each kind.
struct DnlExamination {
    bool opened = false;
    int openError = 0;  // the error number of the failed open
    std::int64_t size = 0;
    int records = 0;  // headers read, group headers and the end record included
    FirstRecords<NameRecordInfo> names;
    FirstRecords<MiscRecordInfo> miscs;
    // The range of every MISC value met; meaningless without a MISC record.
    std::uint16_t lowestMisc = 0;
    std::uint16_t highestMisc = 0;
    bool endRecord = false;
    FirstRecords<DnlProblem> problems;
    // The problem that ended the walk short of an end record, kept even past the first problems.
    std::optional<DnlProblem> walkStop;

    // Whether every MISC record holds `value` (true when there is none): a file already
    // converted to that format.
    bool EveryMiscHolds(std::uint16_t value) const {
        return miscs.count == 0 || (lowestMisc == value && highestMisc == value);
    }
};

// Told of each NAME record, MISC record and problem in the order a walk meets them.
class RecordVisitor {
public:
    virtual ~RecordVisitor() = default;
    virtual void Name(const NameRecordInfo& /*name*/) {}
    virtual void Misc(const MiscRecordInfo& /*misc*/) {}
    virtual void Problem(const DnlProblem& /*problem*/) {}
};

// Walks the DNL file at `path` the way a conversion run does, with the file opened for reading
// only, and says what it holds; `visitor` is told of every record as it is met. The walk ends at
// the end record or at the first problem that leaves no next header to read.
DnlExamination ExamineDnl(const std::string& path, RecordVisitor& visitor);
DnlExamination ExamineDnl(const std::string& path);

}  // namespace dnl
