#pragma once

#include <cstdint>
#include <string>

#include "StatusLog.h"
#include "StopRequest.h"

namespace dnl {

// What the user chose as the target of a conversion.
struct ConversionChoice {
    std::uint8_t moduleIndex = 0;  // 0 to 4; any other value means no module
    std::int16_t miscValue = 0;    // the code written into MISC records
    bool gbr = false;              // adds the GBR bit for the module that takes it
    bool operator==(const ConversionChoice&) const = default;
};

// Where a run ended.
enum class RunEnd {
    Finished,          // it reached the end record (or, for LM5, rewrote the name)
    CannotOpen,        // the DNL file could not be opened for reading and writing
    HeaderUnreadable,  // a record header was cut short or could not be read
    NameDoesNotFit,    // the NAME payload's length does not fit the module's name
    WriteFailed,       // writing a NAME or MISC payload failed
    SkipFailed,        // passing over a payload failed (or its length was negative)
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

// The code a run for `choice` writes into MISC records: the chosen code, with the GBR bit for
// the module that takes it when GBR is chosen.
std::int16_t WrittenMiscValue(const ConversionChoice& choice);

// Whether the DNL file at `path` already holds what a run for `choice` writes: the module's name
// in its first NAME record and, for a module that rewrites them, the chosen code in every MISC
// record. A file that cannot be read does not.
bool HoldsConversion(const std::string& path, const ConversionChoice& choice);

}  // namespace dnl
