#pragma once

#include <cstddef>
#include <string>

namespace dnl::bench {

// Writes a DNL file of `records` small records: a NAME record first, then MISC records and
// fillers of 0 to 8 bytes mixed, a second NAME record in the middle, and the end record last.
// The file is written as it is made, so even a huge one takes no memory to build.
void WriteSyntheticDnl(const std::string& path, std::size_t records);

}  // namespace dnl::bench
