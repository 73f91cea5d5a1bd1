#pragma once

#include <cstdint>
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

// What a DNL file holds, in the order its records were met.
struct DnlExamination {
    bool opened = false;
    int openError = 0;  // the error number of the failed open
    std::int64_t size = 0;
    int records = 0;  // headers read, group headers and the end record included
    std::vector<NameRecordInfo> names;
    std::vector<MiscRecordInfo> miscs;
    bool endRecord = false;
    std::vector<DnlProblem> problems;
};

// Walks the DNL file at `path` the way a conversion run does, with the file opened for reading
// only, and says what it holds. The walk ends at the end record or at the first problem that
// leaves no next header to read.
DnlExamination ExamineDnl(const std::string& path);

}  // namespace dnl
