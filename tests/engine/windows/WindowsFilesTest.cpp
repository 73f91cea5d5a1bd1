// What only Windows does to files: sharing modes, the read-only flag, names that differ only in
// case, and its own error codes.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "Backup.h"
#include "FileIo.h"
#include "TestSupport.h"
#include "WideText.h"

namespace dnl::test {
namespace {

using ::testing::ElementsAre;

std::wstring Wide(const std::string& path) {
    std::wstring wide;
    WideFromUtf8(path, wide);
    return wide;
}

// A file held open the way another program may hold it, sharing only what `sharing` allows.
class HeldOpen {
public:
    HeldOpen(const std::string& path, DWORD sharing)
        : m_file(CreateFileW(Wide(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() { CloseHandle(m_file); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_file;
};

class WindowsBackupTest : public ::testing::Test {
protected:
    std::ptrdiff_t FilesInDir() const {
        return std::distance(std::filesystem::directory_iterator(dir.Path()), {});
    }

    TempDir dir;
    RecordingLog log;
    const std::string path = dir.File("X.dnl");
    const std::string backup = dir.File("X.~NL");
    const Bytes original = Dnl().Name("RQX4").Misc(0).End().bytes;
    const Bytes earlier = Dnl().Name("LM5 ").End().bytes;
};

TEST_F(WindowsBackupTest, BackupHeldOpenWithoutDeleteSharingIsDenied) {
    WriteFile(path, original);
    WriteFile(backup, earlier);
    for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        SCOPED_TRACE(sharing);
        RecordingLog lines;
        const HeldOpen other(backup, sharing);
        ASSERT_TRUE(other.IsOpen());
        EXPECT_EQ(MakeBackup(path, lines).result, -2);
        EXPECT_THAT(lines.lines, ElementsAre("Fail to open X.~NL, error code was (5)"));
    }
    EXPECT_EQ(ReadFile(backup), earlier);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(FilesInDir(), 2);
}

TEST_F(WindowsBackupTest, DnlFileOpenInAnotherProgramThatSharesIsBackedUp) {
    WriteFile(path, original);
    const HeldOpen other(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(other.IsOpen());
    EXPECT_EQ(MakeBackup(path, log).result, 0);
    EXPECT_EQ(ReadFile(backup), original);
}

TEST_F(WindowsBackupTest, ReadOnlyBackupIsDenied) {
    WriteFile(path, original);
    WriteFile(backup, earlier);
    ASSERT_TRUE(SetFileAttributesW(Wide(backup).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(MakeBackup(path, log).result, -2);
    EXPECT_THAT(log.lines, ElementsAre("Fail to open X.~NL, error code was (5)"));
    EXPECT_EQ(ReadFile(backup), earlier);
    EXPECT_EQ(FilesInDir(), 2);
    SetFileAttributesW(Wide(backup).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Names differ only in case, yet name one file: found by volume and file index, not by name.
TEST_F(WindowsBackupTest, BackupNamedInAnotherCaseIsTheDnlFileItself) {
    const std::string named = dir.File("q.~nl");
    WriteFile(named, original);
    EXPECT_EQ(MakeBackup(named, log).result, -2);
    EXPECT_THAT(log.lines, ElementsAre("Fail to back up a dnl file onto itself as q.~NL"));
    EXPECT_EQ(ReadFile(named), original);
}

TEST(WindowsFilesTest, FailuresGiveTheToolsErrorNumbers) {
    const TempDir dir;
    std::filesystem::create_directory(dir.Path() / "folder");
    const std::string in = dir.File("folder") + "\\";
    struct Case {
        std::string path;
        int error;
    };
    for (const Case& expected :
         {Case{in + "missing.dnl", 2}, Case{in + "no folder\\X.dnl", 2}, Case{in + "a<b>.dnl", 2},
          Case{in + "\xFF\xFE.dnl", 2}, Case{dir.File("folder"), kNotARegularFile}}) {
        SCOPED_TRACE(expected.path);
        EXPECT_EQ(SystemFiles().OpenExisting(expected.path, FileLayer::Access::ReadOnly), -1);
        EXPECT_EQ(SystemFiles().LastError(), expected.error);
    }
}

// Wine takes long paths in the plain form too, so the form itself is what is checked here.
TEST(WindowsFilesTest, LongAbsolutePathsTakeTheLongForm) {
    const std::string f = std::string(150, 'f');
    const std::string g = std::string(150, 'g');
    const std::wstring whole = Wide(f + "\\" + g);
    struct Case {
        std::string path;
        std::wstring form;
    };
    for (const Case& expected :
         {Case{"C:/" + f + "/" + g + "/./x/../X.dnl", LR"(\\?\C:\)" + whole + L"\\X.dnl"},
          Case{"//server/share/" + f + "\\" + g, LR"(\\?\UNC\server\share\)" + whole},
          Case{R"(\\?\C:\)" + f + "/" + g, LR"(\\?\C:\)" + Wide(f + "/" + g)},
          Case{f + "/" + g, Wide(f + "/" + g)}, Case{"C:/x/../X.dnl", L"C:/x/../X.dnl"}}) {
        SCOPED_TRACE(expected.path);
        std::wstring form;
        ASSERT_TRUE(SystemPathFromUtf8(expected.path, form));
        EXPECT_EQ(form, expected.form);
    }
}

}  // namespace
}  // namespace dnl::test
