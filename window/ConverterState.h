#pragma once

#include <cstdint>
#include <string>

namespace dnl {

// What the user has chosen so far: everything a conversion run is given.
struct ConverterState {
    std::string path;  // the accepted DNL file, in the file system's encoding; empty at first
    std::int16_t miscValue = 0;
    std::uint8_t moduleIndex = 0;
    bool gbr = false;
};

}  // namespace dnl
