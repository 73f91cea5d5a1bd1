#include "ConversionRun.h"

#include <optional>

#include "Examination.h"
#include "FileIo.h"
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

// One walk over the records of an open file, from the first header to whatever ends it.
class Walk {
public:
    Walk(CDnlRecord& record, StatusLog& log, const ModuleProfile* profile, std::int16_t miscValue,
         const StopRequest* stop)
        : m_record(record),
          m_log(log),
          m_profile(profile),
          m_miscValue(miscValue),
          m_stopRequest(stop) {}

    RunResult Run() {
        RecordHeader header;
        int groupHeaders = 0;
        while (!m_stop && !Interrupted()) {
            const int result = ReadNextRecord(m_record, header, groupHeaders);
            if (result == 1) {
                m_result.end = RunEnd::NoEndRecord;
                break;
            }
            if (result != 0) {
                // The record layer keeps no error number for a header the file cuts short.
                Stop(m_record.LastError() == 0 ? RunEnd::HeaderCutShort : RunEnd::HeaderUnreadable);
                m_log.AddLine("Fail to load a header record");
                break;
            }
            if (!m_nameDone && header.type == kNameRecord) {
                RewriteName(header);
            } else {
                HandleRecord(header);
            }
        }
        return m_result;
    }

private:
    bool Interrupted() {
        if (m_stopRequest == nullptr || !m_stopRequest->Requested()) {
            return false;
        }
        m_result.end = RunEnd::Interrupted;
        return true;
    }

    void RewriteName(const RecordHeader& header) {
        m_log.AddLine("Find a NAME record");
        m_nameDone = true;
        if (m_profile == nullptr) {
            Skip(header);
            return;
        }
        m_log.AddLine(std::string(m_profile->logLine));
        if (header.length != NamePayloadLength(*m_profile)) {
            m_log.AddLine("The length of a module(" + std::to_string(header.length) +
                          ") was different");
            m_stop = true;
            m_result.end = RunEnd::NameDoesNotFit;
            return;
        }
        m_result.wrote = true;
        if (m_record.WriteName(m_profile->nameText, header.length) != 0) {
            Stop(RunEnd::WriteFailed);
        } else if (m_profile->stopsAfterName) {
            Finish();
        }
    }

    void HandleRecord(const RecordHeader& header) {
        if (header.type == kMiscRecord && RewritesMisc()) {
            m_log.AddLine("Modified the MISC record to " +
                          std::to_string(static_cast<std::uint16_t>(m_miscValue)));
            m_result.wrote = true;
            if (m_record.WriteMisc(m_miscValue, header.length) != 0) {
                Stop(WhyTheWriteFailed(header));
            }
        } else if (header.type == kEndRecord) {
            Finish();
        } else {
            Skip(header);
        }
    }

    static RunEnd WhyTheWriteFailed(const RecordHeader& header) {
        if (header.length < 0) {
            return RunEnd::NegativeLength;
        }
        return header.length < kMiscValueSize ? RunEnd::MiscTooShort : RunEnd::WriteFailed;
    }

    void Skip(const RecordHeader& header) {
        if (m_record.SkipPayload(header.length) != 0) {
            Stop(header.length < 0 ? RunEnd::NegativeLength : RunEnd::SkipFailed);
            m_log.AddLine("Fail to skip");
        }
    }

    void Finish() {
        m_log.AddLine("Finished");
        m_stop = true;
    }

    // Ends the walk after the current record, keeping the error of the call that just failed.
    void Stop(RunEnd end) {
        m_stop = true;
        m_result.end = end;
        m_result.error = m_record.LastError();
    }

    // With no module chosen the MISC records are still rewritten; only a module that keeps its
    // formats as they are says otherwise.
    bool RewritesMisc() const { return m_profile == nullptr || m_profile->rewritesMisc; }

    CDnlRecord& m_record;
    StatusLog& m_log;
    const ModuleProfile* m_profile;
    const std::int16_t m_miscValue;
    const StopRequest* m_stopRequest;
    bool m_stop = false;
    bool m_nameDone = false;
    RunResult m_result;
};

}  // namespace

RunResult ConversionRun(const std::string& path, const ConversionChoice& choice, StatusLog& log,
                        BusyCursor& cursor, const StopRequest* stop) {
    CDnlRecord record(path, log);
    log.AddLine("Start...");
    const BusyScope busy(cursor);
    const RunResult result =
        Walk(record, log, ProfileFor(choice.moduleIndex), WrittenMiscValue(choice), stop).Run();
    return record.IsOpen() ? result : RunResult{RunEnd::CannotOpen, record.LastError()};
}

