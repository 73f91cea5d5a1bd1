#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "DnlconvTest.h"
#include "FileIo.h"
#include "SystemCases.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

const Bytes kRqx4File = Dnl().Name("RQX4").Misc(0x0000).End().bytes;

// On Windows, the absolute `path` behind a prefix that has the system take it as it is ("\\?\")
// or name it in the device namespace ("\\.\"); elsewhere the path unchanged.
std::string Prefixed(const char* prefix, std::string path) {
    if (!kOnWindows) {
        return path;
    }
    std::ranges::replace(path, '/', '\\');
    return prefix + path;
}

// Each file sits in a folder of its own, so that each backup must land beside its own file.
using ConvertBatchTest = DnlconvTest;

TEST_F(ConvertBatchTest, ConvertsEveryFileInItsOwnFolderAndSucceedsWhenAllFinished) {
    const std::string a = Place("one/a.dnl", kRqx4File);
    const std::string b =
        Prefixed(R"(\\?\)", Place("two/b.dnl", Dnl().Misc(1).Name("PZK2").End().bytes));
    const std::string c = Prefixed(R"(\\.\)", Place("two/c.dnl", Dnl().Name("RQX4").End().bytes));
    const fs::path startedIn = dir.Path();

    EXPECT_EQ(Run({"convert", "--module", "TNWQ8", "--format", "PAL", "--gbr", a, b, c}), 0);

    // Each file's heading, then what the engine logs for it.
    const ConversionChoice pal{.moduleIndex = 3, .miscValue = 0x0004, .gbr = true};
    std::vector<std::string> expected;
    for (const auto& [shown, name, bytes] :
         {std::tuple(a, "a.dnl", kRqx4File),
          std::tuple(b, "b.dnl", Dnl().Misc(1).Name("PZK2").End().bytes),
          std::tuple(c, "c.dnl", Dnl().Name("RQX4").End().bytes)}) {
        expected.push_back("==> " + shown + " <==");
        const std::vector<std::string> engine = EngineLines(name, bytes, pal, true);
        expected.insert(expected.end(), engine.begin(), engine.end());
    }
    EXPECT_EQ(Lines(out.str()), expected);
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
    EXPECT_FALSE(fs::exists(dir.File("f/broken.~NL")));
    EXPECT_EQ(std::ranges::count(lines, FolderInTheWayLine("blocked.~NL")), 1);
    EXPECT_EQ(ReadFile(good), Dnl().Name("PZK2").Misc(0).End().bytes);
    EXPECT_EQ(ReadFile(last), Dnl().Name("PZK2").Misc(0).End().bytes);
    EXPECT_EQ(ReadFile(blocked), kRqx4File);
    EXPECT_EQ(err.str(), "dnlconv: '" + broken +
                             "' not converted: the record header at offset 11 is cut short by the "
                             "end of the file; --force converts it anyway\ndnlconv: '" +
                             blocked + "' not converted, its backup failed: " +
                             FileErrorText(kFolderError) + "\n");
}

