#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ConversionRun.h"

namespace dnl::fuzz {

using Bytes = std::vector<unsigned char>;

// What a conversion of a DNL file must log, leave on disk and say about its end.
struct ExpectedConversion {
    std::vector<std::string> lines;
    Bytes file;
    RunEnd end = RunEnd::NoEndRecord;
};

// Works out a conversion of `file` on its bytes in memory, record by record from the file's
// layout, without a single file call: a second opinion to hold the engine's run against.
ExpectedConversion ExpectConversion(Bytes file, std::uint8_t moduleIndex, std::int16_t miscValue,
                                    bool gbrFlag);

}  // namespace dnl::fuzz