// The GBR bit is part of the code from the first record on, so that MISC records before and
// after the NAME record receive the same value.
std::int16_t WrittenMiscValue(const ConversionChoice& choice) {
    const ModuleProfile* profile = ProfileFor(choice.moduleIndex);
    if (profile != nullptr && profile->gbrCapable && choice.gbr) {
        return static_cast<std::int16_t>(choice.miscValue | kGbrBit);
    }
    return choice.miscValue;
}

namespace {

ConversionObstacle ProblemInTheWay(const DnlProblem& problem) {
    return {.kind = ObstacleKind::Problem, .problem = problem};
}

// The first NAME record a run meets: the first one read whole or, failing that, one whose length
// the walk of the examination could not pass.
std::optional<NameRecordInfo> FirstNameRecord(const DnlExamination& examination) {
    if (!examination.names.kept.empty()) {
        return examination.names.kept.front();
    }
    const std::optional<DnlProblem>& stop = examination.walkStop;
    const bool lengthInTheWay = stop && (stop->kind == DnlProblemKind::NegativeLength ||
                                         stop->kind == DnlProblemKind::PayloadPastEnd);
    if (lengthInTheWay && stop->type == kNameRecord) {
        return NameRecordInfo{.offset = stop->offset, .length = stop->length, .text = {}};
    }
    return std::nullopt;
}

}  // namespace

// The run meets, in the order of the file: MISC records too short to rewrite, the first NAME
// record, and whatever ended the examination's walk short of an end record. Short MISC records
// come first among the problems kept, as the walk goes on past them and past nothing else.
ConversionObstacle RunStopsAt(const DnlExamination& examination, std::uint8_t moduleIndex) {
    if (!examination.opened) {
        return {};
    }
    const ModuleProfile* profile = ProfileFor(moduleIndex);
    const std::vector<DnlProblem>& problems = examination.problems.kept;
    const std::optional<NameRecordInfo> name = FirstNameRecord(examination);
    const bool rewritesMisc = profile == nullptr || profile->rewritesMisc;
    const bool shortMisc =
        rewritesMisc && !problems.empty() && problems.front().kind == DnlProblemKind::MiscTooShort;
    if (shortMisc && (!name || problems.front().offset < name->offset)) {
        return ProblemInTheWay(problems.front());
    }
    if (name && profile != nullptr) {
        if (name->length != NamePayloadLength(*profile)) {
            return {.kind = ObstacleKind::NameDoesNotFit, .name = *name};
        }
        if (profile->stopsAfterName) {
            return {};
        }
    }
    if (shortMisc) {
        return ProblemInTheWay(problems.front());
    }
    return examination.walkStop ? ProblemInTheWay(*examination.walkStop) : ConversionObstacle{};
}

ConversionObstacle ObstacleToConversion(const DnlExamination& examination,
                                        std::uint8_t moduleIndex) {
    if (!examination.opened) {
        return {};
    }
    const ModuleProfile* profile = ProfileFor(moduleIndex);
    const std::vector<DnlProblem>& problems = examination.problems.kept;
    const std::vector<NameRecordInfo>& names = examination.names.kept;
    if (names.empty() && problems.empty()) {
        return {.kind = ObstacleKind::NoNameRecord};
    }
    const bool nameFirst =
        !names.empty() && (problems.empty() || names.front().offset < problems.front().offset);
    if (nameFirst && profile != nullptr && names.front().length != NamePayloadLength(*profile)) {
        return {.kind = ObstacleKind::NameDoesNotFit, .name = names.front()};
    }
    return problems.empty() ? ConversionObstacle{} : ProblemInTheWay(problems.front());
}

bool HoldsConversion(const std::string& path, const ConversionChoice& choice) {
    const ModuleProfile* profile = ProfileFor(choice.moduleIndex);
    const DnlExamination examination = ExamineDnl(path);
    if (profile == nullptr || examination.names.kept.empty()) {
        return false;
    }
    const NameRecordInfo& name = examination.names.kept.front();
    const auto written = static_cast<std::uint16_t>(WrittenMiscValue(choice));
    return name.text == profile->nameText && name.length == NamePayloadLength(*profile) &&
           (!profile->rewritesMisc || examination.EveryMiscHolds(written));
}

}  // namespace dnl
