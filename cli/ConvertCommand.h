#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Arguments.h"
#include "StopRequest.h"

namespace dnl::cli {

// Converts each file for `choice` as the window's Execute does: the backup beside the file first
// (unless the options say not), then the run only when the backup was made. Unless forced, a
// file whose examination says that the run would stop midway or leave a file that is not one for
// the module is left untouched. Each file's lines go to `out` under a line naming the file; each
// file that does not finish also gets a line on `err` saying why. Files that are missing or not
// regular, or two files that would write the same file, are argument errors reported on `err`
// before any file is touched. A requested `stop` ends the conversion under way between two
// records and leaves the files after it alone. With `json`, each file is one JSON object on a
// line of `out` instead. A dry run (ConvertOptions::dryRun) says what each conversion would do,
// from the same decisions, and writes nothing. Returns an exit code.
int ConvertCommand(const std::vector<std::string>& files, const ConversionChoice& choice,
                   const ConvertOptions& options, bool json, std::ostream& out, std::ostream& err,
                   const StopRequest* stop = nullptr);

}  // namespace dnl::cli
