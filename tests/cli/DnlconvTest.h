#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Dnlconv.h"
#include "TestSupport.h"

namespace dnl::test {

// Runs dnlconv in-process on files placed in a temporary folder, keeping what it printed.
class DnlconvTest : public ::testing::Test {
protected:
    // Writes `bytes` at `relativePath` inside the temporary folder, making its folders.
    std::string Place(const std::string& relativePath, const Bytes& bytes) {
        const std::string path = dir.File(relativePath);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFile(path, bytes);
        return path;
    }

    // Every file under the temporary folder with its bytes: what a command must leave alone.
    std::map<std::string, Bytes> Snapshot() const {
        std::map<std::string, Bytes> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path())) {
            files[entry.path().string()] =
                entry.is_regular_file() ? ReadFile(entry.path().string()) : Bytes{};
        }
        return files;
    }

    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return cli::RunDnlconv(args, out, err);
    }

    TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

}  // namespace dnl::test
