#pragma once

#include <cstdint>
#include <string>

#include "Examination.h"
#include "StatusLog.h"
#include "StopRequest.h"

namespace dnl {

// What the user chose as the target of a conversion.
struct ConversionChoice {
    std::uint8_t moduleIndex = 0;  // a module's index (ProfileFor); any other means no module
    std::int16_t miscValue = 0;    // the code written into MISC records
    bool gbr = false;              // adds the GBR bit for the module that takes it
    bool operator==(const ConversionChoice&) const = default;
};

// Where a run ended, and why.
enum class RunEnd {
    Finished,          // it reached the end record (or, for LM5, rewrote the name)
    CannotOpen,        // the DNL file could not be opened for reading and writing
    HeaderCutShort,    // the file ends inside a record header
    HeaderUnreadable,  // reading a record header failed
    NameDoesNotFit,    // the NAME payload's length does not fit the module's name
    MiscTooShort,      // a MISC payload to rewrite is too short for its 2-byte value
    WriteFailed,       // writing a NAME or MISC payload failed
    NegativeLength,    // a record's length is negative
    SkipFailed,        // passing over a payload failed
    NoEndRecord,       // the file ended without an end record
    Interrupted,       // a stop was requested; the walk ended between two records
};

// A run's end, with the error number of the system call that failed (0 when none did).
struct RunResult {
    RunEnd end = RunEnd::Finished;
    int error = 0;
    bool wrote = false;  // a NAME or MISC payload was written, or a write was tried and failed
};

// Rewrites the DNL file at `path`, in place, into a file for the chosen module: the first NAME
// record gets the module's name and every MISC record the chosen code. Every step is reported to
// `log`; `cursor` shows busy for as long as the file is walked. When `stop` is requested the walk
// ends before the next record header.
RunResult ConversionRun(const std::string& path, const ConversionChoice& choice, StatusLog& log,
                        BusyCursor& cursor, const StopRequest* stop = nullptr);

// What an examination of a file finds in the way of a run for a module, before anything is written.
enum class ObstacleKind {
    None,            // nothing
    Problem,         // a problem in the file's structure
    NoNameRecord,    // the file has no NAME record to rewrite
    NameDoesNotFit,  // the first NAME record's payload does not fit the module's name
};

struct ConversionObstacle {
    ObstacleKind kind = ObstacleKind::None;
    DnlProblem problem{};   // for Problem
    NameRecordInfo name{};  // for NameDoesNotFit: the first NAME record
};

// Where a run for `moduleIndex` on the examined file would stop short of finishing: None when it
// would finish. A file that could not be opened has nothing in the way here; the run reports it.
ConversionObstacle RunStopsAt(const DnlExamination& examination, std::uint8_t moduleIndex);

// Why a conversion for `moduleIndex` should not go ahead unless forced: a run that would stop
// midway or leave a file that is not one for the module. That is the first of a NAME record the
// module's name does not fit and a problem anywhere in the file's structure, or no NAME record at
// all. Whenever RunStopsAt finds something in the way, so does this.
ConversionObstacle ObstacleToConversion(const DnlExamination& examination,
                                        std::uint8_t moduleIndex);

// The code a run for `choice` writes into MISC records: the chosen code, with the GBR bit for
// the module that takes it when GBR is chosen.
std::int16_t WrittenMiscValue(const ConversionChoice& choice);

// Whether the DNL file at `path` already holds what a run for `choice` writes: the module's name
// in its first NAME record and, for a module that rewrites them, the chosen code in every MISC
// record. A file that cannot be read does not.
bool HoldsConversion(const std::string& path, const ConversionChoice& choice);

}  // namespace dnl
