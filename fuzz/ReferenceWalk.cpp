#include "ReferenceWalk.h"

#include <algorithm>

#include "ModuleProfiles.h"

namespace dnl::fuzz {
namespace {

const char kHeaderReadError[] = "dnl Header read error";
const char kHeaderLoadFailed[] = "Fail to load a header record";
const char kOverwriteFailed[] = "モジュール名の上書きに失敗しました";
const char kSkipFailed[] = "Fail to skip";

std::uint16_t BigEndian16(const Bytes& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

std::int32_t BigEndian32(const Bytes& bytes, std::size_t at) {
    const std::uint32_t value = std::uint32_t{bytes[at]} << 24 |
                                std::uint32_t{bytes[at + 1]} << 16 |
                                std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
    return static_cast<std::int32_t>(value);
}

// Writing over a payload that the end of the file cuts short makes the file longer.
void Overwrite(Bytes& file, std::int64_t at, const Bytes& payload) {
    const auto start = static_cast<std::size_t>(at);
    file.resize(std::max(file.size(), start + payload.size()));
    std::copy(payload.begin(), payload.end(), file.begin() + static_cast<std::ptrdiff_t>(start));
}

}  // namespace

ExpectedConversion ExpectConversion(Bytes file, std::uint8_t moduleIndex, std::int16_t miscValue,
                                    bool gbrFlag) {
    const ModuleProfile* profile = ProfileFor(moduleIndex);
    auto misc = static_cast<std::uint16_t>(miscValue);
    if (profile != nullptr && profile->gbrCapable && gbrFlag) {
        misc |= kGbrBit;
    }
    std::vector<std::string> lines = {"Start..."};
    const auto size = static_cast<std::int64_t>(file.size());
    std::int64_t position = 0;
    bool nameDone = false;
    RunEnd end = RunEnd::NoEndRecord;
    // A skip may carry the position past the end; the next header read then finds nothing.
    while (position < size) {
        if (size - position < 6) {
            lines.insert(lines.end(), {kHeaderReadError, kHeaderLoadFailed});
            end = RunEnd::HeaderCutShort;
            break;
        }
        const std::uint16_t type = BigEndian16(file, static_cast<std::size_t>(position));
        const std::int32_t length = BigEndian32(file, static_cast<std::size_t>(position) + 2);
        position += 6;
        if ((type & 0x8000) != 0 && (type & 0x0800) != 0) {
            continue;
        }
        if (!nameDone && type == 0x0805) {
            nameDone = true;
            lines.emplace_back("Find a NAME record");
            if (profile != nullptr) {
                lines.emplace_back(profile->logLine);
                if (length != static_cast<std::int32_t>(profile->nameText.size()) + 1) {
                    lines.emplace_back("The length of a module(" + std::to_string(length) +
                                       ") was different");
                    end = RunEnd::NameDoesNotFit;
                    break;
                }
                Bytes name(profile->nameText.begin(), profile->nameText.end());
                name.push_back(0);
                Overwrite(file, position, name);
                position += length;
                if (profile->stopsAfterName) {
                    lines.emplace_back("Finished");
                    end = RunEnd::Finished;
                    break;
                }
                continue;
            }
        } else if (type == 0x0032 && (profile == nullptr || profile->rewritesMisc)) {
            lines.emplace_back("Modified the MISC record to " + std::to_string(misc));
            if (length < 2) {
                lines.emplace_back(kOverwriteFailed);
                end = length < 0 ? RunEnd::NegativeLength : RunEnd::MiscTooShort;
                break;
            }
            Overwrite(
                file, position,
                {static_cast<unsigned char>(misc >> 8), static_cast<unsigned char>(misc & 0xFF)});
            position += length;
            continue;
        } else if (type == 0x0FFF) {
            lines.emplace_back("Finished");
            end = RunEnd::Finished;
            break;
        }
        if (length < 0) {
            lines.emplace_back(kSkipFailed);
            end = RunEnd::NegativeLength;
            break;
        }
        position += length;
    }
    return {lines, file, end};
}

}  // namespace dnl::fuzz
