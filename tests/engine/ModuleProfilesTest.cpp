#include "ModuleProfiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace dnl {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ModuleProfilesTest, ListLengthsPerModule) {
    EXPECT_EQ(MiscListFor(0).size(), 3U);
    EXPECT_TRUE(MiscListFor(1).empty());
    EXPECT_EQ(MiscListFor(2).size(), 14U);
    EXPECT_EQ(MiscListFor(3).size(), 19U);
    EXPECT_EQ(MiscListFor(4).size(), 4U);
    EXPECT_TRUE(MiscListFor(5).empty());
    EXPECT_TRUE(MiscListFor(kNoModule).empty());
}

TEST(ModuleProfilesTest, SameNameMeansTheCodeOfTheSelectedModule) {
    EXPECT_EQ(MiscValue(0, 2), 0x0000);   // "PAL"
    EXPECT_EQ(MiscValue(2, 8), 0x0100);   // "PAL"
    EXPECT_EQ(MiscValue(3, 16), 0x0004);  // "PAL"
    EXPECT_EQ(MiscListFor(0)[2].name, "PAL");
    EXPECT_EQ(MiscListFor(2)[8].name, "PAL");
    EXPECT_EQ(MiscListFor(3)[16].name, "PAL");
    EXPECT_EQ(MiscValue(3, 8), 0x0808);  // "720/50p"
    EXPECT_EQ(MiscValue(4, 0), 0x0008);  // "720/50p"
}

TEST(ModuleProfilesTest, FirstRowsAreTheDefaults) {
    EXPECT_EQ(MiscListFor(0)[0].name, "NTSC");
    EXPECT_EQ(MiscValue(0, 0), 0x0000);
    EXPECT_EQ(MiscListFor(2)[0].name, "NTSC NSU");
    EXPECT_EQ(MiscValue(2, 0), 0x0000);
    EXPECT_EQ(MiscListFor(3)[0].name, "1080/60i");
    EXPECT_EQ(MiscValue(3, 0), 0x0800);
    EXPECT_EQ(MiscListFor(4)[0].name, "720/50p");
    EXPECT_EQ(MiscValue(4, 0), 0x0008);
}

TEST(ModuleProfilesTest, ValuesOutsideAListAreZero) {
    EXPECT_EQ(MiscValue(1, 0), 0);
    EXPECT_EQ(MiscValue(kNoModule, 0), 0);
    EXPECT_EQ(MiscValue(0, 3), 0);
    EXPECT_EQ(MiscValue(3, -1), 0);
}

TEST(ModuleProfilesTest, GbrRowsCarryTheGbrBit) {
    int gbrRows = 0;
    for (const MiscFormat& row : MiscListFor(2)) {
        const bool namedGbr = row.name.find("GBR") != std::string_view::npos;
        EXPECT_EQ(namedGbr, (row.value & kGbrBit) != 0) << row.name;
        gbrRows += namedGbr ? 1 : 0;
    }
    EXPECT_EQ(gbrRows, 4);
}

TEST(ModuleProfilesTest, FormatNamesFitTheSelector) {
    for (std::uint8_t module = 0; module < kModuleCount; ++module) {
        for (const MiscFormat& row : MiscListFor(module)) {
            EXPECT_FALSE(row.name.empty());
            EXPECT_LE(row.name.size(), 15U) << row.name;
        }
    }
}

TEST(ModuleProfilesTest, SelectorLogAndNameTextsAreSeparate) {
    const ModuleProfile* tnwq8 = ProfileFor(3);
    ASSERT_NE(tnwq8, nullptr);
    EXPECT_EQ(tnwq8->selectorText, "TNWQ8");
    EXPECT_EQ(tnwq8->logLine, "--> TNWQ8");
    EXPECT_EQ(tnwq8->nameText, "TNW8");
    const ModuleProfile* jsry = ProfileFor(4);
    ASSERT_NE(jsry, nullptr);
    EXPECT_EQ(jsry->selectorText, "JSRY3");
    EXPECT_EQ(jsry->logLine, "--> JSRY6");
    EXPECT_EQ(jsry->nameText, "JSRY6");
    const ModuleProfile* lm5 = ProfileFor(1);
    ASSERT_NE(lm5, nullptr);
    EXPECT_EQ(lm5->nameText, "LM5 ");
    EXPECT_EQ(ProfileFor(5), nullptr);
    EXPECT_EQ(ProfileFor(kNoModule), nullptr);
}

