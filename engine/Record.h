#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FileIo.h"
#include "StatusLog.h"

namespace dnl {

// Record types the conversion acts on. A type with both group bits set is a group header.
inline constexpr std::uint16_t kNameRecord = 0x0805;
inline constexpr std::uint16_t kMiscRecord = 0x0032;
inline constexpr std::uint16_t kEndRecord = 0x0FFF;
inline constexpr std::uint16_t kGroupBits = 0x8800;

// Every record starts with a 6-byte big-endian header: a 2-byte type and a 4-byte payload length.
inline constexpr int kHeaderSize = 6;
// A MISC payload holds its 16-bit value in its first two bytes.
inline constexpr std::int16_t kMiscValueSize = 2;

// One decoded record header, in host order.
struct RecordHeader {
    std::uint16_t type = 0;
    std::int32_t length = 0;
};

bool IsGroupRecord(std::uint16_t type);

// A DNL file open for reading and writing (or only reading, to examine it), walked one record at a
// time. The file position is the only cursor: after ReadHeader it stands on the first payload
// byte, where the payload operations start. Results: 0 success, 1 end of file (ReadHeader only),
// negative failure; each failure is logged when it happens, except a failed skip, which the
// caller reports.
class CDnlRecord {
public:
    // Opens the existing regular file at `path`. When that fails the line is logged and the object
    // stays usable: every read on it fails.
    CDnlRecord(const std::string& path, StatusLog& log,
               FileLayer::Access access = FileLayer::Access::ReadWrite);
    ~CDnlRecord();
    CDnlRecord(const CDnlRecord&) = delete;
    CDnlRecord& operator=(const CDnlRecord&) = delete;

    // Reads the next 6-byte header in one read: 0, 1 at a clean end of file, -1 when cut short or
    // unreadable.
    int ReadHeader(RecordHeader& header);

    // Whether the file was opened.
    bool IsOpen() const { return m_handle >= 0; }

    // The error number of the file call behind the last failure: why the file could not be opened,
    // read, passed over or written; 0 when the file itself was at fault (a header cut short).
    int LastError() const { return m_error; }

    // The size of the open file in bytes, or -1 when it is not open or cannot be asked.
    std::int64_t FileSize();

    // Reads the next `length` payload bytes into `payload`, going on after short reads: 0, or -1
    // when a read fails or the file ends first (`payload` then holds what was read). Logs nothing:
    // only an examination reads payloads, and it reports in its own terms.
    int ReadPayload(std::int32_t length, std::vector<unsigned char>& payload);

    // Moves past `length` payload bytes: 0, or -1 (position unchanged) when the seek fails or the
    // length is negative, which would walk backwards and might never end.
    int SkipPayload(std::int32_t length);

    // Writes `length` bytes over the NAME payload: `text`, then zero bytes up to `length`. 0 or -2.
    int WriteName(std::string_view text, std::int32_t length);

    // Writes `value` big-endian over the first two bytes of a MISC payload of `length` bytes and
    // leaves the position at the end of the payload. 0, or -2 (nothing written when the payload is
    // shorter than two bytes).
    int WriteMisc(std::int16_t value, std::int32_t length);

    // Copies `size` bytes from `source` to `destination` in reverse order. Sizes above 8 (and
    // below 0) leave `destination` untouched.
    static void SwapBytes(const void* source, void* destination, std::int16_t size);

private:
    // Logs a failed overwrite; `error` is that of the failed call, 0 when the record was at fault.
    int FailedOverwrite(int error);

    int m_handle;
    StatusLog& m_log;
    int m_error = 0;
};

// The step every walk over a DNL file takes: reads headers until one that is not a group header,
// since a group's own header is followed at once by the next header. Returns ReadHeader's result
// for the last header read and sets `groupHeaders` to the number of group headers passed over.
int ReadNextRecord(CDnlRecord& record, RecordHeader& header, int& groupHeaders);

}  // namespace dnl
