#include "ConversionRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "Backup.h"
#include "Execute.h"
#include "SystemCases.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class ConversionRunTest : public ::testing::Test {
protected:
    // Writes `original` as the DNL file, converts it and returns what the file then holds.
    Bytes Convert(const Bytes& original, std::uint8_t module, std::uint16_t misc,
                  bool gbr = false) {
        WriteFile(path, original);
        ConversionRun(
            path, {.moduleIndex = module, .miscValue = static_cast<std::int16_t>(misc), .gbr = gbr},
            log, cursor);
        return ReadFile(path);
    }

    void TearDown() override {
        EXPECT_EQ(cursor.busyCalls, 1);
        EXPECT_EQ(cursor.normalCalls, 1);
        EXPECT_FALSE(cursor.busy);
    }

    TempDir dir;
    std::string path = dir.File("X.dnl");
    RecordingLog log;
    CountingCursor cursor;
};

TEST_F(ConversionRunTest, ConvertsToTnwq8WithTheGbrBit) {
    const Bytes result =
        Convert(Dnl().Filler(3).Name("RQX4").Misc(0x0000).End().bytes, 3, 0x0801, true);
    EXPECT_EQ(result, Dnl().Filler(3).Name("TNW8").Misc(0x1801).End().bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Find a NAME record", "--> TNWQ8",
                                       "Modified the MISC record to 6145", "Finished"));
}

struct ModuleCase {
    std::uint8_t module;
    std::uint16_t misc;
    const char* logLine;
    const char* nameText;
};

void PrintTo(const ModuleCase& c, std::ostream* out) {
    *out << "module " << int{c.module};
}

class EveryModuleTest : public ConversionRunTest,
                        public ::testing::WithParamInterface<ModuleCase> {};

TEST_P(EveryModuleTest, RewritesTheNameAndEveryMiscRecord) {
    const ModuleCase& c = GetParam();
    const std::string oldName = c.module == 4 ? "JSRY6" : "PZK2";
    const Bytes result =
        Convert(Dnl().Misc(0x0505).Filler(2).Name(oldName).Misc(0x0606).Filler(0).End().bytes,
                c.module, c.misc, true);
    EXPECT_EQ(result,
              Dnl().Misc(c.misc).Filler(2).Name(c.nameText).Misc(c.misc).Filler(0).End().bytes);
    const std::string modified = "Modified the MISC record to " + std::to_string(c.misc);
    EXPECT_THAT(log.lines, ElementsAre("Start...", modified, "Find a NAME record", c.logLine,
                                       modified, "Finished"));
}

INSTANTIATE_TEST_SUITE_P(Modules, EveryModuleTest,
                         ::testing::Values(ModuleCase{0, 0x0001, "--> RQX4", "RQX4"},
                                           ModuleCase{2, 0x1104, "--> PZK2", "PZK2"},
                                           ModuleCase{3, 0x1808, "--> TNWQ8", "TNW8"},
                                           ModuleCase{4, 0x000B, "--> JSRY6", "JSRY6"}));

TEST_F(ConversionRunTest, GbrBitReachesMiscRecordsBeforeAndAfterTheName) {
    const Bytes result =
        Convert(Dnl().Misc(0x0001).Name("RQX4").Misc(0x0002).End().bytes, 3, 0x0800, true);
    EXPECT_EQ(result, Dnl().Misc(0x1800).Name("TNW8").Misc(0x1800).End().bytes);
}

TEST_F(ConversionRunTest, GbrFlagIsIgnoredByModulesWithoutGbr) {
    const Bytes result = Convert(Dnl().Name("RQX4").Misc(0x0009).End().bytes, 2, 0x0100, true);
    EXPECT_EQ(result, Dnl().Name("PZK2").Misc(0x0100).End().bytes);
}

