#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "DnlconvTest.h"
#include "Examination.h"

namespace dnl::test {
namespace {

using InfoTest = DnlconvTest;

TEST_F(InfoTest, NamesTnwq8AfterConvertingToIt) {
    const std::string path = Place("X.dnl", Dnl().Name("RQX4").Misc(0).End().bytes);

    EXPECT_EQ(Run({"info", path}), 0);
    EXPECT_EQ(out.str(), "==> " + path +
                             " <==\n"
                             "3 records in 25 bytes\n"
                             "NAME at offset 0: \"RQX4\" (RQX4), 5-byte payload\n"
                             "MISC at offset 11: 0x0000 = NTSC or PAL\n"
                             "well formed\n");

    ASSERT_EQ(Run({"convert", "--module", "TNWQ8", "--format", "1080/50i", "--gbr", path}), 0);
    EXPECT_EQ(Run({"info", path}), 0);
    EXPECT_EQ(out.str(), "==> " + path +
                             " <==\n"
                             "3 records in 25 bytes\n"
                             "NAME at offset 0: \"TNW8\" (TNWQ8), 5-byte payload\n"
                             "MISC at offset 11: 0x1801 = 1080/50i + GBR\n"
                             "well formed\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(InfoTest, ReadsMiscValuesWithTheModuleTheFirstNameNames) {
    const std::string unknown = Place("unknown.dnl", Dnl().Misc(0x0801).Name("ABCD").End().bytes);
    const std::string lm5 = Place("lm5.dnl", Dnl().Name("LM5 ").Misc(0).End().bytes);
    const std::string unlisted =
        Place("unlisted.dnl", Dnl().Name("TNW8").Name("RQX4").Misc(0x0900).End().bytes);
    const std::string odd = Place("odd.dnl", Dnl().Record(0x0805, {'A', 0x1B, '"', 0}).End().bytes);

    EXPECT_EQ(Run({"info", unknown, lm5, unlisted, odd}), 0);
    EXPECT_EQ(out.str(), "==> " + unknown +
                             " <==\n"
                             "3 records in 25 bytes\n"
                             "NAME at offset 8: \"ABCD\" (no known module), 5-byte payload\n"
                             "MISC at offset 0: 0x0801 (the file names no known module)\n"
                             "well formed\n"
                             "==> " +
                             lm5 +
                             " <==\n"
                             "3 records in 25 bytes\n"
                             "NAME at offset 0: \"LM5 \" (LM5), 5-byte payload\n"
                             "MISC at offset 11: 0x0000 (LM5 has no formats)\n"
                             "well formed\n"
                             "==> " +
                             unlisted +
                             " <==\n"
                             "4 records in 36 bytes\n"
                             "NAME at offset 0: \"TNW8\" (TNWQ8), 5-byte payload\n"
                             "NAME at offset 11: \"RQX4\" (RQX4), 5-byte payload\n"
                             "MISC at offset 22: 0x0900 (not in the TNWQ8 list)\n"
                             "well formed\n"
                             "==> " +
                             odd +
                             " <==\n"
                             "2 records in 16 bytes\n"
                             "NAME at offset 0: \"A\\x1B\\x22\" (no known module), 4-byte payload\n"
                             "well formed\n");
}

// A file with more records of each kind than an examination keeps is listed all the same.
TEST_F(InfoTest, ListsEveryRecordOfAFileLongerThanAnExaminationKeeps) {
    const int many = static_cast<int>(kRecordsKept) + 1;
    Dnl dnl;
    std::string names;
    std::string miscs;
    std::string problems;
    for (int i = 0; i < many; ++i) {
        miscs += "MISC at offset " + std::to_string(dnl.bytes.size()) + ": 0x0801 = 1080/50i\n";
        problems += "problem: the MISC record at offset " +
                    std::to_string(dnl.Misc(0x0801).bytes.size()) +
                    " is too short for its value (payload length 0)\n";
        names += "NAME at offset " + std::to_string(dnl.Record(0x0032, {}).bytes.size()) +
                 ": \"TNW8\" (TNWQ8), 5-byte payload\n";
        dnl.Name("TNW8");
    }
    const std::string path = Place("many.dnl", dnl.End().bytes);

    EXPECT_EQ(Run({"info", path}), 1);

    EXPECT_EQ(out.str(), "==> " + path + " <==\n" + std::to_string(3 * many + 1) + " records in " +
                             std::to_string(dnl.bytes.size()) + " bytes\n" + names + miscs +
                             problems);
}

TEST_F(InfoTest, ReportsEveryProblemFailsAndChangesNothing) {
    struct Case {
        const char* name;
        Bytes bytes;
        const char* problem;
    };
    const std::vector<Case> cases = {
        {"cut.dnl", Dnl().Misc(1).Raw({0x0F, 0xFF, 0x00}).bytes,
         "problem: the record header at offset 8 is cut short by the end of the file"},
        {"negative.dnl", Dnl().Misc(1).Header(0x0100, -6).End().bytes,
         "problem: record 0x0100 at offset 8 has a negative length (-6)"},
        {"past.dnl", Dnl().Header(0x0100, 10).Raw({1, 2, 3}).bytes,
         "problem: the payload of record 0x0100 at offset 0 runs past the end of the file "
         "(payload length 10)"},
        {"short.dnl", Dnl().Record(0x0032, {1}).End().bytes,
         "problem: the MISC record at offset 0 is too short for its value (payload length 1)"},
        {"open.dnl", Dnl().Name("RQX4").bytes, "problem: no end record"},
    };
    std::vector<std::string> args = {"info"};
    std::string notWellFormed;
    for (const Case& file : cases) {
        args.push_back(Place(file.name, file.bytes));
        notWellFormed += "dnlconv: '" + args.back() +
                         "' is not well formed: " + std::string(file.problem).substr(9) + "\n";
    }
    args.push_back(dir.File("missing.dnl"));
    args.push_back(dir.Path().string());

    EXPECT_EQ(Run(args), 1);

    for (const Case& file : cases) {
        EXPECT_THAT(out.str(), ::testing::HasSubstr(file.problem));
        EXPECT_EQ(ReadFile(dir.File(file.name)), file.bytes) << file.name;
    }
    EXPECT_EQ(err.str(), notWellFormed + "dnlconv: cannot open '" + dir.File("missing.dnl") +
                             "': No such file or directory\n"
                             "dnlconv: cannot open '" +
                             dir.Path().string() + "': not a regular file\n");
    EXPECT_THAT(out.str(), ::testing::Not(::testing::HasSubstr("well formed")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.dnl")));
}

TEST_F(InfoTest, OneBrokenFileAmongGoodOnesFailsTheWholeCommand) {
    const std::string good = Place("good.dnl", Dnl().Name("PZK2").Misc(0x1002).End().bytes);
    const std::string broken = Place("broken.dnl", Dnl().Name("PZK2").bytes);

    const std::string endOnly = Place("end.dnl", Dnl().End().bytes);
    const std::string longName =
        Place("long.dnl", Dnl().Record(0x0805, Bytes(70, 'N')).End().bytes);

    EXPECT_EQ(Run({"info", good, good}), 0);
    EXPECT_THAT(out.str(), ::testing::HasSubstr("MISC at offset 11: 0x1002 = 525i GBR\n"));
    EXPECT_EQ(Run({"info", endOnly}), 0);
    EXPECT_THAT(out.str(), ::testing::HasSubstr("1 record in 6 bytes\n"));
    EXPECT_EQ(Run({"info", longName}), 0);
    EXPECT_THAT(out.str(), ::testing::HasSubstr(std::string(64, 'N') +
                                                "\" (cut to 64 bytes) (no known module), 70-byte"));
    EXPECT_EQ(Run({"info", good, broken, good}), 1);
    EXPECT_EQ(Run({"info", broken}), 1);
}

// --json: one object a line with the facts of the text, for the good, the broken and the missing;
// a NAME that is not UTF-8 is still valid JSON.
TEST_F(InfoTest, JsonGivesOneObjectPerFileWithTheFactsOfTheText) {
    const std::string good = Place("good.dnl", Dnl().Name("TNW8").Misc(0x1801).Misc(0).End().bytes);
    const std::string broken =
        Place("broken.dnl", Dnl().Record(0x0805, {'A', 0xFF, 0x1B, 0}).bytes);
    const std::string missing = dir.File("missing.dnl");

    EXPECT_EQ(Run({"info", "--json", good, broken, missing}), 1);

    std::istringstream lines(out.str());
    std::vector<nlohmann::json> objects;
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(nlohmann::json::parse(line));
    }
    ASSERT_EQ(objects.size(), 3U);
    EXPECT_EQ(objects[0], nlohmann::json::parse(R"({"file":)" + nlohmann::json(good).dump() + R"(,
        "outcome":"well formed","error":null,"size":33,"records":4,"module":"TNWQ8",
        "names":{"count":1,"first":[{"offset":0,"text":"TNW8","cut":false,"module":"TNWQ8",
                                     "length":5}]},
        "miscs":{"count":2,"first":[{"offset":11,"value":6145,"formats":["1080/50i"],"gbr":true},
                                    {"offset":19,"value":0,"formats":["NTSC NSU"],"gbr":false}],
                 "lowest":0,"highest":6145},
        "problems":{"count":0,"first":[]},"well_formed":true})"));
    EXPECT_EQ(objects[1]["outcome"], "not well formed");
    EXPECT_EQ(objects[1]["error"], "no end record");
    EXPECT_EQ(objects[1]["names"]["first"][0]["text"], "A\xEF\xBF\xBD\x1B");
    EXPECT_EQ(objects[2], nlohmann::json::parse(R"({"file":)" + nlohmann::json(missing).dump() +
                                                R"(,"outcome":"cannot open",
                                                "error":"No such file or directory"})"));
}

}  // namespace
}  // namespace dnl::test
