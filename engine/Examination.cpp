#include "Examination.h"

#include <algorithm>

#include "FileIo.h"
#include "Record.h"

namespace dnl {
namespace {

// A NAME payload longer than this is read only this far: no module name comes near it.
constexpr std::int32_t kLongestNameRead = 64;

// The record reader's own lines speak of a conversion; an examination reports in its own terms.
class SilentLog final : public StatusLog {
public:
    void AddLine(const std::string& /*text*/) override {}
};

// One walk over an open file, keeping the offset of every record so that problems can be placed.
class Examiner {
public:
    Examiner(CDnlRecord& record, DnlExamination& result, RecordVisitor& visitor)
        : m_record(record), m_result(result), m_visitor(visitor) {}

    void Walk() {
        for (;;) {
            RecordHeader header;
            int groupHeaders = 0;
            const int read = ReadNextRecord(m_record, header, groupHeaders);
            m_result.records += groupHeaders;
            m_offset += std::int64_t{kHeaderSize} * groupHeaders;
            const std::int64_t start = m_offset;
            if (read == 1) {
                Problem(DnlProblemKind::NoEndRecord, start);
                return;
            }
            if (read != 0) {
                const bool cutShort = m_result.size - start < kHeaderSize;
                Problem(cutShort ? DnlProblemKind::HeaderCutShort : DnlProblemKind::CannotRead,
                        start);
                return;
            }
            ++m_result.records;
            m_offset += kHeaderSize;
            if (header.type == kEndRecord) {
                m_result.endRecord = true;
                return;
            }
            if (!Payload(header, start)) {
                return;
            }
        }
    }

private:
    // False when the walk cannot go on past this record.
    bool Payload(const RecordHeader& header, std::int64_t start) {
        if (header.length < 0) {
            Problem(DnlProblemKind::NegativeLength, start, header);
            return false;
        }
        if (m_offset + header.length > m_result.size) {
            Problem(DnlProblemKind::PayloadPastEnd, start, header);
            return false;
        }
        bool read = false;
        if (header.type == kNameRecord) {
            read = ReadName(header, start);
        } else if (header.type == kMiscRecord) {
            read = ReadMisc(header, start);
        } else {
            read = m_record.SkipPayload(header.length) == 0;
        }
        if (!read) {
            Problem(DnlProblemKind::CannotRead, start, header);
            return false;
        }
        m_offset += header.length;
        return true;
    }

    bool ReadName(const RecordHeader& header, std::int64_t start) {
        const std::int32_t kept = std::min(header.length, kLongestNameRead);
        std::vector<unsigned char> bytes;
        if (m_record.ReadPayload(kept, bytes) != 0 ||
            m_record.SkipPayload(header.length - kept) != 0) {
            return false;
        }
        const auto zero = std::find(bytes.begin(), bytes.end(), 0);
        const bool cut = zero == bytes.end() && kept < header.length;
        const NameRecordInfo name{start, header.length, std::string(bytes.begin(), zero), cut};
        m_result.names.Add(name);
        m_visitor.Name(name);
        return true;
    }

    bool ReadMisc(const RecordHeader& header, std::int64_t start) {
        if (header.length < kMiscValueSize) {
            Problem(DnlProblemKind::MiscTooShort, start, header);
            return m_record.SkipPayload(header.length) == 0;
        }
        std::vector<unsigned char> bytes;
        if (m_record.ReadPayload(kMiscValueSize, bytes) != 0 ||
            m_record.SkipPayload(header.length - kMiscValueSize) != 0) {
            return false;
        }
        std::uint16_t value = 0;
        CDnlRecord::SwapBytes(bytes.data(), &value, sizeof value);
        const MiscRecordInfo misc{start, value};
        KeepRange(value);
        m_result.miscs.Add(misc);
        m_visitor.Misc(misc);
        return true;
    }

    void KeepRange(std::uint16_t value) {
        const bool first = m_result.miscs.count == 0;
        m_result.lowestMisc = first ? value : std::min(m_result.lowestMisc, value);
        m_result.highestMisc = first ? value : std::max(m_result.highestMisc, value);
    }

    void Problem(DnlProblemKind kind, std::int64_t offset, const RecordHeader& header = {}) {
        const DnlProblem problem{kind, offset, header.type, header.length};
        m_result.problems.Add(problem);
        if (kind != DnlProblemKind::MiscTooShort) {
            m_result.walkStop = problem;
        }
        m_visitor.Problem(problem);
    }

    CDnlRecord& m_record;
    DnlExamination& m_result;
    RecordVisitor& m_visitor;
    std::int64_t m_offset = 0;
};

}  // namespace

DnlExamination ExamineDnl(const std::string& path, RecordVisitor& visitor) {
    DnlExamination result;
    SilentLog log;
    CDnlRecord record(path, log, FileLayer::Access::ReadOnly);
    if (!record.IsOpen()) {
        result.openError = Files().LastError();
        return result;
    }
    result.opened = true;
    result.size = record.FileSize();
    Examiner(record, result, visitor).Walk();
    return result;
}

DnlExamination ExamineDnl(const std::string& path) {
    RecordVisitor nobody;
    return ExamineDnl(path, nobody);
}

}  // namespace dnl