// A file that a run would leave half converted, or not one for the module, keeps its bytes and
// gets no backup. --force converts it as the window does.
TEST_F(ConvertBatchTest, FilesARunWouldNotFinishWellAreLeftAloneUnlessForced) {
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {Dnl().Record(0x0032, {1}).End().bytes,
         "the MISC record at offset 0 is too short for its value (payload length 1)"},
        {Dnl().Misc(0).End().bytes, "no NAME record"},
        {Dnl().Misc(1).Name("RQX4").End().bytes,
         "the NAME record at offset 8 has a 5-byte payload; JSRY3 needs 6"},
    };
    for (const auto& [bytes, why] : cases) {
        const std::string path = Place("f/x.dnl", bytes);

        EXPECT_EQ(Run({"convert", "--module", "JSRY3", path}), 1) << why;

        EXPECT_EQ(out.str(), "==> " + path + " <==\nNot converted: " + why + "\n");
        EXPECT_EQ(err.str(), "dnlconv: '" + path + "' not converted: " + why +
                                 "; --force converts it anyway\n");
        EXPECT_EQ(ReadFile(path), bytes);
        EXPECT_FALSE(fs::exists(dir.File("f/x.~NL")));
    }
    const std::string hybrid = Place("f/x.dnl", Dnl().Misc(1).Name("RQX4").End().bytes);
    EXPECT_EQ(Run({"convert", "--module", "JSRY3", "--force", "--no-backup", hybrid}), 1);
    EXPECT_EQ(ReadFile(hybrid), Dnl().Misc(8).Name("RQX4").End().bytes);
    EXPECT_EQ(err.str(), "dnlconv: '" + hybrid +
                             "' conversion stopped before the end: the first NAME record does not "
                             "fit the name of JSRY3; x.dnl is partly converted\n");
    EXPECT_TRUE(fs::exists(dir.File("f/.x.dnl.~unfinished")));
    // A MISC record to rewrite that has a negative length is told as the dry run tells it.
    const std::string negative =
        Place("f/n.dnl", Dnl().Name("RQX4").Header(0x0032, -6).End().bytes);
    EXPECT_EQ(Run({"convert", "--module", "RQX4", "--force", "--no-backup", negative}), 1);
    EXPECT_EQ(err.str(),
              "dnlconv: '" + negative +
                  "' conversion stopped before the end: a record has a negative length; n.dnl "
                  "is partly converted\n");
}

TEST_F(ConvertBatchTest, WithoutBackupNoBackupIsMade) {
    const std::string path = Place("f/x.dnl", kRqx4File);

    EXPECT_EQ(Run({"convert", "--no-backup", "--module", "0", "--format", "NTSC NSU", path}), 0);

    std::vector<std::string> expected = {"==> " + path + " <=="};
    for (const std::string& line :
         EngineLines("x.dnl", kRqx4File, {.moduleIndex = 0, .miscValue = 1}, false)) {
        expected.push_back(line);
    }
    EXPECT_EQ(Lines(out.str()), expected);
    EXPECT_EQ(ReadFile(path), Dnl().Name("RQX4").Misc(1).End().bytes);
    EXPECT_FALSE(fs::exists(dir.File("f/x.~NL")));
}

