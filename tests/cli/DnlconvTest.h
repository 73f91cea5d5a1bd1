#pragma once

#include <gtest/gtest.h>

#include <filesystem>
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
