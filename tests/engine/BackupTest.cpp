#include "Backup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "SystemCases.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(BackupNameTest, KeepsOnlyTheFileNameWithoutExtension) {
    EXPECT_EQ(BackupName(""), ".~NL");
    EXPECT_EQ(BackupName("/home/eng/files/X.dnl"), "X.~NL");
    EXPECT_EQ(BackupName("/home/eng/files/a.b.dnl"), "a.b.~NL");
    EXPECT_EQ(BackupName("/folder.d/noextension"), "noextension.~NL");
    EXPECT_EQ(BackupName("/folder/"), ".~NL");
    EXPECT_EQ(BackupName("relative.dnl"), "relative.~NL");
    EXPECT_EQ(BackupName("/x/モジュール.dnl"), "モジュール.~NL");
    EXPECT_EQ(BackupPath("/home/eng/X.dnl"), "/home/eng/X.~NL");
    EXPECT_EQ(BackupPath("X.dnl"), "X.~NL");
}

// Only "/" separates folders here: "\\" and a drive-like "C:" belong to the file's name, and a
// Shift-JIS name whose second byte is 0x5C keeps it.
TEST(BackupNameTest, OnlySlashSeparatesFolders) {
    if (kOnWindows) {
        GTEST_SKIP() << "on Windows \\ separates folders too";
    }
    EXPECT_EQ(BackupName("C:\\work\\X.dnl"), "C:\\work\\X.~NL");
    EXPECT_EQ(BackupName("a\\b.dnl"), "a\\b.~NL");
    EXPECT_EQ(BackupName("/f/C:X.DNL"), "C:X.~NL");
    EXPECT_EQ(BackupName("mixed/seps\\inner/name.dnl"), "name.~NL");
    EXPECT_EQ(BackupName("/f/\x95\x5C\x8E\xA6.dnl"), "\x95\x5C\x8E\xA6.~NL");
    EXPECT_EQ(BackupPath("a\\b.dnl"), "a\\b.~NL");
}

TEST(BackupNameTest, OnWindowsDrivesAndBothSlashesEndFolders) {
    if (!kOnWindows) {
        GTEST_SKIP() << "only Windows has drive letters and \\ between folders";
    }
    EXPECT_EQ(BackupName("C:\\work\\X.dnl"), "X.~NL");
    EXPECT_EQ(BackupName("C:\\work\\a.b.dnl"), "a.b.~NL");
    EXPECT_EQ(BackupName("c:/work\\sub/Y.DNL"), "Y.~NL");
    EXPECT_EQ(BackupName("D:Z.dnl"), "Z.~NL");
    EXPECT_EQ(BackupName("\\\\server\\share\\dir\\U.dnl"), "U.~NL");
    EXPECT_EQ(BackupPath("C:\\work\\X.dnl"), "C:\\work\\X.~NL");
    EXPECT_EQ(BackupPath("D:Z.dnl"), "D:Z.~NL");
    EXPECT_EQ(BackupPath("\\\\server\\share\\dir\\U.dnl"), "\\\\server\\share\\dir\\U.~NL");
}

TEST(BackupNameTest, CutsLongNamesTo255BytesBetweenCharacters) {
    const std::string longName(300, 'n');
    EXPECT_EQ(BackupName("/a/" + longName + ".dnl"), std::string(255, 'n') + ".~NL");

    // "あ" takes three bytes: 254 + 3 would end inside it, so the cut falls before it.
    const std::string straddling = std::string(254, 'n') + "あい";
    EXPECT_EQ(BackupName("/a/" + straddling + ".dnl"), std::string(254, 'n') + ".~NL");

    // The whole path counts, not just its first 260 characters.
    const std::string deep = "/" + std::string(400, 'd') + "/deep.dnl";
    EXPECT_EQ(BackupName(deep), "deep.~NL");
}

class BackupTest : public ::testing::Test {
protected:
    Bytes SampleBytes(std::size_t size) {
        Bytes bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<unsigned char>(i * 7 + 3);
        }
        return bytes;
    }

    TempDir dir;
    std::string path = dir.File("X.dnl");
    std::string backup = dir.File("X.~NL");
    RecordingLog log;
};