// A dry run says what the conversion would do and leaves the folder exactly as it was; the
// conversion then exits as the dry run said it would.
TEST_F(ConvertBatchTest, DryRunSaysWhatTheConversionWouldDoAndChangesNothing) {
    const Bytes noEnd = Dnl().Name("RQX4").Misc(0).bytes;
    const std::string backupMade = "Backup 'x.~NL' would be made";
    struct Case {
        Bytes bytes;
        std::vector<std::string> options;  // --module first
        bool unfinished;                   // an earlier conversion left its marker and the backup
        int code;
        std::vector<std::string> lines;
        std::string err;
    };
    const std::string tnw8 = "Would convert: NAME \"TNW8\", MISC 0x0800 in 1 record";
    const std::string stops = "the NAME record at offset 8 has a 5-byte payload; JSRY3 needs 6";
    // clang-format off
    const std::vector<Case> cases = {
        {kRqx4File, {"TNWQ8"}, false, 0, {tnw8, backupMade}, ""},
        {kRqx4File, {"TNWQ8", "--no-backup"}, false, 0, {tnw8, "No backup would be made"}, ""},
        {kRqx4File, {"TNWQ8"}, true, 0,
         {tnw8, "Backup 'x.~NL' would be kept: the last conversion of x.dnl did not finish"}, ""},
        {noEnd, {"TNWQ8"}, false, 1, {"Would not convert: no end record"},
         "would not be converted: no end record; --force converts it anyway"},
        {Dnl().Misc(0).Misc(0).End().bytes, {"TNWQ8", "--format", "1080/50i", "--gbr", "--force"},
         false, 0, {"Would convert: NAME \"TNW8\", MISC 0x1801 in 2 records", backupMade}, ""},
        {noEnd, {"LM5", "--force"}, false, 0,
         {"Would convert: NAME \"LM5 \"; the MISC records stay as they are", backupMade}, ""},
        // LM5 passes over a MISC record too short to rewrite, as it rewrites none.
        {Dnl().Header(0x0032, 0).Name("RQX4").End().bytes, {"LM5", "--force"}, false, 0,
         {"Would convert: NAME \"LM5 \"; the MISC records stay as they are", backupMade}, ""},
        {Dnl().Misc(1).Name("RQX4").End().bytes, {"JSRY3", "--force"}, false, 1,
         {"Would convert: NAME \"JSRY6\", MISC 0x0008 in 1 record", backupMade,
          "The run would stop before the end: " + stops},
         "would stop before the end: " + stops},
    };
    // clang-format on
    for (const Case& expected : cases) {
        fs::remove_all(dir.File("f"));
        const std::string path = Place("f/x.dnl", expected.bytes);
        if (expected.unfinished) {
            Place("f/x.~NL", kRqx4File);
            Place("f/.x.dnl.~unfinished", {});
        }
        std::vector<std::string> args = {"convert", "--dry-run", "--module"};
        args.insert(args.end(), expected.options.begin(), expected.options.end());
        args.push_back(path);
        const auto before = Snapshot();

        EXPECT_EQ(Run(args), expected.code) << expected.lines.front();

        std::vector<std::string> lines = {"==> " + path + " <=="};
        lines.insert(lines.end(), expected.lines.begin(), expected.lines.end());
        EXPECT_EQ(Lines(out.str()), lines);
        EXPECT_EQ(err.str(),
                  expected.err.empty() ? "" : "dnlconv: '" + path + "' " + expected.err + "\n");
        EXPECT_EQ(Snapshot(), before) << expected.lines.front();
        args.erase(args.begin() + 1);
        EXPECT_EQ(Run(args), expected.code) << "converted: " << out.str();
    }
}

// With --json each file is one object a line, with the lines logged and the outcome.
TEST_F(ConvertBatchTest, JsonGivesOneObjectPerFile) {
    using nlohmann::json;
    const std::string good = Place("f/good.dnl", kRqx4File);
    const std::string broken = Place("f/broken.dnl", Dnl().Name("RQX4").bytes);
    for (const bool dryRun : {true, false}) {
        EXPECT_EQ(Run({"convert", "--json", dryRun ? "--dry-run" : "--json", "--module", "PZK2",
                       good, broken}),
                  1);
        const std::vector<std::string> objects = Lines(out.str());
        ASSERT_EQ(objects.size(), 2U) << out.str();
        json expected = {{"file", good},     {"dry_run", dryRun}, {"outcome", "finished"},
                         {"error", nullptr}, {"backup", "made"},  {"backup_file", "good.~NL"}};
        expected["lines"] = dryRun ? json::array({"Would convert: NAME \"PZK2\", MISC 0x0000 in "
                                                  "1 record",
                                                  "Backup 'good.~NL' would be made"})
                                   : json(EngineLines("good.dnl", kRqx4File,
                                                      {.moduleIndex = 2, .miscValue = 0}, true));
        if (dryRun) {
            expected.update({{"name", "PZK2"}, {"misc", 0}, {"misc_records", 1}});
        }
        EXPECT_EQ(json::parse(objects[0]), expected);
        const std::string why = std::string(dryRun ? "would not be converted" : "not converted") +
                                ": no end record; --force converts it anyway";
        EXPECT_EQ(json::parse(objects[1]),
                  json({{"file", broken},
                        {"dry_run", dryRun},
                        {"outcome", "not converted"},
                        {"error", why},
                        {"backup", "none"},
                        {"backup_file", nullptr},
                        {"lines", json::array({dryRun ? "Would not convert: no end record"
                                                      : "Not converted: no end record"})}}));
        EXPECT_EQ(err.str(), std::string("dnlconv: '").append(broken).append("' " + why + "\n"));
    }
}