TEST_F(ConversionRunTest, Lm5StopsRightAfterTheNameAndLeavesMiscAlone) {
    const Bytes result =
        Convert(Dnl().Misc(0x0007).Name("RQX4").Misc(0x0008).Raw({0xDE, 0xAD}).bytes, 1, 0x0800);
    EXPECT_EQ(result, Dnl().Misc(0x0007).Name("LM5 ").Misc(0x0008).Raw({0xDE, 0xAD}).bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Find a NAME record", "--> LM5", "Finished"));
}

TEST_F(ConversionRunTest, Lm5NameWriteFailureIsNotFollowedByFinished) {
    WriteFile(path, Dnl().Name("RQX4").End().bytes);
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Write, 1, EIO);
    ConversionRun(path, {.moduleIndex = 1}, log, cursor);
    EXPECT_THAT(log.lines,
                ElementsAre("Start...", "Find a NAME record", "--> LM5", kOverwriteFailed));
    EXPECT_EQ(ReadFile(path), Dnl().Name("RQX4").End().bytes);
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
}

TEST_F(ConversionRunTest, NameOfTheWrongLengthEndsTheRunUnwritten) {
    const Bytes result =
        Convert(Dnl().Misc(0x0001).Name("RQX4").Misc(0x0002).End().bytes, 4, 0x0008);
    EXPECT_EQ(result, Dnl().Misc(0x0008).Name("RQX4").Misc(0x0002).End().bytes);
    EXPECT_THAT(log.lines,
                ElementsAre("Start...", "Modified the MISC record to 8", "Find a NAME record",
                            "--> JSRY6", "The length of a module(5) was different"));
}

TEST_F(ConversionRunTest, OnlyTheFirstNameRecordIsRewritten) {
    const Bytes result = Convert(Dnl().Name("RQX4").Name("RQX4").End().bytes, 2, 0);
    EXPECT_EQ(result, Dnl().Name("PZK2").Name("RQX4").End().bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Find a NAME record", "--> PZK2", "Finished"));
}

TEST_F(ConversionRunTest, GroupHeadersAreSteppedIntoWhileOneFlagBitAloneIsARecord) {
    // 0x8805 is a group: its length is not used, the NAME record right after it is found.
    // 0x8005 carries only bit 15: an ordinary record passed over by its length, and the NAME
    // bytes inside its payload are never seen.
    const Bytes original = Dnl()
                               .Header(0x8805, 1000)
                               .Name("RQX4")
                               .Record(0x8005, Dnl().Name("ZZZZ").bytes)
                               .Misc(0x0000)
                               .End()
                               .bytes;
    const Bytes result = Convert(original, 0, 0x0001);
    EXPECT_EQ(result, Dnl()
                          .Header(0x8805, 1000)
                          .Name("RQX4")
                          .Record(0x8005, Dnl().Name("ZZZZ").bytes)
                          .Misc(0x0001)
                          .End()
                          .bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Find a NAME record", "--> RQX4",
                                       "Modified the MISC record to 1", "Finished"));
}

TEST_F(ConversionRunTest, WithoutAModuleTheNameStaysAndMiscRecordsAreRewritten) {
    const Bytes result = Convert(Dnl().Name("RQX4").Misc(0x0000).End().bytes, 255, 0x0102, true);
    EXPECT_EQ(result, Dnl().Name("RQX4").Misc(0x0102).End().bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Find a NAME record",
                                       "Modified the MISC record to 258", "Finished"));
}