TEST_F(BackupTest, CopiesByteForByteInPiecesOf512) {
    const Bytes original = SampleBytes(1025);
    WriteFile(path, original);
    FaultyFiles files;
    EXPECT_EQ(MakeBackup(path, log).result, 0);
    EXPECT_EQ(ReadFile(backup), original);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_THAT(log.lines, ElementsAre("Backed up the original DNL file as 'X.~NL'"));
    EXPECT_EQ(files.Count(FaultyFiles::Call::Read), 4);  // 512, 512, 1 and the end
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
}

TEST_F(BackupTest, EmptyFileGivesAnEmptyBackup) {
    WriteFile(path, {});
    EXPECT_EQ(MakeBackup(path, log).result, 0);
    EXPECT_TRUE(std::filesystem::exists(backup));
    EXPECT_THAT(ReadFile(backup), IsEmpty());
}

TEST_F(BackupTest, LandsBesideTheDnlFileAndReplacesAnEarlierBackup) {
    std::filesystem::create_directory(dir.File("elsewhere"));
    const std::string other = dir.File("elsewhere/Y.dnl");
    WriteFile(other, SampleBytes(10));
    WriteFile(dir.File("Y.~NL"), SampleBytes(20));
    WriteFile(dir.File("elsewhere/Y.~NL"), SampleBytes(2000));
    EXPECT_EQ(MakeBackup(other, log).result, 0);
    EXPECT_EQ(ReadFile(dir.File("elsewhere/Y.~NL")), SampleBytes(10));
    EXPECT_EQ(ReadFile(dir.File("Y.~NL")), SampleBytes(20));
    EXPECT_THAT(log.lines, ElementsAre("Backed up the original DNL file as 'Y.~NL'"));
}

TEST_F(BackupTest, NameAsLongAsANameCanBeIsBackedUp) {
    const std::string longest = dir.File(std::string(251, 'n') + ".dnl");
    WriteFile(longest, SampleBytes(10));
    EXPECT_EQ(MakeBackup(longest, log).result, 0);
    EXPECT_EQ(ReadFile(dir.File(std::string(251, 'n') + ".~NL")), SampleBytes(10));
}

TEST_F(BackupTest, DnlFileThatCannotBeReadIsReportedAndNothingIsMade) {
    std::vector<std::string> unreadables = NotDiskFiles(dir);
    const auto filesInDir = [this] {
        return std::vector<std::filesystem::path>(std::filesystem::directory_iterator(dir.Path()),
                                                  {});
    };
    const std::vector<std::filesystem::path> before = filesInDir();
    unreadables.insert(unreadables.end(),
                       {std::string(), dir.File("missing.dnl"), dir.Path().string()});
    for (const std::string& unreadable : unreadables) {
        SCOPED_TRACE(unreadable);
        RecordingLog lines;
        EXPECT_EQ(MakeBackup(unreadable, lines).result, -1);
        EXPECT_THAT(lines.lines, ElementsAre("Fail to open " + unreadable));
    }
    EXPECT_EQ(filesInDir(), before);
}

TEST_F(BackupTest, BackupThatCannotBeCreatedGivesTheErrorNumber) {
    WriteFile(path, SampleBytes(5));
    std::filesystem::create_directory(backup);
    EXPECT_EQ(MakeBackup(path, log).result, -2);
    EXPECT_THAT(log.lines, ElementsAre(FolderInTheWayLine("X.~NL")));
}

// In a folder where no file can be made (read-only, say) the temporary copy fails first: the line
// names the folder, not the backup.
TEST_F(BackupTest, FolderWhereNoFileCanBeMadeIsNamed) {
    WriteFile(path, SampleBytes(5));
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Create, 1, EACCES);
    EXPECT_EQ(MakeBackup(path, log).result, -2);
    EXPECT_THAT(log.lines, ElementsAre("Fail to open " + dir.File("") + ", error code was (" +
                                       std::to_string(EACCES) + ")"));
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
}