// Restore puts the original back byte for byte, keeps the backup, and takes the marker of an
// unfinished conversion away, leaving nothing else; without a backup, or with a file missing, it
// changes nothing.
TEST_F(ConvertBatchTest, RestorePutsTheOriginalBackAndKeepsTheBackup) {
    const std::string path = Place("f/x.dnl", kRqx4File);
    EXPECT_EQ(Run({"restore", path}), 1);
    EXPECT_EQ(out.str(), "==> " + path + " <==\nNo backup 'x.~NL' to restore\n");
    EXPECT_EQ(err.str(), "dnlconv: '" + path + "' not restored: there is no backup x.~NL\n");
    ASSERT_EQ(Run({"convert", "--module", "TNWQ8", path}), 0);
    Place("f/.x.dnl.~unfinished", {});
    const auto converted = Snapshot();
    EXPECT_EQ(Run({"restore", path, dir.File("f/missing.dnl")}), 2);
    EXPECT_EQ(err.str(), "dnlconv: cannot restore '" + dir.File("f/missing.dnl") +
                             "': No such file or directory\n");
    EXPECT_EQ(Snapshot(), converted);

    EXPECT_EQ(Run({"restore", path}), 0);

    EXPECT_EQ(out.str(), "==> " + path + " <==\nRestored the original DNL file from 'x.~NL'\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(ReadFile(path), kRqx4File);
    EXPECT_EQ(ReadFile(dir.File("f/x.~NL")), kRqx4File);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("f")), fs::directory_iterator()), 2);
}

// A file named like its own backup would be copied onto itself: it is neither backed up nor
// converted.
TEST_F(ConvertBatchTest, FileNamedLikeItsOwnBackupIsLeftAlone) {
    const std::string path = Place("f/self.~NL", kRqx4File);

    EXPECT_EQ(Run({"convert", "--module", "TNWQ8", path}), 1);

    EXPECT_THAT(
        Lines(out.str()),
        ElementsAre("==> " + path + " <==", "Fail to back up a dnl file onto itself as self.~NL"));
    EXPECT_EQ(ReadFile(path), kRqx4File);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("f")), fs::directory_iterator()), 1);
}

// y.dnl and y.DNL share the backup y.~NL: once one has made it, the other is left alone.
TEST_F(ConvertBatchTest, FileWhoseBackupWouldReplaceAnotherFilesIsLeftAloneUnlessForced) {
    if (kOnWindows) {
        GTEST_SKIP() << "names that differ only in case name one file on Windows";
    }
    const std::string upper = Place("f/y.DNL", kRqx4File);
    EXPECT_EQ(Run({"convert", "--module", "LM5", Place("f/y.dnl", kRqx4File)}), 0);
    EXPECT_EQ(Run({"convert", "--module", "LM5", upper}), 1);
    EXPECT_EQ(out.str(), "==> " + upper + " <==\ny.dnl shares the backup y.~NL; not converted\n");
    EXPECT_EQ(err.str(), "dnlconv: '" + upper + "' not converted: y.dnl shares the backup y.~NL; " +
                             "--force converts it anyway\n");
    EXPECT_EQ(ReadFile(upper), kRqx4File);
    EXPECT_EQ(Run({"convert", "--dry-run", "--module", "LM5", upper}), 1);
    EXPECT_EQ(err.str(), "dnlconv: '" + upper + "' would not be converted: y.dnl shares the " +
                             "backup y.~NL; --force converts it anyway\n");
    EXPECT_EQ(Run({"restore", upper}), 1);
    EXPECT_EQ(err.str(), "dnlconv: '" + upper + "' not restored: y.dnl shares the backup y.~NL, " +
                             "which may be its original\n");
    EXPECT_EQ(ReadFile(upper), kRqx4File);
    EXPECT_EQ(Run({"convert", "--module", "LM5", "--force", upper}), 0);
    EXPECT_EQ(ReadFile(dir.File("f/y.~NL")), kRqx4File);
}

