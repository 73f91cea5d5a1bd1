#include "Record.h"

#include <bit>
#include <cstring>
#include <vector>

#include "FileIo.h"

namespace dnl {

// The file's numbers are big-endian; reversing the bytes converts them only on a little-endian
// host, which is every host this tool is built for.
static_assert(std::endian::native == std::endian::little);

bool IsGroupRecord(std::uint16_t type) {
    return (type & kGroupBits) == kGroupBits;
}

CDnlRecord::CDnlRecord(const std::string& path, StatusLog& log, FileLayer::Access access)
    : m_handle(Files().OpenExisting(path, access)), m_log(log) {
    if (m_handle < 0) {
        m_error = Files().LastError();
        m_log.AddLine("dnlファイルをopenできませんでした");
    }
}

CDnlRecord::~CDnlRecord() {
    if (m_handle >= 0) {
        Files().Close(m_handle);
    }
}

int CDnlRecord::ReadHeader(RecordHeader& header) {
    unsigned char bytes[kHeaderSize] = {};
    const std::ptrdiff_t count = m_handle < 0 ? -1 : Files().Read(m_handle, bytes, sizeof bytes);
    if (count == 0) {
        return 1;
    }
    if (count != kHeaderSize) {
        m_log.AddLine("dnl Header read error");
        // Without a file the error stays the one that kept it from opening.
        if (m_handle >= 0) {
            m_error = count < 0 ? Files().LastError() : 0;
        }
        return -1;
    }
    SwapBytes(bytes, &header.type, sizeof header.type);
    SwapBytes(bytes + sizeof header.type, &header.length, sizeof header.length);
    return 0;
}

std::int64_t CDnlRecord::FileSize() {
    return m_handle < 0 ? -1 : Files().Size(m_handle);
}

int CDnlRecord::ReadPayload(std::int32_t length, std::vector<unsigned char>& payload) {
    payload.clear();
    if (length < 0 || m_handle < 0) {
        return -1;
    }
    payload.resize(static_cast<std::size_t>(length));
    std::size_t done = 0;
    while (done < payload.size()) {
        const std::ptrdiff_t count =
            Files().Read(m_handle, payload.data() + done, payload.size() - done);
        if (count <= 0) {
            payload.resize(done);
            return -1;
        }
        done += static_cast<std::size_t>(count);
    }
    return 0;
}

int CDnlRecord::SkipPayload(std::int32_t length) {
    if (length < 0) {
        m_error = 0;
        return -1;
    }
    if (Files().Seek(m_handle, length) != 0) {
        m_error = Files().LastError();
        return -1;
    }
    return 0;
}

int CDnlRecord::WriteName(std::string_view text, std::int32_t length) {
    if (length < 0) {
        return FailedOverwrite(0);
    }
    std::vector<char> payload(static_cast<std::size_t>(length), '\0');
    text.copy(payload.data(), payload.size());
    if (!WriteAll(m_handle, payload.data(), payload.size())) {
        return FailedOverwrite(Files().LastError());
    }
    return 0;
}

int CDnlRecord::WriteMisc(std::int16_t value, std::int32_t length) {
    if (length < kMiscValueSize) {
        return FailedOverwrite(0);
    }
    unsigned char bytes[kMiscValueSize] = {};
    SwapBytes(&value, bytes, kMiscValueSize);
    // The usual 2-byte payload leaves nothing to pass over, and a seek would cost a system call
    // per MISC record.
    const std::int32_t rest = length - kMiscValueSize;
    if (!WriteAll(m_handle, bytes, sizeof bytes) ||
        (rest > 0 && Files().Seek(m_handle, rest) != 0)) {
        return FailedOverwrite(Files().LastError());
    }
    return 0;
}

void CDnlRecord::SwapBytes(const void* source, void* destination, std::int16_t size) {
    constexpr std::int16_t kLargest = 8;
    if (size < 0 || size > kLargest) {
        return;
    }
    unsigned char reversed[kLargest] = {};
    const auto* from = static_cast<const unsigned char*>(source);
    for (std::int16_t i = 0; i < size; ++i) {
        reversed[i] = from[size - 1 - i];
    }
    std::memcpy(destination, reversed, static_cast<std::size_t>(size));
}

int ReadNextRecord(CDnlRecord& record, RecordHeader& header, int& groupHeaders) {
    groupHeaders = 0;
    for (;;) {
        const int result = record.ReadHeader(header);
        if (result != 0 || !IsGroupRecord(header.type)) {
            return result;
        }
        ++groupHeaders;
    }
}

int CDnlRecord::FailedOverwrite(int error) {
    m_error = error;
    m_log.AddLine("モジュール名の上書きに失敗しました");
    return -2;
}

}  // namespace dnl
