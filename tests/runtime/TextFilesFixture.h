// What the text-file tests of every system share: a folder of their own,
// reading a file back and catching the I/O error's code.
#pragma once

#include "runtime/TextFiles.h"

#include "TemporaryFolder.h"

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Runs `operation` and returns the code of the EInOutError it raises, or -1.
template <class F>
int IoErrorCodeOf(F operation, std::string* message = nullptr)
{
    try {
        operation();
    } catch (const EInOutError& error) {
        if (message)
            *message = error.what();
        return error.ErrorCode();
    }
    return -1;
}

class TextFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FDir.Ok()) << "no temporary folder"; }

    std::string PathOf(const std::string& name) const { return FDir.PathOf(name); }

    TemporaryFolder FDir;
};
