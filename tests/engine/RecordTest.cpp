#include "Record.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "SystemCases.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordTest : public ::testing::Test {
protected:
    std::string Write(const Bytes& bytes) {
        WriteFile(path, bytes);
        return path;
    }

    TempDir dir;
    std::string path = dir.File("x.dnl");
    RecordingLog log;
};

TEST_F(RecordTest, DecodesBigEndianHeadersOneAfterAnother) {
    Write(Dnl().Header(0x0805, 5).Raw({'R', 'Q', 'X', '4', 0}).Header(0x8005, -6).bytes);
    CDnlRecord record(path, log);
    RecordHeader header;

    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(header.type, 0x0805);
    EXPECT_EQ(header.length, 5);
    ASSERT_EQ(record.SkipPayload(header.length), 0);
    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(header.type, 0x8005);
    EXPECT_EQ(header.length, -6);
    EXPECT_EQ(record.ReadHeader(header), 1);
    EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(RecordTest, EmptyFileEndsAtOnceWithoutALine) {
    Write({});
    CDnlRecord record(path, log);
    RecordHeader header;
    EXPECT_EQ(record.ReadHeader(header), 1);
    EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(RecordTest, HeaderCutShortIsAReadError) {
    Write(Dnl().Misc(1).Raw({0x0F, 0xFF, 0x00}).bytes);
    CDnlRecord record(path, log);
    RecordHeader header;
    ASSERT_EQ(record.ReadHeader(header), 0);
    ASSERT_EQ(record.SkipPayload(header.length), 0);
    EXPECT_EQ(record.ReadHeader(header), -1);
    EXPECT_THAT(log.lines, ElementsAre(kHeaderError));
}

TEST_F(RecordTest, FailedReadIsAReadError) {
    Write(Dnl().End().bytes);
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Read, 1, EIO);
    CDnlRecord record(path, log);
    RecordHeader header;
    EXPECT_EQ(record.ReadHeader(header), -1);
    EXPECT_THAT(log.lines, ElementsAre(kHeaderError));
}

TEST_F(RecordTest, UnopenableFileIsLoggedOnceAndEveryReadFails) {
    std::filesystem::create_directory(dir.File("folder"));
    std::vector<std::string> unopenables = NotDiskFiles(dir);
    unopenables.insert(unopenables.end(),
                       {dir.File("missing.dnl"), std::string(), dir.File("folder")});
    for (const std::string& unopenable : unopenables) {
        SCOPED_TRACE(unopenable);
        RecordingLog lines;
        CDnlRecord record(unopenable, lines);
        RecordHeader header;
        EXPECT_EQ(record.ReadHeader(header), -1);
        EXPECT_THAT(lines.lines, ElementsAre(kOpenFailed, kHeaderError));
    }
}

TEST_F(RecordTest, WriteNameOverwritesThePayloadAndStopsAtTheNextHeader) {
    Write(Dnl().Name("LM5 ").Misc(0x0102).bytes);
    {
        CDnlRecord record(path, log);
        RecordHeader header;
        ASSERT_EQ(record.ReadHeader(header), 0);
        ASSERT_EQ(record.WriteName("TNW8", header.length), 0);
        ASSERT_EQ(record.ReadHeader(header), 0);
        EXPECT_EQ(header.type, 0x0032);
    }
    EXPECT_EQ(ReadFile(path), Dnl().Name("TNW8").Misc(0x0102).bytes);
    EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(RecordTest, WriteNamePadsWithZeroBytesBeyondTheText) {
    Write(Dnl().Record(0x0805, {'A', 'B', 'C', 'D', 'E', 'F', 'G'}).bytes);
    {
        CDnlRecord record(path, log);
        RecordHeader header;
        ASSERT_EQ(record.ReadHeader(header), 0);
        ASSERT_EQ(record.WriteName("XY", header.length), 0);
    }
    EXPECT_EQ(ReadFile(path), Dnl().Record(0x0805, {'X', 'Y', 0, 0, 0, 0, 0}).bytes);
}

TEST_F(RecordTest, WriteMiscWritesTheValueBigEndian) {
    Write(Dnl().Misc(0x0000).End().bytes);
    {
        CDnlRecord record(path, log);
        RecordHeader header;
        ASSERT_EQ(record.ReadHeader(header), 0);
        ASSERT_EQ(record.WriteMisc(0x1801, header.length), 0);
    }
    EXPECT_EQ(ReadFile(path), Dnl().Misc(0x1801).End().bytes);
}

TEST_F(RecordTest, WriteMiscOnALongerPayloadKeepsItsTailAndEndsAfterIt) {
    Write(Dnl().Record(0x0032, {1, 2, 3, 4}).End().bytes);
    {
        CDnlRecord record(path, log);
        RecordHeader header;
        ASSERT_EQ(record.ReadHeader(header), 0);
        ASSERT_EQ(record.WriteMisc(-1, header.length), 0);
        ASSERT_EQ(record.ReadHeader(header), 0);
        EXPECT_EQ(header.type, 0x0FFF);
    }
    EXPECT_EQ(ReadFile(path), Dnl().Record(0x0032, {0xFF, 0xFF, 3, 4}).End().bytes);
}

TEST_F(RecordTest, WriteMiscRefusesAPayloadTooShortForTheValue) {
    for (const std::int32_t length : {1, 0, -1}) {
        SCOPED_TRACE(length);
        const Bytes original = Dnl().Header(0x0032, length).Raw({7}).End().bytes;
        Write(original);
        RecordingLog lines;
        {
            CDnlRecord record(path, lines);
            RecordHeader header;
            ASSERT_EQ(record.ReadHeader(header), 0);
            EXPECT_EQ(record.WriteMisc(0x0800, header.length), -2);
        }
        EXPECT_THAT(lines.lines, ElementsAre(kOverwriteFailed));
        EXPECT_EQ(ReadFile(path), original);
    }
}

TEST_F(RecordTest, WriteNameRefusesANegativeLength) {
    const Bytes original = Dnl().Header(0x0805, -1).Raw({'R', 'Q', 'X', '4', 0}).bytes;
    Write(original);
    {
        CDnlRecord record(path, log);
        RecordHeader header;
        ASSERT_EQ(record.ReadHeader(header), 0);
        EXPECT_EQ(record.WriteName("TNW8", header.length), -2);
    }
    EXPECT_THAT(log.lines, ElementsAre(kOverwriteFailed));
    EXPECT_EQ(ReadFile(path), original);
}

TEST_F(RecordTest, PayloadCutShortByTheEndIsWrittenOutToItsDeclaredLength) {
    Write(Dnl().Header(0x0805, 5).Raw({'R', 'Q'}).bytes);
    {
        CDnlRecord record(path, log);
        RecordHeader header;
        ASSERT_EQ(record.ReadHeader(header), 0);
        ASSERT_EQ(record.WriteName("PZK2", header.length), 0);
        EXPECT_EQ(record.ReadHeader(header), 1);
    }
    EXPECT_EQ(ReadFile(path), Dnl().Name("PZK2").bytes);
}

TEST_F(RecordTest, FailedPayloadWritesAreReported) {
    Write(Dnl().Name("RQX4").Misc(0).bytes);
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Write, 1, ENOSPC, true);
    CDnlRecord record(path, log);
    RecordHeader header;
    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(record.WriteName("TNW8", header.length), -2);
    EXPECT_THAT(log.lines, ElementsAre(kOverwriteFailed));
    ASSERT_EQ(record.SkipPayload(header.length), 0);
    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(record.WriteMisc(0x0800, header.length), -2);
    EXPECT_THAT(log.lines, ElementsAre(kOverwriteFailed, kOverwriteFailed));
}

TEST_F(RecordTest, ShortWritesAreCompleted) {
    Write(Dnl().Name("RQX4").Misc(0).End().bytes);
    {
        FaultyFiles files;
        files.ShortenWriteAt(1, true);
        CDnlRecord record(path, log);
        RecordHeader header;
        ASSERT_EQ(record.ReadHeader(header), 0);
        ASSERT_EQ(record.WriteName("JSR6", header.length), 0);
        ASSERT_EQ(record.ReadHeader(header), 0);
        ASSERT_EQ(record.WriteMisc(0x0A0B, header.length), 0);
        ASSERT_EQ(record.ReadHeader(header), 0);
        EXPECT_EQ(header.type, 0x0FFF);
        EXPECT_GT(files.Count(FaultyFiles::Call::Write), 2);
    }
    EXPECT_EQ(ReadFile(path), Dnl().Name("JSR6").Misc(0x0A0B).End().bytes);
    EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(RecordTest, SkipRefusesNegativeLengthsAndLeavesThePositionAlone) {
    Write(Dnl().Header(0x0100, -6).Misc(0x0123).bytes);
    CDnlRecord record(path, log);
    RecordHeader header;
    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(record.SkipPayload(header.length), -1);
    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(header.type, 0x0032);
    EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(RecordTest, SkipPastTheEndSucceedsAndTheNextHeaderMeetsTheEnd) {
    Write(Dnl().Header(0x0100, 1000).Raw({1, 2}).bytes);
    CDnlRecord record(path, log);
    RecordHeader header;
    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(record.SkipPayload(header.length), 0);
    EXPECT_EQ(record.ReadHeader(header), 1);
}

TEST_F(RecordTest, FailedSeekIsReturnedWithoutALine) {
    Write(Dnl().Filler(4).End().bytes);
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Seek, 1, EIO);
    CDnlRecord record(path, log);
    RecordHeader header;
    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(record.SkipPayload(header.length), -1);
    EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(RecordTest, DestructorClosesTheFile) {
    Write(Dnl().End().bytes);
    FaultyFiles files;
    {
        CDnlRecord record(path, log);
        EXPECT_EQ(files.OpenHandles().size(), 1U);
    }
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
    EXPECT_EQ(files.Count(FaultyFiles::Call::Close), 1);
}

TEST(SwapBytesTest, ReversesUpToEightBytesAndIgnoresLargerSizes) {
    const unsigned char source[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (std::int16_t size = 0; size <= 8; ++size) {
        unsigned char destination[9] = {};
        CDnlRecord::SwapBytes(source, destination, size);
        for (std::int16_t i = 0; i < size; ++i) {
            EXPECT_EQ(destination[i], source[size - 1 - i]) << "size " << size;
        }
        for (std::int16_t i = size; i < 9; ++i) {
            EXPECT_EQ(destination[i], 0) << "size " << size;
        }
    }
    unsigned char untouched[9] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    CDnlRecord::SwapBytes(source, untouched, 9);
    CDnlRecord::SwapBytes(source, untouched, -1);
    for (const unsigned char byte : untouched) {
        EXPECT_EQ(byte, 0xEE);
    }
}

TEST(GroupRecordTest, NeedsBothFlagBits) {
    EXPECT_TRUE(IsGroupRecord(0x8805));
    EXPECT_TRUE(IsGroupRecord(0xFFFF));
    EXPECT_FALSE(IsGroupRecord(0x8005));
    EXPECT_FALSE(IsGroupRecord(0x0805));
    EXPECT_FALSE(IsGroupRecord(0x0FFF));
}

}  // namespace
}  // namespace dnl::test
