// The folders offered for the program's files, as Windows names them.
#include "runtime/Folders.h"

#include "TemporaryFolder.h"
#include "SystemSide.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace {

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const kReportVariable = "UMBRASCOPE_TEST_REPORT_PROGRAM_FOLDER";
// A name the ANSI code page of a western system holds, and two it cannot.
const char kAnyName[] = "J\u00fcrgen \u0141ukasz \u5c71\u7530";

std::filesystem::path FromUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Started again from another folder by the test below, this program writes
// the folder it finds itself in to the file named in its environment.
const bool kReported = [] {
    if (const char* report = std::getenv(kReportVariable)) {
        std::ofstream(report, std::ios::binary) << ProgramFolder();
        std::exit(0);
    }
    return false;
}();

bool IsFile(const std::string& path)
{
    return std::filesystem::is_regular_file(FromUtf8(path));
}

TEST(Win32Folders, ProgramFolderHoldsThisProgram)
{
    const std::string folder = ProgramFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
    EXPECT_TRUE(IsFile(folder + "runtime_tests.exe")) << folder;
}

TEST(Win32Folders, ProgramFolderKeepsAnyName)
{
    const std::filesystem::path folder = FromUtf8(ProgramFolder() + kAnyName);
    std::error_code error;
    std::filesystem::create_directory(folder, error);
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << error.message();
    const std::filesystem::path copy = folder / "runtime_tests.exe";
    ASSERT_TRUE(std::filesystem::copy_file(FromUtf8(ProgramFolder() + "runtime_tests.exe"), copy,
                                           std::filesystem::copy_options::overwrite_existing, error))
        << error.message();
    TemporaryFolder reports;
    ASSERT_TRUE(reports.Ok());
    const std::string report = reports.PathOf("folder.txt");
    EXPECT_EQ(RunProgramWith(copy.wstring(), kReportVariable, report), 0);
    std::ifstream in(report, std::ios::binary);
    const std::string reported((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(reported, ProgramFolder() + kAnyName + "\\");
    in.close();
    std::filesystem::remove_all(folder, error);
}

TEST(Win32Folders, DocumentsFolderFollowsTheUsersShellFolder)
{
    TemporaryFolder documents;
    ASSERT_TRUE(documents.Ok());
    {
        const ScopedUserRegistryText personal(kShellFolders, "Personal", documents.Path());
        ASSERT_TRUE(personal.Ok());
        EXPECT_EQ(UserDocumentsFolder(), documents.Path() + "\\");
    }
    EXPECT_NE(UserDocumentsFolder(), documents.Path() + "\\") << "back to the user's own";

    const std::string named = Utf8(FromUtf8(documents.Path()) / FromUtf8(kAnyName));
    ASSERT_TRUE(std::filesystem::create_directory(FromUtf8(named)));
    const ScopedUserRegistryText personal(kShellFolders, "Personal", named);
    ASSERT_TRUE(personal.Ok());
    EXPECT_EQ(UserDocumentsFolder(), named + "\\");
}

// The shell runs a program from inside a zip it opened out of a copy in
// the temporary folder, and clears that folder later.
TEST(Win32Folders, OnlyAWritableFolderOutsideTheTemporaryFolderKeepsFiles)
{
    EXPECT_TRUE(FolderKeepsFiles(ProgramFolder())) << "the build folder";
    TemporaryFolder temporary;
    ASSERT_TRUE(temporary.Ok());
    ASSERT_TRUE(FolderIsWritable(temporary.Path()));
    EXPECT_FALSE(FolderKeepsFiles(temporary.Path()));
    EXPECT_FALSE(FolderKeepsFiles(temporary.Path() + "\\"));
    const std::string inner = Utf8(FromUtf8(temporary.Path()) / FromUtf8(kAnyName));
    ASSERT_TRUE(std::filesystem::create_directory(FromUtf8(inner)));
    EXPECT_FALSE(FolderKeepsFiles(inner));
    EXPECT_FALSE(FolderKeepsFiles(ProgramFolder() + "missing\\"));
}

TEST(Win32Folders, AMissingDocumentsFolderFallsBackToTheProfile)
{
    const char* profile = std::getenv("USERPROFILE");
    ASSERT_NE(profile, nullptr);
    TemporaryFolder parent;
    ASSERT_TRUE(parent.Ok());
    const ScopedUserRegistryText personal(kShellFolders, "Personal", parent.PathOf("gone"));
    ASSERT_TRUE(personal.Ok());
    EXPECT_EQ(UserDocumentsFolder(), std::string(profile) + "\\");
}

TEST(Win32Folders, OnlyAFolderWhereFilesCanBeMadeIsWritable)
{
    TemporaryFolder dir;
    ASSERT_TRUE(dir.Ok());
    const std::string file = dir.PathOf("plain.txt");
    std::ofstream(file) << "x";
    EXPECT_FALSE(FolderIsWritable(file)) << "a file is no folder";
    // The read-only attribute of a folder does not keep files out of it.
    ASSERT_TRUE(::SetFileAttributesA(dir.Path().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(FolderIsWritable(dir.Path()));
    ::SetFileAttributesA(dir.Path().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Folders, AFolderThatRefusesNewFilesIsNotWritable)
{
    if (!RunningUnderWine())
        GTEST_SKIP() << "needs a folder whose ACL refuses this user; Wine's Z:\\proc refuses everyone";
    ASSERT_NE(::GetFileAttributesA("Z:\\proc"), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(FolderIsWritable("Z:\\proc"));
}

}  // namespace
