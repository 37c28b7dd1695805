// The folders offered for the program's files, the same on every system.
#include "runtime/Folders.h"

#include "TemporaryFolder.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace {

const char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

TEST(Folders, ProgramFolderEndsWithASeparator)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), kSeparator);
    EXPECT_TRUE(std::filesystem::path(folder).is_absolute()) << folder;
    EXPECT_TRUE(FolderIsWritable(folder)) << "the tests run from the build folder";
}

TEST(Folders, DocumentsFolderExistsAndEndsWithASeparator)
{
    const std::string folder = UserDocumentsFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), kSeparator);
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
}

TEST(Folders, WritableMeansAFileCouldBeCreated)
{
    TemporaryFolder dir;
    ASSERT_TRUE(dir.Ok());
    EXPECT_TRUE(FolderIsWritable(dir.Path()));
    EXPECT_TRUE(FolderIsWritable(dir.Path() + kSeparator)) << "with its separator too";
    EXPECT_FALSE(FolderIsWritable(dir.PathOf("missing")));
    EXPECT_FALSE(FolderIsWritable(""));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "asking leaves nothing behind";
}

}  // namespace
