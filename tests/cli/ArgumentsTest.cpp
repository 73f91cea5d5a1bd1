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
    ConvertChoice choice;
    std::vector<std::string> files;
};

TEST(ArgumentsTest, ConvertTurnsModuleAndFormatIntoTheWindowsChoices) {
    const std::vector<ChoiceCase> cases = {
        {{"convert", "--module", "tnwq8", "--format", "1080/50I", "--gbr", "a.dnl"},
         {3, 0x0801, true, true},
         {"a.dnl"}},
        // Without --format the list's first row is taken, as the window selects it.
        {{"convert", "--module=3", "a.dnl"}, {3, 0x0800, false, true}, {"a.dnl"}},
        {{"convert", "a", "--module", "4", "b"}, {4, 0x0008, false, true}, {"a", "b"}},
        {{"convert", "--module", "PZK2", "--format", "pal", "--no-backup", "--force", "a"},
         {2, 0x0100, false, false, true},
         {"a"}},
        {{"convert", "--module", "rqx4", "--format=NTSC NSU", "a"},
         {0, 0x0001, false, true},
         {"a"}},
        {{"convert", "--module", "0", "--format", "0x1104", "a"}, {0, 0x1104, false, true}, {"a"}},
        {{"convert", "--module", "3", "--format", "0XFFFF", "a"}, {3, -1, false, true}, {"a"}},
        {{"convert", "--module", "LM5", "a"}, {1, 0, false, true}, {"a"}},
        // After "--" everything is a file, even what looks like an option.
        {{"convert", "--module", "JSRY3", "--", "--gbr", "-"},
         {4, 0x0008, false, true},
         {"--gbr", "-"}},
    };
    for (const ChoiceCase& expected : cases) {
        const ParsedArguments parsed = ParseArguments(expected.args);
        const std::string where = ::testing::PrintToString(expected.args);
        ASSERT_EQ(parsed.error, "") << where;
        EXPECT_EQ(parsed.arguments.command, Command::Convert) << where;
        const ConvertChoice& choice = parsed.arguments.choice;
        EXPECT_EQ(choice.moduleIndex, expected.choice.moduleIndex) << where;
        EXPECT_EQ(choice.miscValue, expected.choice.miscValue) << where;
        EXPECT_EQ(choice.gbr, expected.choice.gbr) << where;
        EXPECT_EQ(choice.backup, expected.choice.backup) << where;
        EXPECT_EQ(choice.force, expected.choice.force) << where;
        EXPECT_EQ(parsed.arguments.files, expected.files) << where;
    }
}

TEST(ArgumentsTest, HelpAndVersionWinBeforeTheEndOfOptions) {
    EXPECT_EQ(ParseArguments({"--help"}).arguments.command, Command::Help);
    EXPECT_EQ(ParseArguments({"info", "-h"}).arguments.command, Command::Help);
    EXPECT_EQ(ParseArguments({"convert", "--bogus", "--version"}).arguments.command,
              Command::Version);
    EXPECT_EQ(ParseArguments({"convert", "--module", "3", "--", "--help"}).arguments.files,
              std::vector<std::string>{"--help"});

    const ParsedArguments info = ParseArguments({"info", "a.dnl", "b.dnl"});
    EXPECT_EQ(info.arguments.command, Command::Info);
    EXPECT_THAT(info.arguments.files, ElementsAre("a.dnl", "b.dnl"));
    EXPECT_EQ(ParseArguments({"modules"}).arguments.command, Command::Modules);
}

struct ErrorCase {
    std::vector<std::string> args;
    std::string line;
};

// Every argument error ends the program with one line on standard error and exit code 2, before
// any file is opened: the file named in the arguments keeps its bytes and gets no backup.
TEST(ArgumentsTest, EveryArgumentErrorIsOneLineAndTouchesNoFile) {
    const std::string choices = "choose RQX4, LM5, PZK2, TNWQ8, JSRY3, or an index from 0 to 4";
    const std::vector<ErrorCase> cases = {
        {{}, "no command given; try 'dnlconv --help'"},
        {{"--bogus"}, "unknown option '--bogus'; try 'dnlconv --help'"},
        {{"frobnicate", "x.dnl"}, "unknown command 'frobnicate'; try 'dnlconv --help'"},
        {{"info"}, "info needs at least one FILE"},
        {{"info", "--module", "3", "x.dnl"}, "info has no option '--module'"},
        {{"modules", "x.dnl"}, "modules takes no FILE"},
        {{"modules", "--gbr"}, "modules has no option '--gbr'"},
        {{"convert", "x.dnl"}, "convert needs --module"},
        {{"convert", "--module", "3", "--frobnicate", "x.dnl"},
         "convert has no option '--frobnicate'"},
        {{"convert", "x.dnl", "--module"}, "option '--module' needs a value"},
        {{"convert", "--module", "3", "--format"}, "option '--format' needs a value"},
        {{"convert", "--module", "3", "--module=3", "x.dnl"}, "option '--module' is given twice"},
        {{"convert", "--module", "3", "--gbr=yes", "x.dnl"}, "option '--gbr' takes no value"},
        {{"convert", "--module", "3", "--no-backup=1", "x.dnl"},
         "option '--no-backup' takes no value"},
        {{"convert", "--module", "TNW8", "x.dnl"}, "unknown module 'TNW8'; " + choices},
        {{"convert", "--module", "5", "x.dnl"}, "unknown module '5'; " + choices},
        {{"convert", "--module", "03", "x.dnl"}, "unknown module '03'; " + choices},
        {{"convert", "--module", "", "x.dnl"}, "unknown module ''; " + choices},
        {{"convert", "--module", "LM5", "--format", "NTSC", "x.dnl"},
         "LM5 has no formats; --format is not for it"},
        {{"convert", "--module", "RQX4", "--format", "NTS", "x.dnl"},
         "'NTS' is neither a format of RQX4 nor a code from 0x0000 to 0xFFFF; see 'dnlconv "
         "modules'"},
        {{"convert", "--module", "RQX4", "--format", "1080/50i", "x.dnl"},
         "'1080/50i' is neither a format of RQX4 nor a code from 0x0000 to 0xFFFF; see 'dnlconv "
         "modules'"},
        {{"convert", "--module", "3", "--format", "0x10000", "x.dnl"},
         "'0x10000' is neither a format of TNWQ8 nor a code from 0x0000 to 0xFFFF; see 'dnlconv "
         "modules'"},
        {{"convert", "--module", "3", "--format", "0x", "x.dnl"},
         "'0x' is neither a format of TNWQ8 nor a code from 0x0000 to 0xFFFF; see 'dnlconv "
         "modules'"},
        {{"convert", "--module", "PZK2", "--gbr", "x.dnl"}, "--gbr is only for TNWQ8"},
        {{"convert", "--module", "LM5", "--gbr", "x.dnl"}, "--gbr is only for TNWQ8"},
        {{"convert", "--module", "3"}, "convert needs at least one FILE"},
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
