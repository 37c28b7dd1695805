// The reading log's file operations and the messages of their failures, as
// every system shows them.
#include "TextFilesFixture.h"

#include <filesystem>

namespace {

TEST(InOutError, MessagesComeFromTheCode)
{
    const std::pair<int, const char*> table[] = {
        {2, "File not found"},          {3, "Invalid filename"},       {4, "Too many open files"},
        {5, "File access denied"},      {100, "Read beyond end of file"}, {101, "Disk full"},
        {106, "Invalid numeric input"}, {32, "I/O error 32"},          {1005, "I/O error 1005"},
    };
    for (const auto& [code, message] : table) {
        const EInOutError error(code);
        EXPECT_EQ(error.ErrorCode(), code);
        EXPECT_STREQ(error.what(), message) << code;
    }
}

TEST_F(TextFiles, CreateThenAppendWritesLinesWithCrLf)
{
    const std::string path = PathOf("umblog.txt");
    EXPECT_FALSE(FileIsPlainFile(path));
    CreateTextFile(path);
    EXPECT_TRUE(FileIsPlainFile(path));
    EXPECT_EQ(ReadAll(path), "");
    AppendToFile(path, "19.53   12/8/26   8:03:07 PM");
    AppendToFile(path, "16.05");
    AppendToFile(path, "");
    EXPECT_EQ(ReadAll(path), "19.53   12/8/26   8:03:07 PM\r\n16.05\r\n\r\n");

    CreateTextFile(path);
    EXPECT_EQ(ReadAll(path), "") << "creating replaces the old content";
}

TEST_F(TextFiles, FailuresCarryTheirCodes)
{
    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(PathOf("missing.txt"), "1"); }, &message), 2);
    EXPECT_EQ(message, "File not found");
    EXPECT_FALSE(FileIsPlainFile(PathOf("missing.txt"))) << "a failed append creates nothing";

    // A folder missing on the path is a bad name, for both operations.
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(PathOf("no-folder/log.txt"), "1"); }, &message), 3);
    EXPECT_EQ(message, "Invalid filename");
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(PathOf("no-folder/log.txt")); }), 3);
    CreateTextFile(PathOf("plain"));
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(PathOf("plain/log.txt")); }), 3) << "a file where a folder should be";

    // A folder of the log's name is no file, and cannot be written.
    ASSERT_TRUE(std::filesystem::create_directory(PathOf("folder")));
    EXPECT_FALSE(FileIsPlainFile(PathOf("folder")));
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(PathOf("folder")); }, &message), 5);
    EXPECT_EQ(message, "File access denied");
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(PathOf("folder"), "1"); }), 5);
}

TEST_F(TextFiles, UnusableNamesAreRefusedBeforeAnythingIsOpened)
{
    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(""); }, &message), 3);
    EXPECT_EQ(message, "Invalid filename");
    const std::string withZero = PathOf("log") + std::string(1, '\0') + ".txt";
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(withZero); }), 3);
    EXPECT_FALSE(FileIsPlainFile(PathOf("log"))) << "the name was not cut at the zero";
    EXPECT_FALSE(FileIsPlainFile(""));

    const std::string overlong = PathOf(std::string(kMaxPathLength, 'a'));
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(overlong, "1"); }, &message), 3);
    EXPECT_EQ(message, "Invalid filename: the path is longer than 259 characters");
}

}  // namespace
