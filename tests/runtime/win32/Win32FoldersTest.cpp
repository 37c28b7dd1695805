// The folders offered for the program's files, as Windows names them.
#include "runtime/Folders.h"

#include "TemporaryFolder.h"
#include "SystemSide.h"

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

namespace {

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

bool IsFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

TEST(Win32Folders, ProgramFolderHoldsThisProgram)
{
    const std::string folder = ProgramFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
    EXPECT_TRUE(IsFile(folder + "runtime_tests.exe")) << folder;
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
