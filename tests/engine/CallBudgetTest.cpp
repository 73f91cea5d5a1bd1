// A conversion makes only the file calls the file format forces, which is what keeps it within a
// few percent of the fastest loop possible (see bench/): one open, one 6-byte read per header,
// one seek per payload passed over, one write per rewritten payload, one close.

#include <gtest/gtest.h>

#include "ConversionRun.h"
#include "TestSupport.h"

namespace dnl::test {
namespace {

using Call = FaultyFiles::Call;

TEST(CallBudgetTest, AConversionMakesOnlyTheCallsTheFormatForces) {
    const TempDir dir;
    const std::string path = dir.File("X.dnl");
    WriteFile(path, Dnl()
                        .Header(0x8805, 9)
                        .Name("RQX4")
                        .Filler(7)
                        .Misc(0)
                        .Filler(0)
                        .Record(0x0032, {1, 2, 3, 4, 5})
                        .Name("RQX4")
                        .End()
                        .bytes);
    RecordingLog log;
    CountingCursor cursor;
    const FaultyFiles files;
    ConversionRun(path, {.moduleIndex = 3, .miscValue = 0x0801}, log, cursor);
    ASSERT_EQ(log.lines.back(), "Finished");
    EXPECT_EQ(files.Count(Call::Open), 1);
    EXPECT_EQ(files.Count(Call::Read), 8);   // every header, the group's and the end's included
    EXPECT_EQ(files.Count(Call::Seek), 4);   // two fillers, the long MISC's tail, the second NAME
    EXPECT_EQ(files.Count(Call::Write), 3);  // the first NAME and the two MISC values
    EXPECT_EQ(files.Count(Call::Close), 1);
}

}  // namespace
}  // namespace dnl::test
