#pragma once

#include <cstdint>
#include <string>

#include "StatusLog.h"

namespace dnl {

// Rewrites the DNL file at `path`, in place, into a file for module `moduleIndex`: the first NAME
// record gets the module's name and every MISC record the code `miscValue` (plus the GBR bit when
// `gbrFlag` is set and the module takes it). Every step is reported to `log`; `cursor` shows
// busy for as long as the file is walked. The outcome is read from the log: a run that reached
// its end logged "Finished".
void ConversionRun(const std::string& path, std::uint8_t moduleIndex, std::int16_t miscValue,
                   bool gbrFlag, StatusLog& log, BusyCursor& cursor);

}  // namespace dnl
