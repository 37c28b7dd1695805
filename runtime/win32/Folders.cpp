#include "runtime/Folders.h"

#include "runtime/win32/WideText.h"

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace {

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring WithTrailingSeparator(std::wstring folder)
{
    if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/'))
        folder += L'\\';
    return folder;
}

// The shell folder `csidl` where it is named and exists, empty otherwise.
std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || !IsFolder(path))
        return {};
    return path;
}

// `path` with its short (8.3) parts spelt out, as the module's path has
// them; `path` itself where the system cannot say.
std::wstring LongPath(const std::wstring& path)
{
    const DWORD size = ::GetLongPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return path;
    std::wstring result(size, L'\0');
    const DWORD length = ::GetLongPathNameW(path.c_str(), result.data(), size);
    if (length == 0 || length >= size)
        return path;
    result.resize(length);
    return result;
}

// Whether `folder` is `parent` or inside it, compared as the file system
// compares names (without regard to case).
bool IsInside(const std::wstring& folder, const std::wstring& parent)
{
    const std::wstring inner = WithTrailingSeparator(folder);
    const std::wstring outer = WithTrailingSeparator(parent);
    return inner.size() >= outer.size() &&
           ::CompareStringOrdinal(inner.c_str(), static_cast<int>(outer.size()), outer.c_str(),
                                  static_cast<int>(outer.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string ProgramFolder()
{
    const std::string file = ProgramFilePath();
    return file.empty() ? std::string() : file.substr(0, file.find_last_of('\\') + 1);
}

std::string UserDocumentsFolder()
{
    // The documents folder can be redirected to where it no longer is (a
    // network share gone, a drive removed); the profile is then the user's
    // own place, and the program's folder the last one left.
    for (const int csidl : {CSIDL_PERSONAL, CSIDL_PROFILE})
        if (const std::wstring folder = ShellFolder(csidl); !folder.empty())
            return Utf8FromWide(WithTrailingSeparator(folder));
    return ProgramFolder();
}

bool FolderIsWritable(const std::string& folder)
{
    const std::wstring path = WideFromUtf8(folder);
    if (path.empty() || !IsFolder(path))
        return false;
    // Whether the folder's ACL lets this user create files cannot be read
    // from its attributes (the read-only one means nothing on a folder), so
    // ask the file system by creating a file, which goes again as the
    // handle closes.
    static unsigned attempt = 0;
    for (int tries = 0; tries < 8; ++tries) {
        const std::wstring probe = WithTrailingSeparator(path) + L"~umbrascope-" +
                                   std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++attempt) +
                                   L".tmp";
        const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                          nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}

bool FolderKeepsFiles(const std::string& folder)
{
    // A program started from inside a zip that the shell opened runs from a
    // copy in the temporary folder, which is cleared behind the user's
    // back: a log there would be lost.
    wchar_t temporary[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
    if (length > 0 && length <= MAX_PATH && IsInside(LongPath(WideFromUtf8(folder)), LongPath(temporary)))
        return false;
    return FolderIsWritable(folder);
}