TEST(ModuleProfilesTest, OnlyLm5StopsAfterTheNameAndOnlyTnwq8TakesGbr) {
    for (std::uint8_t module = 0; module < kModuleCount; ++module) {
        const ModuleProfile* profile = ProfileFor(module);
        ASSERT_NE(profile, nullptr);
        EXPECT_EQ(profile->index, module);
        EXPECT_EQ(profile->stopsAfterName, module == 1);
        EXPECT_EQ(profile->rewritesMisc, module != 1);
        EXPECT_EQ(profile->gbrCapable, module == 3);
        EXPECT_EQ(NamePayloadLength(*profile), module == 4 ? 6 : 5);
    }
}

TEST(ModuleNamedByTest, KnowsTheFiveNamesAsFilesCarryThem) {
    EXPECT_EQ(ModuleNamedBy("RQX4"), 0);
    EXPECT_EQ(ModuleNamedBy("LM5 "), 1);
    EXPECT_EQ(ModuleNamedBy("PZK2"), 2);
    EXPECT_EQ(ModuleNamedBy("TNW8"), 3);
    EXPECT_EQ(ModuleNamedBy("JSRY6"), 4);
    // The selector texts are not what the files hold.
    EXPECT_EQ(ModuleNamedBy("LM5"), kNoModule);
    EXPECT_EQ(ModuleNamedBy("TNWQ8"), kNoModule);
    EXPECT_EQ(ModuleNamedBy("JSRY3"), kNoModule);
    EXPECT_EQ(ModuleNamedBy("rqx4"), kNoModule);
    EXPECT_EQ(ModuleNamedBy(""), kNoModule);
}

TEST(MeaningOfTest, ReadsACodeWithTheModulesOwnList) {
    EXPECT_THAT(MeaningOf(0, 0x0000).formats, ElementsAre("NTSC", "PAL"));
    EXPECT_THAT(MeaningOf(2, 0x0100).formats, ElementsAre("PAL"));
    EXPECT_THAT(MeaningOf(3, 0x0004).formats, ElementsAre("PAL"));
    EXPECT_THAT(MeaningOf(4, 0x0008).formats, ElementsAre("720/50p"));
    EXPECT_THAT(MeaningOf(3, 0x0808).formats, ElementsAre("720/50p"));
    EXPECT_THAT(MeaningOf(4, 0x0808).formats, IsEmpty());
    EXPECT_THAT(MeaningOf(1, 0x0000).formats, IsEmpty());
    EXPECT_THAT(MeaningOf(kNoModule, 0x0000).formats, IsEmpty());
}

TEST(MeaningOfTest, ShowsTheGbrBitWhenTheCodeIsNotInTheListWithIt) {
    const MiscMeaning tnwq8 = MeaningOf(3, 0x1801);
    EXPECT_THAT(tnwq8.formats, ElementsAre("1080/50i"));
    EXPECT_TRUE(tnwq8.gbr);

    // PZK2's list holds codes with the bit: those are formats of their own.
    const MiscMeaning listed = MeaningOf(2, 0x1002);
    EXPECT_THAT(listed.formats, ElementsAre("525i GBR"));
    EXPECT_FALSE(listed.gbr);
    // Only TNWQ8 takes the bit: on PZK2 a code that is not listed means nothing.
    const MiscMeaning unlisted = MeaningOf(2, 0x1003);
    EXPECT_THAT(unlisted.formats, IsEmpty());
    EXPECT_FALSE(unlisted.gbr);

    const MiscMeaning unknown = MeaningOf(3, 0x1900);
    EXPECT_THAT(unknown.formats, IsEmpty());
    EXPECT_FALSE(unknown.gbr);
}

}  // namespace
}  // namespace dnl
