// The reading log's file operations where Linux alone can make the failure
// happen: errno values, permissions, full devices and file systems, long
// existing paths, and the advisory lock of another writer.
#include "TextFilesFixture.h"

#include <cerrno>
#include <fcntl.h>
#include <csignal>
#include <cstring>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(InOutError, SystemErrorsMapOntoTheClassicCodes)
{
    const std::pair<int, int> table[] = {
        {ENOTDIR, 3}, {ENAMETOOLONG, 3}, {EACCES, 5}, {EPERM, 5},     {EISDIR, 5},    {EROFS, 5},
        {EMFILE, 4},  {ENFILE, 4},       {ENOSPC, 101}, {EDQUOT, 101}, {EBUSY, 32},   {ETXTBSY, 32},
        {EWOULDBLOCK, 32}, {EIO, kErrnoCodeBase + EIO},
    };
    for (const auto& [error, code] : table)
        EXPECT_EQ(InOutErrorCodeFromSystemError(error, TFileStep::fsWrite, "/tmp/x"), code) << error;
    EXPECT_EQ(InOutErrorCodeFromSystemError(ENOENT, TFileStep::fsOpen, "/tmp/no-such-file"), 2);
    EXPECT_EQ(InOutErrorCodeFromSystemError(ENOENT, TFileStep::fsOpen, "/no-such-folder/file"), 3);
}

