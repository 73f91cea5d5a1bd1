#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "Backup.h"
#include "ConversionRun.h"
#include "DnlconvTest.h"
#include "ModuleProfiles.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

// What one conversion left behind: the lines, the file, and the backup if one was made.
struct Outcome {
    std::vector<std::string> lines;
    Bytes file;
    bool backedUp = false;
    Bytes backup;
};

// One case: a file, the window's four choices, and the same choices as dnlconv arguments.
struct ExecuteCase {
    const char* name;
    const char* fileName;
    Bytes bytes;
    std::uint8_t moduleIndex;
    std::int16_t miscValue;
    bool gbr;
    bool backup;
    std::vector<std::string> options;
};

void PrintTo(const ExecuteCase& choice, std::ostream* out) {
    *out << choice.name;
}

class ConvertLikeExecuteTest : public ::testing::TestWithParam<ExecuteCase> {
protected:
    // What the window's Execute does after File > Open chose `path`: the working directory is the
    // file's folder, the backup comes first when wanted, and the run only when it was made.
    static Outcome Execute(const std::string& path, const ExecuteCase& choice) {
        const fs::path previous = fs::current_path();
        fs::current_path(fs::path(path).parent_path());
        RecordingLog log;
        CountingCursor cursor;
        if (!choice.backup || MakeBackup(path, log) == 0) {
            ConversionRun(path, choice.moduleIndex, choice.miscValue, choice.gbr, log, cursor);
        }
        fs::current_path(previous);
        return Collect(path, log.lines);
    }

    static Outcome Dnlconv(const std::string& path, const ExecuteCase& choice, int& exitCode) {
        std::vector<std::string> args = {"convert"};
        args.insert(args.end(), choice.options.begin(), choice.options.end());
        args.push_back(path);
        std::ostringstream out;
        std::ostringstream err;
        exitCode = cli::RunDnlconv(args, out, err);
        EXPECT_EQ(err.str(), "");
        std::vector<std::string> lines = Lines(out.str());
        EXPECT_FALSE(lines.empty());
        if (!lines.empty()) {
            EXPECT_EQ(lines.front(), "==> " + path + " <==");
            lines.erase(lines.begin());
        }
        return Collect(path, lines);
    }

    static Outcome Collect(const std::string& path, std::vector<std::string> lines) {
        const fs::path backup = fs::path(path).parent_path() / BackupName(path);
        Outcome outcome{std::move(lines), ReadFile(path), fs::exists(backup), {}};
        if (outcome.backedUp && backup != fs::path(path)) {
            outcome.backup = ReadFile(backup.string());
            fs::remove(backup);
        }
        return outcome;
    }

    TempDir dir;
};

TEST_P(ConvertLikeExecuteTest, LeavesTheSameBytesAndLinesAsTheWindowsExecute) {
    const ExecuteCase& choice = GetParam();
    fs::create_directory(dir.File("files"));
    const std::string path = dir.File("files/") + choice.fileName;

    WriteFile(path, choice.bytes);
    const Outcome window = Execute(path, choice);
    WriteFile(path, choice.bytes);
    int exitCode = -1;
    const Outcome dnlconv = Dnlconv(path, choice, exitCode);

    EXPECT_EQ(dnlconv.lines, window.lines);
    EXPECT_EQ(dnlconv.file, window.file);
    EXPECT_EQ(dnlconv.backedUp, window.backedUp);
    EXPECT_EQ(dnlconv.backup, window.backup);
    const bool finished = std::ranges::count(window.lines, "Finished") == 1;
    EXPECT_EQ(exitCode, finished ? 0 : 1);
    // Nothing lands in the working directory the command was started from.
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("files"));
}

const Bytes kRqx4File = Dnl().Name("RQX4").Misc(0x0000).End().bytes;

