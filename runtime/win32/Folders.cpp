#include "runtime/Folders.h"

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

bool IsFolder(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string WithTrailingSeparator(std::string folder)
{
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/'))
        folder += '\\';
    return folder;
}

// The shell folder `csidl` where it is named and exists, empty otherwise.
std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || !IsFolder(path))
        return {};
    return path;
}

}  // namespace

std::string ProgramFolder()
{
    // The module's path may be longer than MAX_PATH; grow until it fits
    // (a cut-off result fills the buffer exactly).
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            const std::string file(path.data(), length);
            return file.substr(0, file.find_last_of('\\') + 1);
        }
        path.resize(path.size() * 2);
    }
}

std::string UserDocumentsFolder()
{
    // The documents folder can be redirected to where it no longer is (a
    // network share gone, a drive removed); the profile is then the user's
    // own place, and the program's folder the last one left.
    for (const int csidl : {CSIDL_PERSONAL, CSIDL_PROFILE})
        if (const std::string folder = ShellFolder(csidl); !folder.empty())
            return WithTrailingSeparator(folder);
    return ProgramFolder();
}

bool FolderIsWritable(const std::string& folder)
{
    if (folder.empty() || !IsFolder(folder))
        return false;
    // Whether the folder's ACL lets this user create files cannot be read
    // from its attributes (the read-only one means nothing on a folder), so
    // ask the file system by creating a file, which goes again as the
    // handle closes.
    static unsigned attempt = 0;
    for (int tries = 0; tries < 8; ++tries) {
        const std::string probe = WithTrailingSeparator(folder) + "~umbrascope-" +
                                  std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++attempt) + ".tmp";
        const HANDLE file = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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
