#include "runtime/TextFiles.h"

#include "runtime/TextFilesSystem.h"

#include "runtime/win32/WideText.h"

#include <windows.h>

#include <utility>

namespace {

[[noreturn]] void RaiseLastError(TFileStep step, const std::string& path)
{
    throw EInOutError(InOutErrorCodeFromSystemError(static_cast<int>(::GetLastError()), step, path));
}

// Owns the handle so that every path out of an operation closes it; the
// regular exit calls Close() to see its failure, the others ignore it.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : FHandle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, INVALID_HANDLE_VALUE)) {}
    FileHandle& operator=(FileHandle&&) = delete;
    ~FileHandle()
    {
        if (FHandle != INVALID_HANDLE_VALUE)
            ::CloseHandle(FHandle);
    }

    HANDLE Handle() const { return FHandle; }

    // Closes and returns GetLastError of a failed close, 0 on success. The
    // handle is gone either way.
    DWORD Close()
    {
        const BOOL closed = ::CloseHandle(std::exchange(FHandle, INVALID_HANDLE_VALUE));
        return closed ? 0 : ::GetLastError();
    }

private:
    HANDLE FHandle;
};

// Others may go on reading the file while it is written, but not write it:
// a second writer is refused with a sharing violation (32) at once.
FileHandle OpenForWriting(const std::string& path, DWORD disposition)
{
    const HANDLE handle = ::CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        RaiseLastError(TFileStep::fsOpen, path);
    return FileHandle(handle);
}

void CloseOrRaise(FileHandle& file, const std::string& path)
{
    if (const DWORD error = file.Close(); error != 0)
        throw EInOutError(InOutErrorCodeFromSystemError(static_cast<int>(error), TFileStep::fsClose, path));
}

// Cuts a disk file back to `size`, so that a line written only in part
// leaves no fragment for the next line to glue itself to.
void TakeBack(HANDLE file, LARGE_INTEGER size)
{
    if (::SetFilePointerEx(file, size, nullptr, FILE_BEGIN))
        (void)::SetEndOfFile(file);
}

}  // namespace

// The limit counts what the system counts: the path's UTF-16 units.
std::size_t PathCharacterCount(const std::string& path)
{
    return WideFromUtf8(path).size();
}

int InOutErrorCodeFromSystemError(int error, TFileStep, const std::string&)
{
    switch (error) {
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return kInvalidFilename;
    case ERROR_WRITE_PROTECT:
        return kFileAccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return kDiskFull;
    default:
        // File not found (2), path not found (3), too many open files (4),
        // access denied (5) and the sharing violation (32) are the system's
        // own codes already.
        return error;
    }
}

int QueryPath(const std::string& path, bool& isFolder)
{
    const DWORD attributes = ::GetFileAttributesW(WideFromUtf8(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return static_cast<int>(::GetLastError());
    isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return 0;
}

bool ErrorMeansMissing(int error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void CreateTextFile(const std::string& path)
{
    CheckPathUsable(path);
    FileHandle file = OpenForWriting(path, CREATE_ALWAYS);
    CloseOrRaise(file, path);
}

void AppendToFile(const std::string& path, const std::string& line)
{
    CheckPathUsable(path);
    FileHandle file = OpenForWriting(path, OPEN_EXISTING);
    // No one else writes while the handle is open, so the end found here is
    // where the line goes and where a failed line is cut back to. Devices
    // (NUL, a console) have no end and no size to go back to.
    const bool onDisk = ::GetFileType(file.Handle()) == FILE_TYPE_DISK;
    LARGE_INTEGER end {};
    if (onDisk && !::SetFilePointerEx(file.Handle(), LARGE_INTEGER {}, &end, FILE_END))
        RaiseLastError(TFileStep::fsWrite, path);
    // The log's text is in the ANSI code page, as other programs of the
    // system read plain text files.
    const std::string record = AnsiFromUtf8(line) + "\r\n";
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file.Handle(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    if (!ok || written != record.size()) {
        const DWORD error = ok ? 0 : ::GetLastError();
        if (onDisk)
            TakeBack(file.Handle(), end);
        if (error != 0)
            throw EInOutError(InOutErrorCodeFromSystemError(static_cast<int>(error), TFileStep::fsWrite, path));
        throw EInOutError(kDiskFull);
    }
    CloseOrRaise(file, path);
}
