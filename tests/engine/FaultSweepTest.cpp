// Fault sweeps: a backup or a conversion is run once cleanly to count its file calls, then once
// more for every call k, with the k-th call failed or its write cut short. Whatever call fails,
// the user must be told, nothing may be reported as done that was not, and the files may hold
// nothing but their old or their new bytes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Backup.h"
#include "ConversionRun.h"
#include "Examination.h"
#include "Execute.h"
#include "ModuleProfiles.h"
#include "Restore.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

using ::testing::IsEmpty;
using Call = FaultyFiles::Call;

// How the k-th call is disturbed.
enum class Fault { FailOnce, FailFromThenOn, ShortenOnce, ShortenFromThenOn };

const char* FaultName(Fault fault) {
    switch (fault) {
        case Fault::FailOnce:
            return "FailOnce";
        case Fault::FailFromThenOn:
            return "FailFromThenOn";
        case Fault::ShortenOnce:
            return "ShortenOnce";
        case Fault::ShortenFromThenOn:
            return "ShortenFromThenOn";
    }
    return "";
}

const char* CallName(Call call) {
    switch (call) {
        case Call::Open:
            return "open";
        case Call::Check:
            return "check";
        case Call::Create:
            return "create";
        case Call::Read:
            return "read";
        case Call::Write:
            return "write";
        case Call::Seek:
            return "seek";
        case Call::Time:
            return "time";
        case Call::Flush:
            return "flush";
        case Call::Replace:
            return "replace";
        case Call::Remove:
            return "remove";
        case Call::List:
            return "list";
        case Call::Lock:
            return "lock";
        case Call::Close:
            return "close";
    }
    return "";
}

bool Shortens(Fault fault) {
    return fault == Fault::ShortenOnce || fault == Fault::ShortenFromThenOn;
}

// The calls a sweep disturbs: every kind for failures, only writes can be cut short.
std::vector<Call> SweptCalls(Fault fault) {
    if (Shortens(fault)) {
        return {Call::Write};
    }
    return {Call::Open,   Call::Check, Call::Create, Call::Read, Call::Write,
            Call::Seek,   Call::Time,  Call::Flush,  Call::List, Call::Replace,
            Call::Remove, Call::Lock,  Call::Close};
}

// A full disk for calls that write, a failing device for the rest.
int ErrorFor(Call call) {
    return call == Call::Write || call == Call::Create ? ENOSPC : EIO;
}

void Arm(FaultyFiles& files, Fault fault, Call call, int nth) {
    switch (fault) {
        case Fault::FailOnce:
            files.FailAt(call, nth, ErrorFor(call));
            break;
        case Fault::FailFromThenOn:
            files.FailAt(call, nth, ErrorFor(call), true);
            break;
        case Fault::ShortenOnce:
            files.ShortenWriteAt(nth);
            break;
        case Fault::ShortenFromThenOn:
            files.ShortenWriteAt(nth, true);
            break;
    }
}

// The file calls one operation made, by kind.
struct CallCounts {
    int Of(Call call) const { return counts[static_cast<int>(call)]; }
    int counts[FaultyFiles::kCallKinds] = {};
};

CallCounts CountCalls(const FaultyFiles& files) {
    CallCounts calls;
    for (const Call call : SweptCalls(Fault::FailOnce)) {
        calls.counts[static_cast<int>(call)] = files.Count(call);
    }
    return calls;
}