// The superuser writes through permissions, so the check then runs in a
// child process that has given them up; the code comes back as exit status.
template <class F>
int IoErrorCodeAsUnprivileged(F operation)
{
    if (::geteuid() != 0)
        return IoErrorCodeOf(operation);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(254);
        ::_exit(IoErrorCodeOf(operation) & 0xFF);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

TEST_F(TextFiles, OnlyNotFoundCountsAsMissingWhenTheCheckFails)
{
    ExpectOnlyMissingMeansMissing(PathOf("umblog.txt"), {ENOENT, ENOTDIR}, EIO);
}

TEST_F(TextFiles, ReadOnlyFileIsAccessDenied)
{
    const std::string path = PathOf("readonly.txt");
    CreateTextFile(path);
    AppendToFile(path, "15.00");
    ASSERT_EQ(::chmod(FDir.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(IoErrorCodeAsUnprivileged([&] { AppendToFile(path, "1"); }), 5);
    EXPECT_EQ(IoErrorCodeAsUnprivileged([&] { CreateTextFile(path); }), 5);
    EXPECT_EQ(ReadAll(path), "15.00\r\n") << "the content stays as it was";
}

TEST_F(TextFiles, FullDeviceIsDiskFull)
{
    if (!FileIsPlainFile("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile("/dev/full", "19.53"); }, &message), 101);
    EXPECT_EQ(message, "Disk full");
}

// A write that stores only part of the line (here the file size limit cuts
// it after ten bytes) takes the part back: the file is as it was, and the
// next line starts on a line of its own.
TEST_F(TextFiles, ALineCutShortLeavesTheFileAsItWas)
{
    const std::string path = PathOf("umblog.txt");
    CreateTextFile(path);
    AppendToFile(path, "19.50   2026-12-09   03:29:29");
    const std::string before = ReadAll(path);

    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < before.size() + 10)
        GTEST_SKIP() << "the file size limit is already below what the test needs";
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = before.size() + 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::string message;
    const int code = IoErrorCodeOf([&] { AppendToFile(path, "19.53   2026-12-09   03:29:30"); }, &message);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(code, kDiskFull);
    EXPECT_EQ(message, "Disk full");
    EXPECT_EQ(ReadAll(path), before) << "no fragment of the line stays";
    AppendToFile(path, "19.54   2026-12-09   03:29:31");
    EXPECT_EQ(ReadAll(path), before + "19.54   2026-12-09   03:29:31\r\n");
}

// A small file system of its own, unmounted again at the end.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const std::string& folder) : FFolder(folder)
    {
        FMounted = ::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0700") == 0;
        FError = errno;
    }
    ~SmallFileSystem()
    {
        if (FMounted)
            ::umount2(FFolder.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return FMounted; }
    int Error() const { return FError; }

private:
    std::string FFolder;
    bool FMounted = false;
    int FError = 0;
};

// Fills the file system that holds `path` until nothing more fits.
void FillUp(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    EXPECT_EQ(errno, ENOSPC);
    ::close(fd);
}

TEST_F(TextFiles, OnAFullFileSystemALineIsWrittenWholeOrNotAtAll)
{
    SmallFileSystem disk(FDir.Path());
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here (" << std::strerror(disk.Error())
                     << "; it needs root or CAP_SYS_ADMIN)";
    // The log ends ten bytes before the end of its last page, so the next
    // line fits only in part once the rest of the disk is taken.
    const std::string path = PathOf("umblog.txt");
    CreateTextFile(path);
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(4086 - 7, '.') << "19.53\r\n";
    }
    const std::string before = ReadAll(path);
    ASSERT_EQ(before.size(), 4086u);
    FillUp(PathOf("filler"));

    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(path, "19.53   2026-12-09   03:29:30"); }, &message), kDiskFull);
    EXPECT_EQ(message, "Disk full");
    EXPECT_EQ(ReadAll(path), before);

    ASSERT_EQ(::unlink(PathOf("filler").c_str()), 0);
    AppendToFile(path, "19.54   2026-12-09   03:29:31");
    EXPECT_EQ(ReadAll(path), before + "19.54   2026-12-09   03:29:31\r\n");
}

TEST_F(TextFiles, OverlongPathIsRefusedAndNothingIsWritten)
{
    // Build a real, existing folder chain so that only the length can fail.
    std::string folder = FDir.Path();
    while (folder.size() < 300) {
        folder += "/dddddddddddddddddddddddddddddddddddddddd";
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    }
    const std::string longPath = folder + "/umblog.txt";
    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(longPath); }, &message), 3);
    EXPECT_EQ(message, "Invalid filename: the path is longer than 259 characters");
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(longPath, "1"); }), 3);
    EXPECT_FALSE(FileIsPlainFile(longPath));
    struct stat info {};
    EXPECT_NE(::stat(longPath.c_str(), &info), 0) << "nothing was created";

    // Exactly at the limit is still fine; the limit counts characters.
    std::string atLimit = FDir.Path() + "/";
    atLimit += std::string(kMaxPathLength - atLimit.size(), 'a');
    ASSERT_EQ(atLimit.size(), kMaxPathLength);
    std::string eAcute;  // two bytes, one character
    for (int i = 0; i < 100; ++i)
        eAcute += "\xC3\xA9";
    const std::string multiByteFolder = FDir.Path() + "/" + eAcute;
    ASSERT_EQ(::mkdir(multiByteFolder.c_str(), 0755), 0);
    const std::string multiByte = multiByteFolder + "/" + eAcute.substr(0, 120);
    ASSERT_GT(multiByte.size(), kMaxPathLength);
    if (atLimit.size() - FDir.Path().size() - 1 <= 255) {  // the file system's own name limit
        CreateTextFile(atLimit);
        EXPECT_TRUE(FileIsPlainFile(atLimit));
    }
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(multiByte); }), -1) << "under 259 characters though over 259 bytes";
    EXPECT_TRUE(FileIsPlainFile(multiByte));
}

TEST_F(TextFiles, AnotherWriterHoldingTheFileIsError32)
{
    const std::string path = PathOf("held.txt");
    CreateTextFile(path);
    const int holder = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    std::string message;
    EXPECT_EQ(IoErrorCodeOf([&] { AppendToFile(path, "19.53"); }, &message), 32);
    EXPECT_EQ(message, "I/O error 32");
    EXPECT_EQ(IoErrorCodeOf([&] { CreateTextFile(path); }), 32);
    ::close(holder);

    AppendToFile(path, "19.53");
    AppendToFile(path, "19.54");
    EXPECT_EQ(ReadAll(path), "19.53\r\n19.54\r\n") << "the lock is released after every line";
}

}  // namespace
