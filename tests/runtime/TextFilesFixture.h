// What the text-file tests of every system share: a folder of their own,
// reading a file back and catching the I/O error's code.
#pragma once

#include "runtime/TextFiles.h"

#include "PathQueryFault.h"
#include "TemporaryFolder.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

// `path` (UTF-8, as the program has it) read back whole.
inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
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

// Of the failures of that check only `missing` mean the file is not there;
// after any other the file counts as there, so that the log step appends
// (and meets the real fault) instead of replacing the file with an empty
// one. The file keeps every line.
inline void ExpectOnlyMissingMeansMissing(const std::string& path, std::initializer_list<int> missing, int other)
{
    CreateTextFile(path);
    AppendToFile(path, "19.53");
    for (const int error : missing) {
        const ScopedPathQueryFault fault(error);
        EXPECT_FALSE(FileIsPlainFile(path)) << error;
    }
    {
        const ScopedPathQueryFault fault(other);
        EXPECT_TRUE(FileIsPlainFile(path)) << other;
        AppendToFile(path, "19.54");
    }
    EXPECT_EQ(ReadAll(path), "19.53\r\n19.54\r\n");
    EXPECT_TRUE(FileIsPlainFile(path)) << "the system's own check is back";
}
