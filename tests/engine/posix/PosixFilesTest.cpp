// What the system's own file layer answers when the system refuses a call: the failures that can
// be had for real and cheaply, without the fault-injecting layer in between.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Backup.h"
#include "FileIo.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

TEST(PosixFilesTest, RefusedCallsReportTheSystemsError) {
    TempDir dir;
    FileLayer& files = SystemFiles();
    const std::string file = dir.File("file");
    WriteFile(file, {1, 2, 3});
    const std::string underAFile = file + "/inside";
    const std::string missingFolder = dir.File("missing/x");
    std::string created;
    std::vector<std::string> names;
    FileId id;

    const struct {
        const char* call;
        std::function<std::int64_t()> make;
        int error;
    } refused[] = {
        {"check under a file", [&] { return files.CheckReplaceable(underAFile); }, ENOTDIR},
        {"create like no file", [&] { return files.CreateTemporary(dir.File("t."), -1, created); },
         EBADF},
        {"flush no file", [&] { return files.Flush(-1); }, EBADF},
        {"replace into no folder", [&] { return files.Replace(file, missingFolder); }, ENOENT},
        {"remove nothing", [&] { return files.Remove(missingFolder); }, ENOENT},
        {"list no folder", [&] { return files.ListFolder(missingFolder, names); }, ENOENT},
        {"identify nothing", [&] { return files.Identify(missingFolder, id); }, ENOENT},
        {"lock no file", [&] { return files.Lock(-1); }, EBADF},
        {"seek no file", [&] { return files.Seek(-1, 1); }, EBADF},
        {"size of no file", [&] { return files.Size(-1); }, EBADF},
    };
    for (const auto& call : refused) {
        SCOPED_TRACE(call.call);
        EXPECT_EQ(call.make(), -1);
        EXPECT_EQ(files.LastError(), call.error);
    }
    EXPECT_TRUE(created.empty());
    EXPECT_FALSE(files.IsSameFile(-1, file));
    EXPECT_EQ(ReadFile(file), Bytes({1, 2, 3}));

    FileHandle like(files.OpenExisting(file, FileLayer::Access::ReadOnly));
    EXPECT_EQ(files.CreateTemporary(missingFolder, like.Get(), created), -1);
    EXPECT_EQ(files.LastError(), ENOENT);
    EXPECT_EQ(FileErrorText(ENOENT), "No such file or directory");
}

// The backup keeps the DNL file's permission bits, but its owner may always write it, so that a
// read-only DNL file does not make every later backup fail. Made by root (the file is then given
// away first), it belongs to the DNL file's owner, who could otherwise not read it.
TEST(PosixFilesTest, BackupKeepsTheModeNeverReadOnlyAndTheOwner) {
    TempDir dir;
    const std::string path = dir.File("X.dnl");
    WriteFile(path, {1, 2, 3});
    ASSERT_TRUE(::geteuid() != 0 || ::chown(path.c_str(), 4242, 4343) == 0);
    struct stat dnl {};
    struct stat backup {};
    for (const auto& [mode, expected] : {std::pair(0600U, 0600U), {0444U, 0644U}, {0750U, 0750U}}) {
        RecordingLog log;
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_EQ(MakeBackup(path, log).result, 0);
        ASSERT_EQ(::stat(dir.File("X.~NL").c_str(), &backup), 0);
        EXPECT_EQ(backup.st_mode & 0777U, expected);
    }
    ASSERT_EQ(::stat(path.c_str(), &dnl), 0);
    EXPECT_EQ(backup.st_uid, dnl.st_uid);
    EXPECT_EQ(backup.st_gid, dnl.st_gid);
}

}  // namespace
}  // namespace dnl::test