bool IsPrefix(const std::vector<std::string>& prefix, const std::vector<std::string>& whole) {
    return prefix.size() <= whole.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

// ---------------------------------------------------------------------------------------------
// The conversion run

const std::set<std::string> kRunFailureLines = {
    kOpenFailed, kHeaderError, "Fail to load a header record", kOverwriteFailed, "Fail to skip",
};

// Where one payload the run may rewrite lies in the file.
struct Span {
    std::size_t offset;
    std::size_t size;
};

// A file with every kind of record the walk meets, big enough to need more than one read for a
// backup, and the places of its NAME and MISC payloads.
struct Sample {
    Bytes bytes;
    std::vector<Span> rewritable;
};

Sample SampleFor(std::uint8_t module) {
    // Module 4's name takes one byte more than the others', and the payload must fit it.
    const std::string oldName = module == 4 ? "ABCDE" : "ABCD";
    Sample sample;
    Dnl dnl;
    const auto rewritable = [&](std::size_t size) {
        sample.rewritable.push_back({dnl.bytes.size() + kHeader, size});
    };
    rewritable(2);
    dnl.Misc(0x0123).Filler(600).Header(0x8805, 77);
    rewritable(oldName.size() + 1);
    dnl.Name(oldName).Filler(0);
    rewritable(2);
    dnl.Misc(0x0456).Filler(3);
    // A longer MISC payload: the value goes into its first two bytes, the rest is passed over.
    rewritable(5);
    dnl.Record(0x0032, {1, 2, 3, 4, 5}).End();
    sample.bytes = dnl.bytes;
    return sample;
}

Bytes Slice(const Bytes& bytes, Span span) {
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(span.offset);
    return {first, first + static_cast<std::ptrdiff_t>(span.size)};
}

struct RunOutcome {
    std::vector<std::string> lines;
    Bytes file;
    CallCounts calls;
    bool fired = false;
    bool handlesClosed = false;
    bool cursorRestored = false;
};

struct RunCase {
    std::uint8_t module;
    Fault fault;
};

void PrintTo(const RunCase& c, std::ostream* out) {
    *out << "module " << int{c.module} << ", " << FaultName(c.fault);
}

class RunSweepTest : public ::testing::TestWithParam<RunCase> {
protected:
    static constexpr std::int16_t kMiscValue = 0x0A0B;

    void SetUp() override {
        baseline = Run([](FaultyFiles&) {});
        ASSERT_FALSE(baseline.lines.empty());
        ASSERT_EQ(baseline.lines.back(), "Finished");
        ASSERT_NE(baseline.file, sample.bytes);
    }

    template <typename Arming>
    RunOutcome Run(Arming arm) {
        WriteFile(path, sample.bytes);
        RecordingLog log;
        CountingCursor cursor;
        FaultyFiles files;
        arm(files);
        ConversionRun(path,
                      {.moduleIndex = GetParam().module, .miscValue = kMiscValue, .gbr = true}, log,
                      cursor);
        return {log.lines,
                ReadFile(path),
                CountCalls(files),
                files.FaultFired(),
                files.OpenHandles().empty(),
                cursor.busyCalls == 1 && cursor.normalCalls == 1 && !cursor.busy};
    }

    void ExpectSameAsBaseline(const RunOutcome& outcome) {
        EXPECT_EQ(outcome.lines, baseline.lines);
        EXPECT_EQ(outcome.file, baseline.file);
    }

    // The run must have said it failed, never "Finished"; up to the failure it logged what a
    // clean run logs.
    void ExpectReportedFailure(const RunOutcome& outcome) {
        ASSERT_FALSE(outcome.lines.empty());
        EXPECT_TRUE(kRunFailureLines.contains(outcome.lines.back())) << outcome.lines.back();
        std::vector<std::string> progress;
        std::copy_if(outcome.lines.begin(), outcome.lines.end(), std::back_inserter(progress),
                     [](const std::string& line) { return !kRunFailureLines.contains(line); });
        EXPECT_LT(progress.size(), baseline.lines.size());
        EXPECT_TRUE(IsPrefix(progress, baseline.lines));
    }

    // Each rewritable payload holds its old or its new bytes; every other byte and the length
    // are as they were.
    void ExpectOldOrNewPayloads(const Bytes& file) {
        ASSERT_EQ(file.size(), sample.bytes.size());
        Bytes rest = file;
        for (const Span span : sample.rewritable) {
            const Bytes now = Slice(file, span);
            EXPECT_TRUE(now == Slice(sample.bytes, span) || now == Slice(baseline.file, span))
                << "payload at offset " << span.offset;
            std::copy_n(sample.bytes.begin() + static_cast<std::ptrdiff_t>(span.offset), span.size,
                        rest.begin() + static_cast<std::ptrdiff_t>(span.offset));
        }
        EXPECT_EQ(rest, sample.bytes);
    }

    TempDir dir;
    std::string path = dir.File("X.dnl");
    Sample sample = SampleFor(GetParam().module);
    RunOutcome baseline;
};

TEST_P(RunSweepTest, EveryDisturbedCallEndsCleanly) {
    const Fault fault = GetParam().fault;
    for (const Call call : SweptCalls(fault)) {
        const int calls = baseline.calls.Of(call);
        for (int k = 1; k <= calls + 1; ++k) {
            SCOPED_TRACE(std::string(CallName(call)) + " #" + std::to_string(k));
            const RunOutcome outcome = Run([&](FaultyFiles& files) { Arm(files, fault, call, k); });
            EXPECT_EQ(outcome.fired, k <= calls);
            EXPECT_TRUE(outcome.handlesClosed);
            EXPECT_TRUE(outcome.cursorRestored);
            // A write cut short is completed, and a failed close comes after the last byte was
            // handed over: neither may change what the user sees.
            if (!outcome.fired || Shortens(fault) || call == Call::Close) {
                ExpectSameAsBaseline(outcome);
                continue;
            }
            ExpectReportedFailure(outcome);
            ExpectOldOrNewPayloads(outcome.file);
        }
    }
}

std::string RunCaseName(const ::testing::TestParamInfo<RunCase>& info) {
    const std::uint8_t module = info.param.module;
    const std::string target =
        module < kModuleCount ? std::string(ProfileFor(module)->selectorText) : "NoModule";
    return target + "_" + FaultName(info.param.fault);
}

std::vector<RunCase> AllRunCases() {
    std::vector<RunCase> cases;
    for (const std::uint8_t module : {0, 1, 2, 3, 4, int{kNoModule}}) {
        for (const Fault fault : {Fault::FailOnce, Fault::FailFromThenOn, Fault::ShortenOnce,
                                  Fault::ShortenFromThenOn}) {
            cases.push_back({module, fault});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Modules, RunSweepTest, ::testing::ValuesIn(AllRunCases()), RunCaseName);

// ---------------------------------------------------------------------------------------------
// The read-only examination

bool SameRecords(const DnlExamination& part, const DnlExamination& whole) {
    const auto sameName = [](const NameRecordInfo& a, const NameRecordInfo& b) {
        return a.offset == b.offset && a.length == b.length && a.text == b.text;
    };
    const auto sameMisc = [](const MiscRecordInfo& a, const MiscRecordInfo& b) {
        return a.offset == b.offset && a.value == b.value;
    };
    const auto& names = part.names.kept;
    const auto& miscs = part.miscs.kept;
    return part.names.count <= whole.names.count && part.miscs.count <= whole.miscs.count &&
           std::equal(names.begin(), names.end(), whole.names.kept.begin(), sameName) &&
           std::equal(miscs.begin(), miscs.end(), whole.miscs.kept.begin(), sameMisc);
}

class ExaminationSweepTest : public ::testing::TestWithParam<Fault> {
protected:
    void SetUp() override {
        WriteFile(path, sample.bytes);
        FaultyFiles files;
        baseline = ExamineDnl(path);
        calls = CountCalls(files);
        ASSERT_TRUE(baseline.endRecord);
        ASSERT_EQ(baseline.problems.count, 0);
    }

    TempDir dir;
    std::string path = dir.File("X.dnl");
    Sample sample = SampleFor(0);
    DnlExamination baseline;
    CallCounts calls;
};

// A failed call is a problem at the record it met, after exactly the records a clean walk found
// before it; nothing is written, and the file is closed.
TEST_P(ExaminationSweepTest, EveryFailedCallIsAProblemOfItsOwn) {
    for (const Call call : SweptCalls(GetParam())) {
        for (int k = 1; k <= calls.Of(call) + 1; ++k) {
            SCOPED_TRACE(std::string(CallName(call)) + " #" + std::to_string(k));
            FaultyFiles files;
            Arm(files, GetParam(), call, k);
            const DnlExamination examination = ExamineDnl(path);
            EXPECT_EQ(files.FaultFired(), k <= calls.Of(call));
            EXPECT_THAT(files.OpenHandles(), IsEmpty());
            EXPECT_EQ(files.Count(Call::Write), 0);
            EXPECT_EQ(ReadFile(path), sample.bytes);
            if (!files.FaultFired() || call == Call::Close) {
                EXPECT_TRUE(examination.endRecord);
                EXPECT_TRUE(SameRecords(baseline, examination) &&
                            SameRecords(examination, baseline));
            } else if (call == Call::Open) {
                EXPECT_FALSE(examination.opened);
                EXPECT_EQ(examination.openError, EIO);
            } else {
                ASSERT_EQ(examination.problems.count, 1);
                EXPECT_EQ(examination.problems.kept[0].kind, DnlProblemKind::CannotRead);
                EXPECT_FALSE(examination.endRecord);
                EXPECT_TRUE(SameRecords(examination, baseline));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, ExaminationSweepTest,
                         ::testing::Values(Fault::FailOnce, Fault::FailFromThenOn),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             return std::string(FaultName(info.param));
                         });

// ---------------------------------------------------------------------------------------------
// The backup

const char kBackupDone[] = "Backed up the original DNL file as 'X.~NL'";
const Bytes kEarlierBackup = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
// A time in whole seconds long past, which any file system keeps exactly.
const std::filesystem::file_time_type kOriginalTime =
    std::chrono::floor<std::chrono::seconds>(std::filesystem::file_time_type::clock::now()) -
    std::chrono::hours(24 * 1000);

// Calls that only tidy up or copy the time (closing the DNL file; listing the folder, opening,
// locking and removing a leftover temporary; locking the new one) may fail harmlessly.
bool MayFailHarmlessly(Call call, int nth) {
    return call == Call::Close || call == Call::Time || call == Call::List ||
           call == Call::Remove || call == Call::Lock || (call == Call::Open && nth > 1);
}

struct BackupOutcome {
    int result = 0;
    std::vector<std::string> lines;
    Bytes original;
    Bytes backup;
    std::filesystem::file_time_type backupTime;
    CallCounts calls;
    bool fired = false;
    bool handlesClosed = false;
    bool noTemporaryLeft = false;
    bool leftoverRemoved = false;
};

struct BackupCase {
    std::size_t size;
    Fault fault;
};

void PrintTo(const BackupCase& c, std::ostream* out) {
    *out << c.size << " bytes, " << FaultName(c.fault);
}

class BackupSweepTest : public ::testing::TestWithParam<BackupCase> {
protected:
    void SetUp() override {
        for (std::size_t i = 0; i < original.size(); ++i) {
            original[i] = static_cast<unsigned char>(i * 13 + 5);
        }
        WriteFile(live, {});
        running = FileHandle(SystemFiles().OpenExisting(live, FileLayer::Access::ReadOnly));
        ASSERT_EQ(SystemFiles().Lock(running.Get()), 0);
        baseline = Backup([](FaultyFiles&) {});
        ASSERT_EQ(baseline.result, 0);
        ASSERT_EQ(baseline.backup, original);
        ASSERT_TRUE(baseline.leftoverRemoved);
    }

    template <typename Arming>
    BackupOutcome Backup(Arming arm) {
        WriteFile(path, original);
        std::filesystem::last_write_time(path, kOriginalTime);
        WriteFile(backupPath, kEarlierBackup);
        WriteFile(leftover, original);
        RecordingLog log;
        FaultyFiles files;
        arm(files);
        const int result = MakeBackup(path, log).result;
        return {result,
                log.lines,
                ReadFile(path),
                ReadFile(backupPath),
                std::filesystem::last_write_time(backupPath),
                CountCalls(files),
                files.FaultFired(),
                files.OpenHandles().empty(),
                FolderHoldsOnly({path, backupPath, live}) ||
                    FolderHoldsOnly({path, backupPath, live, leftover}),
                !std::filesystem::exists(leftover)};
    }

    // The one line a failed backup logs, for each result.
    std::string FailureLine(int result, Call call) const {
        switch (result) {
            case -1:
                return "Fail to open " + path;
            case -2:
                return "Fail to open " + (call == Call::Create ? dir.File("") : "X.~NL") +
                       ", error code was (" + std::to_string(ErrorFor(call)) + ")";
            case -3:
                return kBackupWriteError;
            case -4:
                return kBackupReadError;
        }
        return "unexpected result " + std::to_string(result);
    }

    bool FolderHoldsOnly(const std::set<std::string>& names) const {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            found.insert(entry.path().string());
        }
        return found == names;
    }

    // Only a complete copy may be reported as made, with the DNL file's time unless setting it
    // failed; a failed one says why in one line and leaves the earlier backup as it was, and no
    // temporary file behind. A running backup's temporary is never touched.
    void ExpectHonestOutcome(const BackupOutcome& outcome, Call call) {
        EXPECT_EQ(outcome.original, original);
        EXPECT_TRUE(outcome.noTemporaryLeft);
        if (outcome.result == 0) {
            EXPECT_EQ(outcome.lines, std::vector<std::string>{kBackupDone});
            EXPECT_EQ(outcome.backup, original);
            EXPECT_TRUE(outcome.backupTime == kOriginalTime ||
                        (outcome.fired && call == Call::Time));
            return;
        }
        EXPECT_EQ(outcome.lines, std::vector<std::string>{FailureLine(outcome.result, call)});
        EXPECT_EQ(outcome.backup, kEarlierBackup);
    }

    TempDir dir;
    std::string path = dir.File("X.dnl");
    std::string backupPath = dir.File("X.~NL");
    // What an interrupted backup left, and the temporary of one that is still running.
    std::string leftover = dir.File(".X.~NL.Ab12yZ");
    std::string live = dir.File(".X.~NL.run012");
    FileHandle running;
    Bytes original = Bytes(GetParam().size);
    BackupOutcome baseline;
};

TEST_P(BackupSweepTest, EveryDisturbedCallIsReportedOrHarmless) {
    const Fault fault = GetParam().fault;
    for (const Call call : SweptCalls(fault)) {
        const int calls = baseline.calls.Of(call);
        for (int k = 1; k <= calls + 1; ++k) {
            SCOPED_TRACE(std::string(CallName(call)) + " #" + std::to_string(k));
            const BackupOutcome outcome =
                Backup([&](FaultyFiles& files) { Arm(files, fault, call, k); });
            EXPECT_EQ(outcome.fired, k <= calls);
            EXPECT_TRUE(outcome.handlesClosed);
            ExpectHonestOutcome(outcome, call);
            // Every other failed call loses data or access, and must fail the backup. A close
            // may fail harmlessly (the DNL file was only read) or not (the backup's).
            if (outcome.fired && !Shortens(fault) && !MayFailHarmlessly(call, k)) {
                EXPECT_NE(outcome.result, 0);
            }
            if (!outcome.fired || Shortens(fault)) {
                EXPECT_EQ(outcome.result, 0);
            }
        }
    }
}

std::string BackupCaseName(const ::testing::TestParamInfo<BackupCase>& info) {
    return "Bytes" + std::to_string(info.param.size) + "_" + FaultName(info.param.fault);
}

std::vector<BackupCase> AllBackupCases() {
    std::vector<BackupCase> cases;
    // Empty, one byte, one whole buffer, and two buffers and a byte.
    for (const std::size_t size : {0, 1, 512, 1025}) {
        for (const Fault fault : {Fault::FailOnce, Fault::FailFromThenOn, Fault::ShortenOnce,
                                  Fault::ShortenFromThenOn}) {
            cases.push_back({size, fault});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Sizes, BackupSweepTest, ::testing::ValuesIn(AllBackupCases()),
                         BackupCaseName);

// ---------------------------------------------------------------------------------------------
// Execute: the backup, the marker of an unfinished conversion, and the run

class ExecuteSweepTest : public ::testing::TestWithParam<Fault> {
protected:
    void SetUp() override {
        WriteFile(path, sample.bytes);
        FaultyFiles files;
        ASSERT_EQ(Execute(path, kChoice, true, log, cursor).outcome, ExecuteOutcome::Finished);
        calls = CountCalls(files);
        converted = ReadFile(path);
    }

    std::set<std::string> FolderNames() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    static constexpr ConversionChoice kChoice{.moduleIndex = 3, .miscValue = 0x0801, .gbr = true};
    TempDir dir;
    std::string path = dir.File("X.dnl");
    Sample sample = SampleFor(3);
    RecordingLog log;
    CountingCursor cursor;
    CallCounts calls;
    Bytes converted;
};

// Whatever call fails, a file left changed keeps its marker, and the next Execute, undisturbed,
// ends with the original in X.~NL, the file converted and nothing else in the folder.
TEST_P(ExecuteSweepTest, TheOriginalSurvivesEveryDisturbedCall) {
    for (const Call call : SweptCalls(GetParam())) {
        for (int k = 1; k <= calls.Of(call); ++k) {
            SCOPED_TRACE(std::string(CallName(call)) + " #" + std::to_string(k));
            WriteFile(path, sample.bytes);
            WriteFile(dir.File("X.~NL"), {'o', 'l', 'd'});
            ExecuteOutcome outcome = ExecuteOutcome::Finished;
            {
                FaultyFiles files;
                Arm(files, GetParam(), call, k);
                outcome = Execute(path, kChoice, true, log, cursor).outcome;
                EXPECT_THAT(files.OpenHandles(), IsEmpty());
                if (outcome != ExecuteOutcome::Finished && ReadFile(path) != sample.bytes) {
                    EXPECT_TRUE(FolderNames().contains(".X.dnl.~unfinished"));
                }
            }
            // A marker that could not be removed was said, and the next Execute removes it.
            if (outcome == ExecuteOutcome::Finished &&
                FolderNames().contains(".X.dnl.~unfinished")) {
                EXPECT_THAT(log.lines.back(), ::testing::StartsWith("Fail to remove .X.dnl"));
            }
            EXPECT_EQ(Execute(path, kChoice, true, log, cursor).outcome, ExecuteOutcome::Finished);
            EXPECT_EQ(ReadFile(dir.File("X.~NL")), sample.bytes);
            EXPECT_EQ(ReadFile(path), converted);
            EXPECT_EQ(FolderNames(), (std::set<std::string>{"X.dnl", "X.~NL"}));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, ExecuteSweepTest,
                         ::testing::Values(Fault::FailOnce, Fault::FailFromThenOn,
                                           Fault::ShortenOnce),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             return std::string(FaultName(info.param));
                         });

// Whatever call of a restore fails, the file is the converted one or the whole original and the
// backup is untouched; the next restore leaves the original and its backup alone in the folder.
TEST_P(ExecuteSweepTest, RestoreLeavesTheFileWholeWhateverCallFails) {
    CallCounts restoreCalls;
    WriteFile(dir.File(".X.dnl.~unfinished"), {});
    {
        FaultyFiles counting;
        ASSERT_EQ(RestoreBackup(path, log).outcome, RestoreOutcome::Restored);
        restoreCalls = CountCalls(counting);
    }
    for (const Call call : SweptCalls(GetParam())) {
        for (int k = 1; k <= restoreCalls.Of(call); ++k) {
            SCOPED_TRACE(std::string(CallName(call)) + " #" + std::to_string(k));
            WriteFile(path, converted);
            WriteFile(dir.File(".X.dnl.~unfinished"), {});
            {
                FaultyFiles files;
                Arm(files, GetParam(), call, k);
                const RestoreOutcome outcome = RestoreBackup(path, log).outcome;
                EXPECT_THAT(files.OpenHandles(), IsEmpty());
                EXPECT_EQ(ReadFile(path),
                          outcome == RestoreOutcome::Restored ? sample.bytes : converted);
            }
            EXPECT_EQ(ReadFile(dir.File("X.~NL")), sample.bytes);
            EXPECT_EQ(RestoreBackup(path, log).outcome, RestoreOutcome::Restored);
            EXPECT_EQ(ReadFile(path), sample.bytes);
            EXPECT_EQ(FolderNames(), (std::set<std::string>{"X.dnl", "X.~NL"}));
        }
    }
}

}  // namespace
}  // namespace dnl::test
