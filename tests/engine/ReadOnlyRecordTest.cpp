#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Record.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ReadOnlyRecordTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("x.dnl");
    RecordingLog log;
};

TEST_F(ReadOnlyRecordTest, ReadsPayloadsAndTheSizeAndCannotWrite) {
    const Bytes bytes = Dnl().Misc(0x1801).Name("TNW8").bytes;
    WriteFile(path, bytes);
    CDnlRecord record(path, log, FileLayer::Access::ReadOnly);
    RecordHeader header;
    std::vector<unsigned char> payload;

    ASSERT_TRUE(record.IsOpen());
    EXPECT_EQ(record.FileSize(), 19);
    ASSERT_EQ(record.ReadHeader(header), 0);
    ASSERT_EQ(record.ReadPayload(header.length, payload), 0);
    EXPECT_THAT(payload, ElementsAre(0x18, 0x01));
    ASSERT_EQ(record.ReadHeader(header), 0);

    // Opened for reading only, the file refuses the overwrite a conversion would make.
    EXPECT_EQ(record.WriteName("RQX4", header.length), -2);
    EXPECT_THAT(log.lines, ElementsAre("モジュール名の上書きに失敗しました"));
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(ReadOnlyRecordTest, PayloadCutShortByTheEndOfTheFileKeepsWhatWasRead) {
    WriteFile(path, Dnl().Header(0x0805, 5).Raw({'T', 'N'}).bytes);
    CDnlRecord record(path, log, FileLayer::Access::ReadOnly);
    RecordHeader header;
    std::vector<unsigned char> payload;

    ASSERT_EQ(record.ReadHeader(header), 0);
    EXPECT_EQ(record.ReadPayload(header.length, payload), -1);
    EXPECT_THAT(payload, ElementsAre('T', 'N'));
    EXPECT_EQ(record.ReadPayload(-1, payload), -1);
    EXPECT_THAT(payload, IsEmpty());
    EXPECT_THAT(log.lines, IsEmpty());
}

TEST_F(ReadOnlyRecordTest, UnopenedRecordHasNoSizeAndNoPayload) {
    CDnlRecord record(dir.File("missing.dnl"), log, FileLayer::Access::ReadOnly);
    std::vector<unsigned char> payload;

    EXPECT_FALSE(record.IsOpen());
    EXPECT_EQ(record.FileSize(), -1);
    EXPECT_EQ(record.ReadPayload(2, payload), -1);
    EXPECT_THAT(log.lines, ElementsAre("dnlファイルをopenできませんでした"));
}

}  // namespace
}  // namespace dnl::test