// A file another conversion holds is not even looked at: what it holds may be changing.
TEST_F(ConvertBatchTest, FileLockedByAnotherConversionIsLeftAlone) {
    const Bytes broken = Dnl().Name("RQX4").Raw({0x0F}).bytes;
    const std::string path = Place("f/busy.dnl", broken);
    FileHandle other(SystemFiles().OpenExisting(path, FileLayer::Access::ReadOnly));
    ASSERT_EQ(SystemFiles().Lock(other.Get()), 0);

    EXPECT_EQ(Run({"convert", "--module", "TNWQ8", path}), 1);

    EXPECT_THAT(Lines(out.str()),
                ElementsAre("==> " + path + " <==", "Another conversion of this file is running"));
    EXPECT_EQ(err.str(), "dnlconv: '" + path +
                             "' not converted: another conversion of this file is running\n");
    EXPECT_EQ(ReadFile(path), broken);
    EXPECT_FALSE(fs::exists(dir.File("f/busy.~NL")));
    const std::string refused = "' not restored: another conversion of this file is running\n";
    Place("f/busy.~NL", kRqx4File);
    EXPECT_EQ(Run({"restore", path}), 1);
    EXPECT_EQ(err.str(), "dnlconv: '" + path + refused);
    EXPECT_EQ(Run({"convert", "--dry-run", "--module", "TNWQ8", path}), 1);
    EXPECT_THAT(Lines(out.str()), ElementsAre("==> " + path + " <==",
                                              "Would not convert: another conversion of this file "
                                              "is running"));
    EXPECT_EQ(ReadFile(path), broken);
}

// Missing files and files that would overwrite each other's work are found before the first
// file is touched: nothing is converted and nothing is backed up. Names are the system's to
// compare: on Windows good.dnl and good.DNL are one file, and GOOD.dat's backup is good.~NL.
TEST_F(ConvertBatchTest, FilesThatCannotBeConvertedTogetherAreArgumentErrors) {
    const std::string good = Place("f/good.dnl", kRqx4File);
    const std::string upper = Place("f/good.DNL", kRqx4File);
    const std::string backup = Place("f/good.~NL", kRqx4File);
    const fs::path folder = fs::canonical(dir.File("f"));
    fs::create_directory(dir.File("sub"));

    struct Case {
        std::vector<std::string> files;
        std::vector<std::string> options;
        std::string error;
    };
    std::vector<Case> cases = {
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
             (folder / "good.dnl").string() + "'\n"},
        {{good, Prefixed(R"(\\?\)", good)},
         {"--no-backup"},
         "dnlconv: '" + good + "' and '" + Prefixed(R"(\\?\)", good) + "' would both write '" +
             (folder / "good.dnl").string() + "'\n"},
        {{good, upper},
         {},
         "dnlconv: '" + good + "' and '" + upper + "' would both write '" +
             (folder / (kOnWindows ? "good.dnl" : "good.~NL")).string() + "'\n"},
        {{good, backup},
         {},
         "dnlconv: '" + good + "' and '" + backup + "' would both write '" +
             (folder / "good.~NL").string() + "'\n"},
    };
    if (kOnWindows) {
        const std::string other = Place("f/GOOD.dat", kRqx4File);
        cases.push_back({{good, other},
                         {},
                         "dnlconv: '" + good + "' and '" + other + "' would both write '" +
                             (folder / "good.~NL").string() + "'\n"});
    }
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
              kOnWindows ? 2 : 0);
}

}  // namespace
}  // namespace dnl::test