// A layer on which no file can be removed, as if the program had been stopped before it could.
class UnremovingFiles : public FaultyFiles {
public:
    int Remove(const std::string& /*path*/) override { return -1; }
};

// A backup cut off midway leaves its temporary; the next backup of that name removes it.
TEST_F(BackupTest, TemporaryLeftByAnInterruptedBackupIsRemovedByTheNext) {
    WriteFile(path, SampleBytes(700));
    {
        UnremovingFiles files;
        files.FailAt(FaultyFiles::Call::Write, 2, EIO);
        EXPECT_EQ(MakeBackup(path, log).result, -3);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
    EXPECT_EQ(MakeBackup(path, log).result, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST_F(BackupTest, LinkNamedLikeTheBackupIsReplacedNotWrittenThrough) {
    if (kOnWindows) {
        GTEST_SKIP() << "making a link on Windows needs a privilege the tests do not have";
    }
    const Bytes important = SampleBytes(30);
    WriteFile(dir.File("important.txt"), important);
    WriteFile(path, SampleBytes(700));
    std::filesystem::create_symlink("important.txt", backup);
    EXPECT_EQ(MakeBackup(path, log).result, 0);
    EXPECT_EQ(ReadFile(dir.File("important.txt")), important);
    EXPECT_FALSE(std::filesystem::is_symlink(backup));
    EXPECT_EQ(ReadFile(backup), SampleBytes(700));
}

TEST_F(BackupTest, FailedWriteKeepsTheEarlierBackupAndLeavesNoTemporaryFile) {
    WriteFile(path, SampleBytes(1500));
    WriteFile(backup, SampleBytes(3));
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Write, 2, ENOSPC);
    EXPECT_EQ(MakeBackup(path, log).result, -3);
    EXPECT_THAT(log.lines, ElementsAre(kBackupWriteError));
    EXPECT_EQ(ReadFile(backup), SampleBytes(3));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
}

TEST_F(BackupTest, FailedReadIsNotAMadeBackup) {
    WriteFile(path, SampleBytes(1500));
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Read, 2, EIO);
    EXPECT_EQ(MakeBackup(path, log).result, -4);
    EXPECT_THAT(log.lines, ElementsAre(kBackupReadError));
    EXPECT_FALSE(std::filesystem::exists(backup));
    EXPECT_THAT(files.OpenHandles(), IsEmpty());
}

TEST_F(BackupTest, ShortWritesAreCompleted) {
    const Bytes original = SampleBytes(1300);
    WriteFile(path, original);
    FaultyFiles files;
    files.ShortenWriteAt(1, true);
    EXPECT_EQ(MakeBackup(path, log).result, 0);
    EXPECT_EQ(ReadFile(backup), original);
    EXPECT_GT(files.Count(FaultyFiles::Call::Write), 3);
}

TEST_F(BackupTest, FailedCloseOfTheBackupIsAWriteError) {
    WriteFile(path, SampleBytes(20));
    FaultyFiles files;
    files.FailAt(FaultyFiles::Call::Close, 1, EIO);
    EXPECT_EQ(MakeBackup(path, log).result, -3);
    EXPECT_THAT(log.lines, ElementsAre(kBackupWriteError));
}

TEST_F(BackupTest, NeverOverwritesTheDnlFileWithItsOwnBackup) {
    const Bytes original = SampleBytes(600);
    const std::string named = dir.File("Z.~NL");
    WriteFile(named, original);
    EXPECT_EQ(MakeBackup(named, log).result, -2);
    EXPECT_EQ(ReadFile(named), original);
    EXPECT_THAT(log.lines, ElementsAre("Fail to back up a dnl file onto itself as Z.~NL"));
    if (kOnWindows) {
        GTEST_SKIP() << "making a link on Windows needs a privilege the tests do not have";
    }

    WriteFile(path, original);
    std::filesystem::create_symlink(path, backup);
    EXPECT_EQ(MakeBackup(path, log).result, -2);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(log.lines.back(), "Fail to back up a dnl file onto itself as X.~NL");
}

}  // namespace
}  // namespace dnl::test
