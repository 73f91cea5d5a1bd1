#include "Examination.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "FileIo.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Remembers how every file was opened, on top of the counting, fault-injecting layer.
class AccessRecordingFiles : public FaultyFiles {
public:
    int OpenExisting(const std::string& path, Access access) override {
        accesses.push_back(access);
        return FaultyFiles::OpenExisting(path, access);
    }
    std::vector<Access> accesses;
};

class ExaminationTest : public ::testing::Test {
protected:
    DnlExamination Examine(const Bytes& bytes) {
        WriteFile(path, bytes);
        return ExamineDnl(path);
    }

    TempDir dir;
    std::string path = dir.File("x.dnl");
};

TEST_F(ExaminationTest, ReportsEveryRecordOfAGoodFileThroughAReadOnlyOpenAndWritesNothing) {
    // MISC at 0 (8 bytes), filler at 8 (9 bytes), NAME at 17 (11 bytes), MISC at 28, end at 36.
    const Bytes bytes = Dnl().Misc(0x0801).Filler(3).Name("TNW8").Misc(0x1801).End().bytes;
    WriteFile(path, bytes);
    AccessRecordingFiles files;

    const DnlExamination examination = ExamineDnl(path);

    EXPECT_TRUE(examination.opened);
    EXPECT_EQ(examination.size, 42);
    EXPECT_EQ(examination.records, 5);
    ASSERT_EQ(examination.names.count, 1);
    EXPECT_EQ(examination.names.kept[0].offset, 17);
    EXPECT_EQ(examination.names.kept[0].length, 5);
    EXPECT_EQ(examination.names.kept[0].text, "TNW8");
    ASSERT_EQ(examination.miscs.count, 2);
    EXPECT_EQ(examination.miscs.kept[0].offset, 0);
    EXPECT_EQ(examination.miscs.kept[0].value, 0x0801);
    EXPECT_EQ(examination.miscs.kept[1].offset, 28);
    EXPECT_EQ(examination.miscs.kept[1].value, 0x1801);
    EXPECT_FALSE(examination.EveryMiscHolds(0x0801));
    EXPECT_TRUE(examination.endRecord);
    EXPECT_EQ(examination.problems.count, 0);

    EXPECT_THAT(files.accesses, ElementsAre(FileLayer::Access::ReadOnly));
    EXPECT_EQ(files.Count(FaultyFiles::Call::Write), 0);
    EXPECT_EQ(files.Count(FaultyFiles::Call::Create), 0);
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(ExaminationTest, FollowsGroupHeadersAtOnceAndSkipsTypesWithOneGroupBit) {
    // 0x8805 is a group header: its length is not used and the NAME record follows it directly.
    // 0x8005 has bit 15 alone and is skipped by its length like any other record.
    const DnlExamination examination = Examine(
        Dnl().Header(0x8805, 1000).Name("RQX4").Record(0x8005, {0x00, 0x32}).Misc(1).End().bytes);

    EXPECT_EQ(examination.records, 5);
    ASSERT_EQ(examination.names.count, 1);
    EXPECT_EQ(examination.names.kept[0].offset, 6);
    ASSERT_EQ(examination.miscs.count, 1);
    EXPECT_EQ(examination.miscs.kept[0].offset, 25);
    EXPECT_TRUE(examination.EveryMiscHolds(1));
    EXPECT_FALSE(examination.EveryMiscHolds(0));
    EXPECT_EQ(examination.problems.count, 0);
}

TEST_F(ExaminationTest, KeepsEveryNameUpToItsZeroByteAndReadsLongOnesOnlyInPart) {
    Bytes longName(100, 'A');
    longName.push_back(0);
    const DnlExamination examination = Examine(Dnl()
                                                   .Name("JSRY6")
                                                   .Record(0x0805, {'L', 'M', '5', ' ', 0, 'x'})
                                                   .Record(0x0805, longName)
                                                   .Misc(7)
                                                   .End()
                                                   .bytes);

    ASSERT_EQ(examination.names.count, 3);
    EXPECT_EQ(examination.names.kept[0].text, "JSRY6");
    EXPECT_EQ(examination.names.kept[1].text, "LM5 ");
    EXPECT_EQ(examination.names.kept[1].length, 6);
    EXPECT_EQ(examination.names.kept[2].text, std::string(64, 'A'));
    EXPECT_EQ(examination.names.kept[2].length, 101);
    ASSERT_EQ(examination.miscs.count, 1);
    EXPECT_EQ(examination.miscs.kept[0].offset, 12 + 12 + 107);
    EXPECT_EQ(examination.miscs.kept[0].value, 7);
    EXPECT_TRUE(examination.endRecord);
}

struct ProblemCase {
    const char* name;
    Bytes bytes;
    DnlProblem problem;
    int records;
};

void PrintTo(const ProblemCase& broken, std::ostream* out) {
    *out << broken.name;
}

class ExaminationProblemTest : public ExaminationTest,
                               public ::testing::WithParamInterface<ProblemCase> {};

TEST_P(ExaminationProblemTest, EndsTheWalkWithTheProblemWhereItWasMet) {
    const ProblemCase& expected = GetParam();
    const DnlExamination examination = Examine(expected.bytes);

    EXPECT_TRUE(examination.opened);
    EXPECT_FALSE(examination.endRecord);
    EXPECT_EQ(examination.records, expected.records);
    ASSERT_EQ(examination.problems.count, 1);
    const DnlProblem& problem = examination.problems.kept[0];
    EXPECT_EQ(problem.kind, expected.problem.kind);
    EXPECT_EQ(problem.offset, expected.problem.offset);
    EXPECT_EQ(problem.type, expected.problem.type);
    EXPECT_EQ(problem.length, expected.problem.length);
    EXPECT_EQ(ReadFile(path), expected.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    BrokenFiles, ExaminationProblemTest,
    ::testing::Values(ProblemCase{"Empty", {}, {DnlProblemKind::NoEndRecord, 0}, 0},
                      ProblemCase{"NoEndRecord",
                                  Dnl().Name("RQX4").Misc(0).bytes,
                                  {DnlProblemKind::NoEndRecord, 19},
                                  2},
                      ProblemCase{"HeaderCutAfter3Bytes",
                                  Dnl().Misc(1).Raw({0x0F, 0xFF, 0x00}).bytes,
                                  {DnlProblemKind::HeaderCutShort, 8},
                                  1},
                      ProblemCase{"NegativeLength",
                                  Dnl().Misc(1).Header(0x0100, -6).End().bytes,
                                  {DnlProblemKind::NegativeLength, 8, 0x0100, -6},
                                  2},
                      ProblemCase{"NegativeNameLength",
                                  Dnl().Header(0x0805, -1).End().bytes,
                                  {DnlProblemKind::NegativeLength, 0, 0x0805, -1},
                                  1},
                      ProblemCase{"PayloadPastEnd",
                                  Dnl().Header(0x0100, 10).Raw({1, 2, 3}).bytes,
                                  {DnlProblemKind::PayloadPastEnd, 0, 0x0100, 10},
                                  1},
                      ProblemCase{"NamePastEnd",
                                  Dnl().Misc(2).Header(0x0805, 5).Raw({'T', 'N'}).bytes,
                                  {DnlProblemKind::PayloadPastEnd, 8, 0x0805, 5},
                                  2},
                      ProblemCase{"MiscPastEnd",
                                  Dnl().Header(0x0032, 2).Raw({0x18}).bytes,
                                  {DnlProblemKind::PayloadPastEnd, 0, 0x0032, 2},
                                  1}),
    [](const ::testing::TestParamInfo<ProblemCase>& info) { return std::string(info.param.name); });

TEST_F(ExaminationTest, ShortMiscIsAProblemThatTheWalkGoesPast) {
    const DnlExamination examination = Examine(Dnl().Record(0x0032, {0x01}).Misc(5).End().bytes);

    ASSERT_EQ(examination.problems.count, 1);
    EXPECT_EQ(examination.problems.kept[0].kind, DnlProblemKind::MiscTooShort);
    EXPECT_EQ(examination.problems.kept[0].offset, 0);
    EXPECT_EQ(examination.problems.kept[0].length, 1);
    ASSERT_EQ(examination.miscs.count, 1);
    EXPECT_EQ(examination.miscs.kept[0].offset, 7);
    EXPECT_TRUE(examination.endRecord);
}

// Writes down, in order, what a walk tells it.
class RecordingVisitor final : public RecordVisitor {
public:
    void Name(const NameRecordInfo& name) override { Met("NAME", name.offset); }
    void Misc(const MiscRecordInfo& misc) override { Met("MISC", misc.offset); }
    void Problem(const DnlProblem& problem) override { Met("problem", problem.offset); }
    void Met(const std::string& what, std::int64_t offset) {
        met.push_back(what + " " + std::to_string(offset));
    }
    std::vector<std::string> met;
};

TEST_F(ExaminationTest, KeepsTheFirstRecordsOfEachKindAndCountsAndVisitsThemAll) {
    const int many = static_cast<int>(kRecordsKept) + 2;
    Dnl dnl;
    RecordingVisitor expected;
    for (int i = 0; i < many; ++i) {
        expected.Met("NAME", static_cast<std::int64_t>(dnl.Name("RQX4").bytes.size()) - 11);
        expected.Met("MISC", static_cast<std::int64_t>(dnl.Misc(0x0300 - i).bytes.size()) - 8);
        expected.Met("problem",
                     static_cast<std::int64_t>(dnl.Record(0x0032, {1}).bytes.size()) - 7);
    }
    expected.Met("problem", static_cast<std::int64_t>(dnl.bytes.size()));
    WriteFile(path, dnl.bytes);
    RecordingVisitor visitor;

    const DnlExamination examination = ExamineDnl(path, visitor);

    EXPECT_EQ(visitor.met, expected.met);
    EXPECT_EQ(examination.records, 3 * many);
    EXPECT_EQ(examination.names.count, many);
    EXPECT_EQ(examination.miscs.count, many);
    EXPECT_EQ(examination.problems.count, many + 1);
    for (const std::size_t kept : {examination.names.kept.size(), examination.miscs.kept.size(),
                                   examination.problems.kept.size()}) {
        EXPECT_EQ(kept, kRecordsKept);
    }
    EXPECT_FALSE(examination.names.AllKept() || examination.miscs.AllKept());
    EXPECT_EQ(examination.names.kept.back().offset, 26 * (std::int64_t{kRecordsKept} - 1));
    EXPECT_EQ(examination.miscs.kept.back().value, 0x0300 - kRecordsKept + 1);
    EXPECT_EQ(examination.problems.kept.back().kind, DnlProblemKind::MiscTooShort);
    EXPECT_EQ(examination.lowestMisc, 0x0300 - many + 1);
    EXPECT_EQ(examination.highestMisc, 0x0300);
}

TEST_F(ExaminationTest, StopsAtTheEndRecordLikeARun) {
    const DnlExamination examination = Examine(Dnl().End().Header(0x0100, -6).Raw({1, 2}).bytes);

    EXPECT_EQ(examination.records, 1);
    EXPECT_EQ(examination.miscs.count, 0);
    EXPECT_TRUE(examination.EveryMiscHolds(0x1234));
    EXPECT_TRUE(examination.endRecord);
    EXPECT_EQ(examination.problems.count, 0);
}

TEST_F(ExaminationTest, ReadFailuresAreToldApartFromAHeaderCutShort) {
    WriteFile(path, Dnl().Misc(1).End().bytes);
    for (const auto& [nthRead, offset] : {std::pair{1, 0}, std::pair{2, 0}, std::pair{3, 8}}) {
        FaultyFiles files;
        files.FailAt(FaultyFiles::Call::Read, nthRead, EIO);

        const DnlExamination examination = ExamineDnl(path);

        ASSERT_EQ(examination.problems.count, 1) << "read " << nthRead;
        EXPECT_EQ(examination.problems.kept[0].kind, DnlProblemKind::CannotRead)
            << "read " << nthRead;
        EXPECT_EQ(examination.problems.kept[0].offset, offset) << "read " << nthRead;
        EXPECT_THAT(files.OpenHandles(), IsEmpty());
    }
}

TEST_F(ExaminationTest, UnopenablePathsSayWhy) {
    std::filesystem::create_directory(dir.File("folder"));
    const DnlExamination missing = ExamineDnl(dir.File("missing.dnl"));
    const DnlExamination folder = ExamineDnl(dir.File("folder"));

    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(missing.openError, ENOENT);
    EXPECT_FALSE(folder.opened);
    EXPECT_EQ(FileErrorText(folder.openError), "not a regular file");
    EXPECT_EQ(folder.records, 0);
}

}  // namespace
}  // namespace dnl::test
