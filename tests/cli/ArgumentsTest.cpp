#include "Arguments.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "Dnlconv.h"
#include "TestSupport.h"

namespace dnl::cli {
namespace {

using test::Bytes;
using test::Dnl;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct ChoiceCase {
    std::vector<std::string> args;
    ConversionChoice choice;
    ConvertOptions options;
    std::vector<std::string> files;
};

TEST(ArgumentsTest, ConvertTurnsModuleAndFormatIntoTheWindowsChoices) {
    const ConvertOptions backup{.backup = true};
    const std::vector<ChoiceCase> cases = {
        {{"convert", "--module", "tnwq8", "--format", "1080/50I", "--gbr", "a.dnl"},
         {.moduleIndex = 3, .miscValue = 0x0801, .gbr = true},
         backup,
         {"a.dnl"}},
        // Without --format the list's first row is taken, as the window selects it.
        {{"convert", "--module=3", "a.dnl"},
         {.moduleIndex = 3, .miscValue = 0x0800},
         backup,
         {"a.dnl"}},
        {{"convert", "a", "--module", "4", "b"},
         {.moduleIndex = 4, .miscValue = 0x0008},
         backup,
         {"a", "b"}},
        {{"convert", "--module", "PZK2", "--format", "pal", "--no-backup", "--force", "a"},
         {.moduleIndex = 2, .miscValue = 0x0100},
         {.backup = false, .force = true},
         {"a"}},
        {{"convert", "--module", "rqx4", "--format=NTSC NSU", "a"},
         {.moduleIndex = 0, .miscValue = 0x0001},
         backup,
         {"a"}},
        {{"convert", "--module", "0", "--format", "0x1104", "a"},
         {.moduleIndex = 0, .miscValue = 0x1104},
         backup,
         {"a"}},
        {{"convert", "--module", "3", "--format", "0XFFFF", "a"},
         {.moduleIndex = 3, .miscValue = -1},
         backup,
         {"a"}},
        {{"convert", "--module", "LM5", "a"}, {.moduleIndex = 1}, backup, {"a"}},
        {{"convert", "--dry-run", "--module", "LM5", "a"},
         {.moduleIndex = 1},
         {.dryRun = true},
         {"a"}},
        // After "--" everything is a file, even what looks like an option.
        {{"convert", "--module", "JSRY3", "--", "--gbr", "-"},
         {.moduleIndex = 4, .miscValue = 0x0008},
         backup,
         {"--gbr", "-"}},
    };
    for (const ChoiceCase& expected : cases) {
        const ParsedArguments parsed = ParseArguments(expected.args);
        const std::string where = ::testing::PrintToString(expected.args);
        ASSERT_EQ(parsed.error, "") << where;
        EXPECT_EQ(parsed.arguments.command, Command::Convert) << where;
        EXPECT_TRUE(parsed.arguments.choice == expected.choice) << where;
        EXPECT_TRUE(parsed.arguments.options == expected.options) << where;
        EXPECT_EQ(parsed.arguments.files, expected.files) << where;
    }
}

TEST(ArgumentsTest, HelpAndVersionWinBeforeTheEndOfOptions) {
    EXPECT_EQ(ParseArguments({"--help"}).arguments.command, Command::Help);
    EXPECT_EQ(ParseArguments({"info", "-h"}).arguments.command, Command::Help);
    EXPECT_EQ(ParseArguments({"convert", "--bogus", "--version"}).arguments.command,
              Command::Version);
    EXPECT_EQ(ParseArguments({"convert", "--module", "bogus", "-h"}).arguments.command,
              Command::Help);
    EXPECT_EQ(ParseArguments({"convert", "--module", "3", "--", "--help"}).arguments.files,
              std::vector<std::string>{"--help"});
    // A file may carry a command's name, or start with a slash on any system.
    EXPECT_THAT(ParseArguments({"info", "modules", "/a.dnl"}).arguments.files,
                ElementsAre("modules", "/a.dnl"));

    const ParsedArguments info = ParseArguments({"info", "a.dnl", "b.dnl"});
    EXPECT_EQ(info.arguments.command, Command::Info);
    EXPECT_THAT(info.arguments.files, ElementsAre("a.dnl", "b.dnl"));
    EXPECT_EQ(ParseArguments({"modules"}).arguments.command, Command::Modules);
    EXPECT_FALSE(info.arguments.json);
    EXPECT_TRUE(ParseArguments({"info", "--json", "a.dnl"}).arguments.json);
    EXPECT_TRUE(ParseArguments({"convert", "--module", "3", "a", "--json"}).arguments.json);
    const ParsedArguments restore = ParseArguments({"restore", "a.dnl", "b.dnl"});
    EXPECT_EQ(restore.arguments.command, Command::Restore);
    EXPECT_THAT(restore.arguments.files, ElementsAre("a.dnl", "b.dnl"));
}

struct ErrorCase {
    std::vector<std::string> args;
    std::string line;
};

// Every argument error ends the program with one line on standard error and exit code 2, before
// any file is opened: the file named in the arguments keeps its bytes and gets no backup.
TEST(ArgumentsTest, EveryArgumentErrorIsOneLineAndTouchesNoFile) {
    const std::string commands = "choose info, convert, modules, restore";
    const std::string modules = "choose RQX4, LM5, PZK2, TNWQ8, JSRY3, or an index from 0 to 4";
    const std::string codes = "or a code from 0x0000 to 0xFFFF";
    const std::string tnwq8Formats =
        "choose 1080/60i, 1080/50i, 1080/30p, 1080/25p, 1080/24p, 1080/24sF, 1035/60i, 720/60p, "
        "720/50p, 720/30p, 720/25p, 720/24p, NTSC NSU, NTSC, 525i, 525p, PAL, 625i, 625p, " +
        codes;
    const std::vector<ErrorCase> cases = {
        {{}, "no command given; " + commands},
        {{"--bogus"}, "unknown option '--bogus'; " + commands},
        {{"frobnicate", "x.dnl"}, "unknown command 'frobnicate'; " + commands},
        {{"info"}, "FILE is required"},
        {{"info", "--module", "3", "x.dnl"}, "The following argument was not expected: --module"},
        {{"modules", "x.dnl"}, "The following argument was not expected: x.dnl"},
        {{"modules", "--gbr"}, "The following argument was not expected: --gbr"},
        {{"convert", "x.dnl"}, "--module is required"},
        {{"convert", "--module", "3", "--frobnicate", "x.dnl"},
         "The following argument was not expected: --frobnicate"},
        {{"convert", "x.dnl", "--module"}, "--module: 1 required MODULE missing"},
        {{"convert", "--module", "3", "--format"}, "--format: 1 required FORMAT missing"},
        {{"convert", "--module", "3", "--module=3", "x.dnl"},
         "--module: At Most 1 required but received 2"},
        {{"convert", "--module", "3", "--gbr=yes", "x.dnl"},
         "gbr was given a disallowed flag override"},
        {{"convert", "--module", "3", "--no-backup=1", "x.dnl"},
         "no-backup was given a disallowed flag override"},
        {{"convert", "--module", "TNW8", "x.dnl"}, "--module: unknown module 'TNW8'; " + modules},
        {{"convert", "--module", "5", "x.dnl"}, "--module: unknown module '5'; " + modules},
        {{"convert", "--module", "03", "x.dnl"}, "--module: unknown module '03'; " + modules},
        {{"convert", "--module", "", "x.dnl"}, "--module: unknown module ''; " + modules},
        {{"convert", "--module", "LM5", "--format", "NTSC", "x.dnl"},
         "--format: LM5 has no formats"},
        {{"convert", "--module", "RQX4", "--format", "NTS", "x.dnl"},
         "--format: 'NTS' is not a format of RQX4; choose NTSC, NTSC NSU, PAL, " + codes},
        {{"convert", "--module", "RQX4", "--format", "1080/50i", "x.dnl"},
         "--format: '1080/50i' is not a format of RQX4; choose NTSC, NTSC NSU, PAL, " + codes},
        {{"convert", "--module", "3", "--format", "0x10000", "x.dnl"},
         "--format: '0x10000' is not a format of TNWQ8; " + tnwq8Formats},
        {{"convert", "--module", "3", "--format", "0x", "x.dnl"},
         "--format: '0x' is not a format of TNWQ8; " + tnwq8Formats},
        {{"convert", "--module", "PZK2", "--gbr", "x.dnl"}, "--gbr: only for TNWQ8"},
        {{"convert", "--module", "LM5", "--gbr", "x.dnl"}, "--gbr: only for TNWQ8"},
        {{"convert", "--module", "3"}, "FILE is required"},
        {{"restore"}, "FILE is required"},
        {{"restore", "--json", "x.dnl"}, "The following argument was not expected: --json"},
        {{"convert", "--module", "3", "--dry-run=1", "x.dnl"},
         "dry-run was given a disallowed flag override"},
    };
    test::TempDir dir;
    const Bytes bytes = Dnl().Name("RQX4").Misc(0).End().bytes;
    test::WriteFile(dir.File("x.dnl"), bytes);

    for (const ErrorCase& expected : cases) {
        std::ostringstream out;
        std::ostringstream err;
        const std::string where = ::testing::PrintToString(expected.args);

        EXPECT_EQ(RunDnlconv(expected.args, out, err), 2) << where;
        EXPECT_EQ(err.str(), "dnlconv: " + expected.line + "\n") << where;
        EXPECT_EQ(out.str(), "") << where;
        EXPECT_EQ(test::ReadFile(dir.File("x.dnl")), bytes) << where;
        EXPECT_FALSE(std::filesystem::exists(dir.File("x.~NL"))) << where;
    }
}

}  // namespace
}  // namespace dnl::cli
