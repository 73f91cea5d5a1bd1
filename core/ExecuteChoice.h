#pragma once

#include "ConverterState.h"
#include "StatusLog.h"
#include "StopRequest.h"

namespace dnl {

// A press of Execute. A choice that names no module, or no MISC format for a module whose MISC
// records are rewritten, is refused with one line in `log` and touches no file: the run would
// otherwise write a code left over from an earlier choice. Otherwise the file is backed up when
// `backupWanted` and converted, every step reported to `log`; a requested `stop` ends the run
// between two records.
void ExecuteChoice(const ConverterState& state, bool backupWanted, StatusLog& log,
                   BusyCursor& cursor, const StopRequest* stop = nullptr);

}  // namespace dnl
