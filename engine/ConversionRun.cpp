#include "ConversionRun.h"

#include "ModuleProfiles.h"
#include "Record.h"

namespace dnl {
namespace {

// Shows the busy cursor for its own lifetime, so every way out of a run restores the normal one.
class BusyScope {
public:
    explicit BusyScope(BusyCursor& cursor) : m_cursor(cursor) { m_cursor.ShowBusy(); }
    ~BusyScope() { m_cursor.ShowNormal(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BusyCursor& m_cursor;
};

// The GBR bit is part of the code from the first record on, so that MISC records before and
// after the NAME record receive the same value.
std::int16_t WorkingMiscValue(const ModuleProfile* profile, std::int16_t miscValue, bool gbrFlag) {
    if (profile != nullptr && profile->gbrCapable && gbrFlag) {
        return static_cast<std::int16_t>(miscValue | kGbrBit);
    }
    return miscValue;
}

// One walk over the records of an open file, from the first header to whatever ends it.
class Walk {
public:
    Walk(CDnlRecord& record, StatusLog& log, const ModuleProfile* profile, std::int16_t miscValue)
        : m_record(record), m_log(log), m_profile(profile), m_miscValue(miscValue) {}

    void Run() {
        RecordHeader header;
        while (!m_stop) {
            const int result = m_record.ReadHeader(header);
            if (result == 1) {
                return;
            }
            if (result != 0) {
                m_log.AddLine("Fail to load a header record");
                return;
            }
            if (IsGroupRecord(header.type)) {
                continue;
            }
            if (!m_nameDone && header.type == kNameRecord) {
                if (!RewriteName(header)) {
                    return;
                }
            } else {
                HandleRecord(header);
            }
        }
    }

private:
    // False when the run must end at once: the new name does not fit the payload.
    bool RewriteName(const RecordHeader& header) {
        m_log.AddLine("Find a NAME record");
        m_nameDone = true;
        if (m_profile == nullptr) {
            Skip(header);
            return true;
        }
        m_log.AddLine(std::string(m_profile->logLine));
        const auto nameLength = static_cast<std::int32_t>(m_profile->nameText.size() + 1);
        if (header.length != nameLength) {
            m_log.AddLine("The length of a module(" + std::to_string(header.length) +
                          ") was different");
            return false;
        }
        if (m_record.WriteName(m_profile->nameText, header.length) != 0) {
            m_stop = true;
        } else if (m_profile->stopsAfterName) {
            m_log.AddLine("Finished");
            m_stop = true;
        }
        return true;
    }

    void HandleRecord(const RecordHeader& header) {
        if (header.type == kMiscRecord && RewritesMisc()) {
            m_log.AddLine("Modified the MISC record to " +
                          std::to_string(static_cast<std::uint16_t>(m_miscValue)));
            if (m_record.WriteMisc(m_miscValue, header.length) != 0) {
                m_stop = true;
            }
        } else if (header.type == kEndRecord) {
            m_log.AddLine("Finished");
            m_stop = true;
        } else {
            Skip(header);
        }
    }

    void Skip(const RecordHeader& header) {
        if (m_record.SkipPayload(header.length) != 0) {
            m_stop = true;
            m_log.AddLine("Fail to skip");
        }
    }

    // With no module chosen the MISC records are still rewritten; only a module that keeps its
    // formats as they are says otherwise.
    bool RewritesMisc() const { return m_profile == nullptr || m_profile->rewritesMisc; }

    CDnlRecord& m_record;
    StatusLog& m_log;
    const ModuleProfile* m_profile;
    const std::int16_t m_miscValue;
    bool m_stop = false;
    bool m_nameDone = false;
};

}  // namespace

void ConversionRun(const std::string& path, std::uint8_t moduleIndex, std::int16_t miscValue,
                   bool gbrFlag, StatusLog& log, BusyCursor& cursor) {
    CDnlRecord record(path, log);
    log.AddLine("Start...");
    const BusyScope busy(cursor);
    const ModuleProfile* profile = ProfileFor(moduleIndex);
    Walk(record, log, profile, WorkingMiscValue(profile, miscValue, gbrFlag)).Run();
}

}  // namespace dnl
