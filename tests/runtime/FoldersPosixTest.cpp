// The folders offered for the program's files, as Linux finds them.
#include "runtime/Folders.h"

#include "ScopedEnv.h"

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(Folders, DocumentsFolderWhereItExistsElseHome)
{
    QTemporaryDir home;
    const ScopedEnv homeEnv("HOME", home.path().toUtf8());
    const ScopedEnv configEnv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    EXPECT_EQ(UserDocumentsFolder(), home.path().toStdString() + "/") << "no documents folder yet";
    ASSERT_TRUE(QDir(home.path()).mkdir("Documents"));
    EXPECT_EQ(UserDocumentsFolder(), home.path().toStdString() + "/Documents/");
}

TEST(Folders, WithoutWriteRightsOrOnAReadOnlyFileSystemAFolderIsNotWritable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(FolderIsWritable(dir.path().toStdString()));
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0555), 0);
        EXPECT_FALSE(FolderIsWritable(dir.path().toStdString()));
        ::chmod(dir.path().toLocal8Bit().constData(), 0700);
        return;
    }
    // Root may write into any folder; only a read-only file system stops it.
    const std::string path = dir.path().toStdString();
    if (::mount("tmpfs", path.c_str(), "tmpfs", MS_RDONLY, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a read-only file system here: " << std::strerror(errno);
    EXPECT_FALSE(FolderIsWritable(path));
    ::umount2(path.c_str(), MNT_DETACH);
}

}  // namespace
