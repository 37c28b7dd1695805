#include "runtime/TextFiles.h"

#include "runtime/TextFilesSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>

namespace {

bool ParentFolderExists(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return true;  // relative to the working folder, which exists
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    struct stat info {};
    return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

[[noreturn]] void RaiseFromErrno(int error, TFileStep step, const std::string& path)
{
    throw EInOutError(InOutErrorCodeFromSystemError(error, step, path));
}

// Owns the descriptor so that every path out of an operation closes it; the
// regular exit calls Close() to see its failure, the others ignore it.
class FileHandle {
public:
    explicit FileHandle(int fd) : FFd(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : FFd(std::exchange(other.FFd, -1)) {}
    FileHandle& operator=(FileHandle&&) = delete;
    ~FileHandle()
    {
        if (FFd >= 0)
            ::close(FFd);
    }

    int Fd() const { return FFd; }

    // Closes and returns errno of a failed close, 0 on success. The
    // descriptor is gone either way: retrying close on Linux is unsafe.
    int Close()
    {
        const int result = ::close(FFd);
        FFd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int FFd;
};

// O_NONBLOCK keeps a FIFO without a reader from hanging the window in
// open(); it is cleared again so that writes behave as on a plain file.
FileHandle OpenForWriting(const std::string& path, int extraFlags)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | extraFlags, 0666);
    if (fd < 0)
        RaiseFromErrno(errno, TFileStep::fsOpen, path);
    FileHandle file(fd);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0)
        RaiseFromErrno(errno, TFileStep::fsOpen, path);
    // Writers of this program exclude one another; readers are not affected
    // because the lock is advisory. LOCK_NB: a held file is an error at
    // once rather than a window frozen until the other writer lets go.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        RaiseFromErrno(errno, TFileStep::fsOpen, path);
    return file;
}

void CloseOrRaise(FileHandle& file, const std::string& path)
{
    if (const int error = file.Close(); error != 0)
        RaiseFromErrno(error, TFileStep::fsClose, path);
}

}  // namespace

// Characters, not bytes: a UTF-8 path counts each code point once.
std::size_t PathCharacterCount(const std::string& path)
{
    std::size_t count = 0;
    for (const char c : path)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

int InOutErrorCodeFromSystemError(int error, TFileStep step, const std::string& path)
{
    switch (error) {
    case ENOENT:
        // Only opening looks for the file; a vanished folder on the path is
        // a bad name, not a missing file.
        if (step == TFileStep::fsOpen && !ParentFolderExists(path))
            return kInvalidFilename;
        return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return kInvalidFilename;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return kFileAccessDenied;
    case EMFILE:
    case ENFILE:
        return kTooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
        return kDiskFull;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
        return kSharingViolation;
    default:
        return kErrnoCodeBase + error;
    }
}

int QueryPath(const std::string& path, bool& isFolder)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno;
    isFolder = S_ISDIR(info.st_mode);
    return 0;
}

bool ErrorMeansMissing(int error)
{
    // ENOTDIR: a part of the path that should be a folder is a file, so
    // nothing can be there either.
    return error == ENOENT || error == ENOTDIR;
}

void CreateTextFile(const std::string& path)
{
    CheckPathUsable(path);
    // Truncate only after taking the lock (not with O_TRUNC), so that a file
    // another writer of ours is appending to is not emptied under it.
    FileHandle file = OpenForWriting(path, O_CREAT);
    struct stat info {};
    if (::fstat(file.Fd(), &info) != 0)
        RaiseFromErrno(errno, TFileStep::fsOpen, path);
    if (S_ISREG(info.st_mode) && ::ftruncate(file.Fd(), 0) != 0)
        RaiseFromErrno(errno, TFileStep::fsOpen, path);
    CloseOrRaise(file, path);
}

void AppendToFile(const std::string& path, const std::string& line)
{
    CheckPathUsable(path);
    FileHandle file = OpenForWriting(path, O_APPEND);
    // Where the line starts, so that a line that does not fit can be taken
    // back: a fragment would otherwise glue the next line to itself.
    struct stat before {};
    if (::fstat(file.Fd(), &before) != 0)
        RaiseFromErrno(errno, TFileStep::fsWrite, path);
    const std::string record = line + "\r\n";
    // One write call: with O_APPEND the line lands whole at the end and
    // never interleaves with another process appending at the same time.
    ssize_t written;
    do
        written = ::write(file.Fd(), record.data(), record.size());
    while (written < 0 && errno == EINTR);
    if (written < 0 || static_cast<std::size_t>(written) != record.size()) {
        const int error = written < 0 ? errno : 0;
        if (S_ISREG(before.st_mode))
            (void)::ftruncate(file.Fd(), before.st_size);
        if (error != 0)
            RaiseFromErrno(error, TFileStep::fsWrite, path);
        throw EInOutError(kDiskFull);
    }
    CloseOrRaise(file, path);
}
