#pragma once

#include <string>

namespace dnl::bench {

// The least a conversion of the DNL file at `path` to TNWQ8 with "1080/50i" and GBR can do: one
// 6-byte read per header, one relative seek per payload passed over, and the payload writes.
// No log, no checks but the results of the calls: the floor the engine is measured against.
// MISC payloads are taken to be 2 bytes long, as in the synthetic files. False when a call failed.
bool FloorConversion(const std::string& path);

// The least a durable byte-for-byte copy can do: 512-byte reads, each written out at once to a
// new file, which is flushed and renamed over the backup, and the folder flushed.
bool FloorBackup(const std::string& path, const std::string& backupPath);

}  // namespace dnl::bench
