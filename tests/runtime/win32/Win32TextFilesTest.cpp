// The reading log's file operations where only Windows makes the failure:
// its error codes, sharing modes, the read-only attribute, names in any
// language and the ANSI code page.
#include "../TextFilesFixture.h"

#include "SystemSide.h"

namespace {

TEST(Win32InOutError, SystemErrorsAreTheCodesOrTheirMessagesCodes)
{
    const std::pair<DWORD, int> table[] = {
        {ERROR_FILE_NOT_FOUND, 2},        {ERROR_PATH_NOT_FOUND, 3},   {ERROR_TOO_MANY_OPEN_FILES, 4},
        {ERROR_ACCESS_DENIED, 5},         {ERROR_SHARING_VIOLATION, 32}, {ERROR_LOCK_VIOLATION, 33},
        {ERROR_INVALID_NAME, 3},          {ERROR_BAD_PATHNAME, 3},     {ERROR_FILENAME_EXCED_RANGE, 3},
        {ERROR_DIRECTORY, 3},             {ERROR_WRITE_PROTECT, 5},    {ERROR_DISK_FULL, 101},
        {ERROR_HANDLE_DISK_FULL, 101},    {ERROR_NOT_READY, 21},       {ERROR_NETNAME_DELETED, 64},
    };
    for (const auto& [error, code] : table)
        EXPECT_EQ(InOutErrorCodeFromSystemError(static_cast<int>(error), TFileStep::fsWrite, "C:\\x"), code) << error;
}

// Another program holding a handle that may write: the log's open asks to be
// the only writer, so it is refused with the sharing violation.
HANDLE OpenElsewhere(const std::string& path, DWORD access, DWORD share)
{
    return ::CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(TextFiles, AnotherWriterHoldingTheFileIsError32)
{
    const std::string path = PathOf("held.txt");
    CreateTextFile(path);
    const HANDLE holder = OpenElsewhere(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(path, "19.53"); }, &message), 32);
    EXPECT_EQ(message, "I/O error 32");
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(path); }), 32);
    ::CloseHandle(holder);

    AppendToFile(path, "19.53");
    AppendToFile(path, "19.54");
    EXPECT_EQ(ReadAll(path), "19.53\r\n19.54\r\n") << "the file is let go after every line";
}

TEST_F(TextFiles, ReadersThatLetOthersWriteMayKeepTheFileOpen)
{
    const std::string path = PathOf("read.txt");
    CreateTextFile(path);
    const HANDLE reader = OpenElsewhere(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    AppendToFile(path, "19.53");
    char text[16] = {};
    DWORD read = 0;
    EXPECT_TRUE(::ReadFile(reader, text, sizeof text, &read, nullptr));
    EXPECT_EQ(std::string(text, read), "19.53\r\n") << "the reader sees the line";
    ::CloseHandle(reader);

    // A reader that keeps writers out keeps the log out too.
    const HANDLE exclusive = OpenElsewhere(path, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(path, "19.54"); }), 32);
    ::CloseHandle(exclusive);
    EXPECT_EQ(ReadAll(path), "19.53\r\n");
}

TEST_F(TextFiles, ReadOnlyFileIsAccessDenied)
{
    const std::string path = PathOf("readonly.txt");
    CreateTextFile(path);
    AppendToFile(path, "15.00");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    if (const HANDLE writer = OpenElsewhere(path, GENERIC_WRITE, 0); writer != INVALID_HANDLE_VALUE) {
        ::CloseHandle(writer);
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        GTEST_SKIP() << "the system itself lets this user write a read-only file (Wine keeps the attribute as "
                        "the Unix write bits, which the superuser writes through)";
    }
    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(path, "1"); }, &message), 5);
    EXPECT_EQ(message, "File access denied");
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(path); }), 5);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadAll(path), "15.00\r\n") << "the content stays as it was";
}

TEST_F(TextFiles, FullDeviceIsDiskFull)
{
    // Wine opens the host's /dev/full as a character device whose writes
    // fail with ERROR_DISK_FULL; Windows has no such device.
    const std::string full = "Z:\\dev\\full";
    const HANDLE probe = RunningUnderWine() ? OpenElsewhere(full, GENERIC_WRITE, FILE_SHARE_READ) : INVALID_HANDLE_VALUE;
    if (probe == INVALID_HANDLE_VALUE)
        GTEST_SKIP() << "needs Wine's view of the host's /dev/full";
    ::CloseHandle(probe);
    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(full, "19.53"); }, &message), 101);
    EXPECT_EQ(message, "Disk full");
}

// The limit counts what the system counts, UTF-16 units: "©" is two bytes
// of UTF-8 and one character.
TEST_F(TextFiles, ThePathLimitCountsCharacters)
{
    const std::string folder = PathOf("");
    ASSERT_LT(folder.size() + 30, kMaxPathLength);
    std::string marks;
    for (int i = 0; i < 30; ++i)
        marks += "\u00a9";
    const std::string atLimit = folder + marks + std::string(kMaxPathLength - folder.size() - 30, 'a');
    CreateTextFile(atLimit);
    EXPECT_TRUE(FileIsPlainFile(atLimit));
    AppendToFile(atLimit, "19.53");
    EXPECT_EQ(ReadAll(atLimit), "19.53\r\n");

    std::string message;
    const std::string overLimit = atLimit + "a";
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(overLimit); }, &message), 3);
    EXPECT_EQ(message, "Invalid filename: the path is longer than 259 characters");
    EXPECT_FALSE(FileIsPlainFile(overLimit));
}

// Folders and files named in any language, also in letters the ANSI code
// page lacks; the lines themselves are text of that code page.
TEST_F(TextFiles, AnyNameIsWrittenAndTheLineIsAnsiText)
{
    const std::string folder = PathOf("") + "J\u00fcrgen \u0141ukasz \u5c71\u7530";
    ASSERT_TRUE(std::filesystem::create_directory(std::filesystem::path(std::u8string(folder.begin(), folder.end()))));
    const std::string path = folder + "\\Messung M\u00e4rz.txt";
    EXPECT_FALSE(FileIsPlainFile(path));
    CreateTextFile(path);
    ASSERT_TRUE(FileIsPlainFile(path));
    AppendToFile(path, "19.53   9.12.2026");
    AppendToFile(path, "19.54   M\u00e4rz \u0141");
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the line's bytes are checked for code page 1252; this system has " << ::GetACP();
    EXPECT_EQ(ReadAll(path), "19.53   9.12.2026\r\n19.54   M\xe4rz ?\r\n")
        << "\"\u00e4\" in its code-page byte, \"\u0141\" as the default character";
}

TEST_F(TextFiles, OnlyNotFoundCountsAsMissingWhenTheCheckFails)
{
    ExpectOnlyMissingMeansMissing(PathOf("umblog.txt"), {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND},
                                  ERROR_NETNAME_DELETED);
}

}  // namespace
