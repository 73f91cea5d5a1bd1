// What the system's own file layer answers when the system refuses a call: the failures that can
// be had for real and cheaply, without the fault-injecting layer in between.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace dnl::test