INSTANTIATE_TEST_SUITE_P(
    Choices, ConvertLikeExecuteTest,
    ::testing::Values(
        ExecuteCase{"Tnwq8At1080_50iWithGbr",
                    "X.dnl",
                    kRqx4File,
                    3,
                    0x0801,
                    true,
                    true,
                    {"--module", "TNWQ8", "--format", "1080/50i", "--gbr"}},
        ExecuteCase{"MiscBeforeAndAfterNameWithoutBackup",
                    "a.dnl",
                    Dnl().Misc(5).Header(0x8805, 99).Name("PZK2").Filler(4).Misc(6).End().bytes,
                    2,
                    0x1104,
                    false,
                    false,
                    {"--module", "2", "--format", "0x1104", "--no-backup"}},
        ExecuteCase{"Lm5StopsAfterName",
                    "lm.dnl",
                    Dnl().Misc(5).Name("TNW8").Misc(6).End().bytes,
                    1,
                    0,
                    false,
                    true,
                    {"--module", "lm5"}},
        ExecuteCase{"NameTooShortForJsry",
                    "j.DNL",
                    kRqx4File,
                    4,
                    0x0008,
                    false,
                    true,
                    {"--module", "JSRY3"}},
        ExecuteCase{"NoEndRecord",
                    "open.dnl",
                    Dnl().Name("JSRY6").Misc(0).bytes,
                    4,
                    0x000B,
                    false,
                    true,
                    {"--module", "4", "--format", "720/24P"}},
        ExecuteCase{"HeaderCutShort",
                    "cut.dnl",
                    Dnl().Name("RQX4").Raw({0x00, 0x32, 0x00}).bytes,
                    0,
                    0x0001,
                    false,
                    true,
                    {"--module", "RQX4", "--format", "NTSC NSU"}},
        // A file named like its own backup is never backed up onto itself; the run does not start.
        ExecuteCase{
            "OwnBackupName", "self.~NL", kRqx4File, 3, 0x0800, false, true, {"--module", "TNWQ8"}}),
    [](const ::testing::TestParamInfo<ExecuteCase>& info) { return std::string(info.param.name); });

// Each file sits in a folder of its own, so that each backup must land beside its own file.
using ConvertBatchTest = DnlconvTest;

TEST_F(ConvertBatchTest, ConvertsEveryFileInItsOwnFolderAndSucceedsWhenAllFinished) {
    const std::string a = Place("one/a.dnl", kRqx4File);
    const std::string b = Place("two/b.dnl", Dnl().Misc(1).Name("PZK2").End().bytes);
    const std::string c = Place("two/c.dnl", Dnl().Name("RQX4").End().bytes);
    const fs::path startedIn = dir.Path();

    EXPECT_EQ(Run({"convert", "--module", "TNWQ8", "--format", "PAL", "--gbr", a, b, c}), 0);

    EXPECT_THAT(
        Lines(out.str()),
        ElementsAre("==> " + a + " <==", "Backed up the original DNL file as 'a.~NL'", "Start...",
                    "Find a NAME record", "--> TNWQ8", "Modified the MISC record to 4100",
                    "Finished", "==> " + b + " <==", "Backed up the original DNL file as 'b.~NL'",
                    "Start...", "Modified the MISC record to 4100", "Find a NAME record",
                    "--> TNWQ8", "Finished",
                    "==> " + c + " <==", "Backed up the original DNL file as 'c.~NL'", "Start...",
                    "Find a NAME record", "--> TNWQ8", "Finished"));
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(ReadFile(a), Dnl().Name("TNW8").Misc(0x1004).End().bytes);
    EXPECT_EQ(ReadFile(b), Dnl().Misc(0x1004).Name("TNW8").End().bytes);
    EXPECT_EQ(ReadFile(c), Dnl().Name("TNW8").End().bytes);
    EXPECT_EQ(ReadFile(dir.File("one/a.~NL")), kRqx4File);
    EXPECT_EQ(ReadFile(dir.File("two/b.~NL")), Dnl().Misc(1).Name("PZK2").End().bytes);
    EXPECT_TRUE(fs::exists(dir.File("two/c.~NL")));
    EXPECT_EQ(fs::current_path(), startedIn);
}