TEST_F(ConversionRunTest, OnlyAnEndRecordWritesNothing) {
    EXPECT_EQ(Convert(Dnl().End().Misc(0).bytes, 0, 1), Dnl().End().Misc(0).bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Finished"));
}

TEST_F(ConversionRunTest, EndOfFileWithoutAnEndRecordEndsQuietly) {
    EXPECT_EQ(Convert(Dnl().Name("RQX4").bytes, 3, 0x0800), Dnl().Name("TNW8").bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Find a NAME record", "--> TNWQ8"));
}

TEST_F(ConversionRunTest, HeaderCutShortEndsTheRunKeepingWhatWasWritten) {
    const Bytes result = Convert(Dnl().Name("RQX4").Raw({0x00, 0x32, 0x00}).bytes, 3, 0x0800);
    EXPECT_EQ(result, Dnl().Name("TNW8").Raw({0x00, 0x32, 0x00}).bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Find a NAME record", "--> TNWQ8", kHeaderError,
                                       "Fail to load a header record"));
}

TEST_F(ConversionRunTest, FileThatCannotBeOpenedIsReported) {
    for (const std::string& unopenable :
         {std::string(), dir.File("missing.dnl"), dir.Path().string()}) {
        SCOPED_TRACE(unopenable);
        log.lines.clear();
        cursor = CountingCursor();
        ConversionRun(unopenable, {}, log, cursor);
        EXPECT_THAT(log.lines, ElementsAre(kOpenFailed, "Start...", kHeaderError,
                                           "Fail to load a header record"));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.dnl")));
}

TEST_F(ConversionRunTest, PayloadsCutShortAreWrittenOutToTheirLength) {
    EXPECT_EQ(Convert(Dnl().Header(0x0805, 5).Raw({'R', 'Q'}).bytes, 0, 0),
              Dnl().Name("RQX4").bytes);
    log.lines.clear();
    cursor = CountingCursor();
    EXPECT_EQ(Convert(Dnl().Header(0x0032, 2).Raw({9}).bytes, 0, 0x0001), Dnl().Misc(0x0001).bytes);
    EXPECT_THAT(log.lines, ElementsAre("Start...", "Modified the MISC record to 1"));
}

TEST_F(ConversionRunTest, NegativeLengthStopsTheWalkWithoutChangingTheFile) {
    const Bytes original = Dnl().Name("RQX4").Header(0x0100, -6).Misc(0).End().bytes;
    WriteFile(path, original);
    const RunResult result = ConversionRun(path, {.miscValue = 0x0001}, log, cursor);
    EXPECT_EQ(result.end, RunEnd::NegativeLength);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_THAT(log.lines,
                ElementsAre("Start...", "Find a NAME record", "--> RQX4", "Fail to skip"));
}

TEST_F(ConversionRunTest, MiscPayloadTooShortStopsTheRunWithTheFileAtFault) {
    const Bytes original = Dnl().Record(0x0032, {7}).Name("RQX4").End().bytes;
    WriteFile(path, original);
    errno = EIO;  // left over from an earlier call: no call of this run failed
    const RunResult result =
        ConversionRun(path, {.moduleIndex = 0, .miscValue = 0x0001}, log, cursor);
    EXPECT_EQ(result.end, RunEnd::MiscTooShort);
    EXPECT_EQ(result.error, 0);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_THAT(log.lines,
                ElementsAre("Start...", "Modified the MISC record to 1", kOverwriteFailed));
}

TEST_F(ConversionRunTest, MiscValueIsPrintedUnsigned) {
    Convert(Dnl().Misc(0).End().bytes, 255, 0xFFFF);
    EXPECT_THAT(log.lines,
                ElementsAre("Start...", "Modified the MISC record to 65535", "Finished"));
}

// Failures injected through the file layer: each ends the run at once, keeps what was already
// written, and closes the file.
struct InjectedFault {
    const char* name;
    FaultyFiles::Call call;
    int nth;
    std::vector<std::string> lines;
    Bytes expected;
    RunEnd end;
};

void PrintTo(const InjectedFault& fault, std::ostream* out) {
    *out << fault.name;
}

class InjectedFaultTest : public ConversionRunTest,
                          public ::testing::WithParamInterface<InjectedFault> {};

TEST_P(InjectedFaultTest, EndsTheRunWithItsLines) {
    const InjectedFault& fault = GetParam();
    WriteFile(path, Dnl().Filler(1).Name("RQX4").Misc(0).Misc(0).End().bytes);
    FaultyFiles files;
    files.FailAt(fault.call, fault.nth, EIO);
    const RunResult result =
        ConversionRun(path, {.moduleIndex = 3, .miscValue = 0x0801}, log, cursor);
    EXPECT_EQ(result.end, fault.end);
    EXPECT_EQ(result.error, EIO);
    EXPECT_TRUE(files.FaultFired());
    EXPECT_THAT(log.lines, ElementsAreArray(fault.lines));
    EXPECT_EQ(ReadFile(path), fault.expected);
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, InjectedFaultTest,
    ::testing::Values(
        InjectedFault{"OpenFails",
                      FaultyFiles::Call::Open,
                      1,
                      {kOpenFailed, "Start...", kHeaderError, "Fail to load a header record"},
                      Dnl().Filler(1).Name("RQX4").Misc(0).Misc(0).End().bytes,
                      RunEnd::CannotOpen},
        InjectedFault{"ThirdHeaderReadFails",
                      FaultyFiles::Call::Read,
                      3,
                      {"Start...", "Find a NAME record", "--> TNWQ8", kHeaderError,
                       "Fail to load a header record"},
                      Dnl().Filler(1).Name("TNW8").Misc(0).Misc(0).End().bytes,
                      RunEnd::HeaderUnreadable},
        InjectedFault{"SkipFails",
                      FaultyFiles::Call::Seek,
                      1,
                      {"Start...", "Fail to skip"},
                      Dnl().Filler(1).Name("RQX4").Misc(0).Misc(0).End().bytes,
                      RunEnd::SkipFailed},
        InjectedFault{"NameWriteFails",
                      FaultyFiles::Call::Write,
                      1,
                      {"Start...", "Find a NAME record", "--> TNWQ8", kOverwriteFailed},
                      Dnl().Filler(1).Name("RQX4").Misc(0).Misc(0).End().bytes,
                      RunEnd::WriteFailed},
        InjectedFault{
            "SecondMiscWriteFails",
            FaultyFiles::Call::Write,
            3,
            {"Start...", "Find a NAME record", "--> TNWQ8", "Modified the MISC record to 2049",
             "Modified the MISC record to 2049", kOverwriteFailed},
            Dnl().Filler(1).Name("TNW8").Misc(0x0801).Misc(0).End().bytes,
            RunEnd::WriteFailed}),
    [](const ::testing::TestParamInfo<InjectedFault>& info) { return info.param.name; });

TEST_F(ConversionRunTest, ShortWritesStillConvertTheWholeFile) {
    WriteFile(path, Dnl().Name("RQX4").Misc(0).Misc(0).End().bytes);
    FaultyFiles files;
    files.ShortenWriteAt(1, true);
    ConversionRun(path, {.moduleIndex = 2, .miscValue = 0x1002}, log, cursor);
    EXPECT_EQ(ReadFile(path), Dnl().Name("PZK2").Misc(0x1002).Misc(0x1002).End().bytes);
    EXPECT_EQ(log.lines.back(), "Finished");
}

// Execute: the lock, then the backup, then the run, each only after the one before succeeded.
class ExecuteTest : public ConversionRunTest {
protected:
    ExecuteResult ExecuteOn(const Bytes& original, bool backup) {
        WriteFile(path, original);
        return Execute(path, {.moduleIndex = 3, .miscValue = 0x0801, .gbr = true}, backup, log,
                       cursor);
    }

    void TearDown() override {}

    const Bytes sample = Dnl().Name("RQX4").Misc(0).End().bytes;
    const Bytes converted = Dnl().Name("TNW8").Misc(0x1801).End().bytes;
};

TEST_F(ExecuteTest, BacksUpThenConverts) {
    const ExecuteResult result = ExecuteOn(sample, true);
    EXPECT_EQ(result.outcome, ExecuteOutcome::Finished);
    EXPECT_EQ(ReadFile(path), converted);
    EXPECT_EQ(ReadFile(dir.File("X.~NL")), sample);
    EXPECT_EQ(log.lines.front(), "Backed up the original DNL file as 'X.~NL'");
    EXPECT_EQ(log.lines.back(), "Finished");
}

// A second press with the same choice (a double click) keeps the backup of the original; another
// choice backs up as usual, and so does a file that lost its backup.
TEST_F(ExecuteTest, SecondPressOfTheSameChoiceKeepsTheBackup) {
    ExecuteOn(sample, true);
    const Bytes lm5 = Dnl().Name("LM5 ").Misc(0x1801).End().bytes;
    const struct {
        ConversionChoice choice;
        Bytes backup;
        std::string firstLine;
    } presses[] = {
        {{.moduleIndex = 3, .miscValue = 0x0801, .gbr = true},
         sample,
         "Kept the backup 'X.~NL': X.dnl already holds TNWQ8 with MISC code 6145"},
        {{.moduleIndex = 1}, converted, "Backed up the original DNL file as 'X.~NL'"},
        {{.moduleIndex = 1, .miscValue = 0x0801, .gbr = true},
         converted,
         "Kept the backup 'X.~NL': X.dnl already holds LM5"},
        {{.moduleIndex = 3, .miscValue = 0x0801},
         lm5,
         "Backed up the original DNL file as 'X.~NL'"},
    };
    for (const auto& press : presses) {
        log.lines.clear();
        EXPECT_EQ(Execute(path, press.choice, true, log, cursor).outcome, ExecuteOutcome::Finished);
        EXPECT_EQ(ReadFile(dir.File("X.~NL")), press.backup);
        EXPECT_EQ(log.lines.front(), press.firstLine);
    }
    std::filesystem::remove(dir.File("X.~NL"));
    ExecuteOn(converted, true);
    EXPECT_EQ(ReadFile(dir.File("X.~NL")), converted);
}

TEST_F(ExecuteTest, SaysWhereARunStopped) {
    const ExecuteResult result = ExecuteOn(Dnl().Name("JSRY6").Misc(0).End().bytes, false);
    EXPECT_EQ(result.outcome, ExecuteOutcome::Stopped);
    ASSERT_TRUE(result.run.has_value());
    EXPECT_EQ(result.run->end, RunEnd::NameDoesNotFit);
    const ExecuteResult unended = ExecuteOn(Dnl().Name("RQX4").bytes, false);
    ASSERT_TRUE(unended.run.has_value());
    EXPECT_EQ(unended.run->end, RunEnd::NoEndRecord);
    EXPECT_FALSE(std::filesystem::exists(dir.File("X.~NL")));
}

TEST_F(ExecuteTest, FailedBackupLeavesTheFileAlone) {
    std::filesystem::create_directory(dir.File("X.~NL"));
    const ExecuteResult result = ExecuteOn(sample, true);
    EXPECT_EQ(result.outcome, ExecuteOutcome::BackupFailed);
    EXPECT_FALSE(result.run.has_value());
    EXPECT_EQ(result.error, kFolderError);
    EXPECT_EQ(ReadFile(path), sample);
    EXPECT_THAT(log.lines, ElementsAre(FolderInTheWayLine("X.~NL")));
}

TEST_F(ExecuteTest, FileLockedByAnotherConversionIsLeftAlone) {
    WriteFile(path, sample);
    FileHandle other(SystemFiles().OpenExisting(path, FileLayer::Access::ReadWrite));
    ASSERT_EQ(SystemFiles().Lock(other.Get()), 0);
    const ExecuteResult result = ExecuteOn(sample, true);
    EXPECT_EQ(result.outcome, ExecuteOutcome::Busy);
    EXPECT_THAT(log.lines, ElementsAre("Another conversion of this file is running"));
    EXPECT_EQ(ReadFile(path), sample);
    EXPECT_FALSE(std::filesystem::exists(dir.File("X.~NL")));

    // Once the other lets go, and where the file system keeps no locks, the conversion goes on.
    other.Close();
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Lock, 1, ENOLCK);
    EXPECT_EQ(ExecuteOn(sample, true).outcome, ExecuteOutcome::Finished);
    EXPECT_EQ(ReadFile(path), converted);
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
}

// A conversion that stops midway leaves its marker, says where the original is, and keeps the
// backup at the next Execute, for any module, until one finishes; then the usual rule is back.
TEST_F(ExecuteTest, UnfinishedConversionKeepsItsBackupUntilOneFinishes) {
    const Bytes hybrid = Dnl().Misc(1).Name("RQX4").End().bytes;
    WriteFile(path, hybrid);
    const ExecuteResult stopped =
        Execute(path, {.moduleIndex = 4, .miscValue = 0x0008}, true, log, cursor);
    ASSERT_TRUE(stopped.run.has_value());
    EXPECT_EQ(stopped.run->end, RunEnd::NameDoesNotFit);
    EXPECT_EQ(stopped.partlyConverted, "X.dnl is partly converted; X.~NL holds the original");
    EXPECT_EQ(log.lines.back(), stopped.partlyConverted);
    EXPECT_TRUE(std::filesystem::exists(dir.File(".X.dnl.~unfinished")));

    for (const ConversionChoice choice : {ConversionChoice{.moduleIndex = 4, .miscValue = 0x0008},
                                          {.moduleIndex = 2, .miscValue = 0x0100}}) {
        log.lines.clear();
        const ExecuteResult again = Execute(path, choice, true, log, cursor);
        EXPECT_EQ(log.lines.front(),
                  "Kept the backup 'X.~NL': the last conversion of X.dnl did not finish");
        EXPECT_EQ(ReadFile(dir.File("X.~NL")), hybrid);
        if (again.outcome == ExecuteOutcome::Stopped) {
            EXPECT_EQ(log.lines.back(), "X.dnl is partly converted; X.~NL holds the original");
        }
    }
    EXPECT_EQ(ReadFile(path), Dnl().Misc(0x0100).Name("PZK2").End().bytes);
    EXPECT_EQ(log.lines.back(), "Finished");
    EXPECT_FALSE(std::filesystem::exists(dir.File(".X.dnl.~unfinished")));

    log.lines.clear();
    ExecuteOn(sample, true);
    EXPECT_EQ(log.lines.front(), "Backed up the original DNL file as 'X.~NL'");
    EXPECT_EQ(ReadFile(dir.File("X.~NL")), sample);
}

// Stops once the run has logged `afterLine`.
class StoppingLog : public RecordingLog {
public:
    StoppingLog(StopRequest& stop, std::string afterLine)
        : m_stop(stop), m_afterLine(std::move(afterLine)) {}
    void AddLine(const std::string& text) override {
        RecordingLog::AddLine(text);
        if (text == m_afterLine) {
            m_stop.Request();
        }
    }

private:
    StopRequest& m_stop;
    std::string m_afterLine;
};

// A stop ends the run between two records: the record being written is finished, the file is
// partly converted and says so. A stop before the first write changes nothing and leaves no
// marker.
TEST_F(ExecuteTest, StopRequestEndsTheRunBetweenRecords) {
    const Bytes twoMiscs = Dnl().Name("RQX4").Misc(0).Misc(0).End().bytes;
    for (const char* afterLine : {"Backed up the original DNL file as 'X.~NL'", "--> TNWQ8"}) {
        SCOPED_TRACE(afterLine);
        StopRequest stop;
        StoppingLog stoppingLog(stop, afterLine);
        WriteFile(path, twoMiscs);
        const ExecuteResult result =
            Execute(path, {.moduleIndex = 3, .miscValue = 0x0801, .gbr = true}, true, stoppingLog,
                    cursor, {}, &stop);
        // A stop before the run leaves no run to speak of.
        const bool ran = result.run.has_value();
        EXPECT_EQ(result.outcome, ExecuteOutcome::Stopped);
        EXPECT_EQ(ran, std::string(afterLine) == "--> TNWQ8");
        EXPECT_TRUE(!ran || result.run->end == RunEnd::Interrupted);
        EXPECT_EQ(ReadFile(dir.File("X.~NL")), twoMiscs);
        const bool wrote = stoppingLog.lines.back() != afterLine;
        EXPECT_EQ(std::filesystem::exists(dir.File(".X.dnl.~unfinished")), wrote);
        EXPECT_EQ(ReadFile(path),
                  wrote ? Dnl().Name("TNW8").Misc(0).Misc(0).End().bytes : twoMiscs);
    }
    EXPECT_EQ(cursor.busyCalls, 1);
}

}  // namespace
}  // namespace dnl::test
