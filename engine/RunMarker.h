#pragma once

#include <string>
#include <string_view>

#include "StatusLog.h"

namespace dnl {

// A conversion that began and did not finish leaves its DNL file partly converted. The marker
// says so: a small hidden file beside the DNL file, ".X.dnl.~unfinished" for X.dnl, made durable
// before a run's first write and removed once the run has finished. While it is there, the
// file's backup is kept: it holds the file as it was before that conversion began. The marker is
// an ordinary file, so it works on every file system, FAT and exFAT included.

// Where the marker of the DNL file at `path` lives: beside it, in its own folder.
std::string RunMarkerPath(std::string_view path);

// 1 when the marker of `path` is there, 0 when it is not, -1 (after a line in `log`) when that
// cannot be told.
int FindRunMarker(const std::string& path, StatusLog& log);

// Puts the marker of `path` in place, durably, with the permissions of the file open on `like`.
// 0, or the error number of the call that failed, after a line in `log`.
int PlaceRunMarker(const std::string& path, int like, StatusLog& log);

// Removes the marker of `path`; a marker that cannot be removed is said in `log`.
void RemoveRunMarker(const std::string& path, StatusLog& log);

}  // namespace dnl