TEST_F(ConvertBatchTest, OneUnfinishedRunFailsTheBatchButTheOthersAreStillConverted) {
    const std::string good = Place("f/good.dnl", kRqx4File);
    const std::string broken = Place("f/broken.dnl", Dnl().Name("RQX4").Raw({0x0F}).bytes);
    const std::string last = Place("g/last.dnl", kRqx4File);
    // The backup of this one cannot be created: its name is taken by a folder.
    const std::string blocked = Place("h/blocked.dnl", kRqx4File);
    fs::create_directory(dir.File("h/blocked.~NL"));

    EXPECT_EQ(Run({"convert", "--module", "PZK2", good, broken, blocked, last}), 1);

    const std::vector<std::string> lines = Lines(out.str());
    EXPECT_EQ(std::ranges::count(lines, "Finished"), 2);
    EXPECT_EQ(std::ranges::count(lines, "Fail to load a header record"), 1);
    EXPECT_EQ(std::ranges::count(lines, "Fail to open blocked.~NL, error code was (21)"), 1);
    EXPECT_EQ(ReadFile(good), Dnl().Name("PZK2").Misc(0).End().bytes);
    EXPECT_EQ(ReadFile(last), Dnl().Name("PZK2").Misc(0).End().bytes);
    EXPECT_EQ(ReadFile(blocked), kRqx4File);
}

TEST_F(ConvertBatchTest, WithoutBackupNoBackupIsMade) {
    const std::string path = Place("f/x.dnl", kRqx4File);

    EXPECT_EQ(Run({"convert", "--no-backup", "--module", "0", "--format", "NTSC NSU", path}), 0);

    EXPECT_THAT(Lines(out.str()),
                ElementsAre("==> " + path + " <==", "Start...", "Find a NAME record", "--> RQX4",
                            "Modified the MISC record to 1", "Finished"));
    EXPECT_EQ(ReadFile(path), Dnl().Name("RQX4").Misc(1).End().bytes);
    EXPECT_FALSE(fs::exists(dir.File("f/x.~NL")));
}

// Missing files and files that would overwrite each other's work are found before the first
// file is touched: nothing is converted and nothing is backed up.
TEST_F(ConvertBatchTest, FilesThatCannotBeConvertedTogetherAreArgumentErrors) {
    const std::string good = Place("f/good.dnl", kRqx4File);
    const std::string upper = Place("f/good.DNL", kRqx4File);
    const std::string backup = Place("f/good.~NL", kRqx4File);
    const std::string folder = fs::canonical(dir.File("f")).string();
    fs::create_directory(dir.File("sub"));

    struct Case {
        std::vector<std::string> files;
        std::vector<std::string> options;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{good, dir.File("f/missing.dnl")},
         {},
         "dnlconv: cannot convert '" + dir.File("f/missing.dnl") +
             "': No such file or directory\n"},
        {{dir.File("sub"), good},
         {},
         "dnlconv: cannot convert '" + dir.File("sub") + "': not a regular file\n"},
        {{good, dir.File("f/../f/good.dnl")},
         {"--no-backup"},
         "dnlconv: '" + good + "' and '" + dir.File("f/../f/good.dnl") + "' would both write '" +
             folder + "/good.dnl'\n"},
        {{good, upper},
         {},
         "dnlconv: '" + good + "' and '" + upper + "' would both write '" + folder +
             "/good.~NL'\n"},
        {{good, backup},
         {},
         "dnlconv: '" + good + "' and '" + backup + "' would both write '" + folder +
             "/good.~NL'\n"},
    };
    for (const Case& expected : cases) {
        std::vector<std::string> args = {"convert", "--module", "3"};
        args.insert(args.end(), expected.options.begin(), expected.options.end());
        args.insert(args.end(), expected.files.begin(), expected.files.end());

        EXPECT_EQ(Run(args), 2) << expected.error;
        EXPECT_EQ(err.str(), expected.error);
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(ReadFile(good), kRqx4File);
        EXPECT_EQ(ReadFile(upper), kRqx4File);
        EXPECT_EQ(ReadFile(backup), kRqx4File);
    }
    // The two spellings of one folder are fine when they name different files.
    EXPECT_EQ(Run({"convert", "--module", "3", "--no-backup", good, dir.File("f/../f/good.DNL")}),
              0);
}

}  // namespace
}  // namespace dnl::test
