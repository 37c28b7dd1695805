#include "PtyPort.h"

#include "platform/VirtualPorts.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace metersim {

namespace {

[[noreturn]] void Fail(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

std::string ErrorText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// Like mkdir -p, with every folder it makes private to the user.
std::string MakeFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        struct stat info {};
        if (!part.empty() && stat(part.c_str(), &info) != 0 && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return ErrorText("cannot make the folder " + part);
        if (slash == std::string::npos)
            return {};
    }
}

std::string ReadLink(const std::string& path)
{
    char target[4096];
    const ssize_t n = readlink(path.c_str(), target, sizeof target);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

PtyPort::PtyPort()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        Fail("posix_openpt");
    if (fcntl(master_, F_SETFD, FD_CLOEXEC) != 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        Fail("preparing the pseudo-terminal");
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
        Fail("making the pseudo-terminal non-blocking");
    const char* name = ptsname(master_);
    if (name == nullptr)
        Fail("ptsname");
    slavePath_ = name;
    // We hold the slave open for as long as we live and never read it. When
    // the last slave descriptor closes, the master reports a hang-up (POLLHUP,
    // reads fail with EIO) until someone opens the slave again; with no
    // monitor attached poll() would then return at once forever. Holding it
    // keeps the port quiet between the monitor's closing and reopening it,
    // however often it does that.
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0)
        Fail("opening the slave side");
    // Raw, above all without echo: an echoing slave would send every reply
    // straight back to us as if the monitor had typed it.
    termios mode {};
    if (tcgetattr(slave_, &mode) != 0)
        Fail("tcgetattr");
    cfmakeraw(&mode);
    if (tcsetattr(slave_, TCSANOW, &mode) != 0)
        Fail("tcsetattr");
}

void PtyPort::Close()
{
    if (master_ >= 0)
        close(master_);
    if (slave_ >= 0)
        close(slave_);
    master_ = slave_ = -1;
}

std::string DefaultLinkPath()
{
    return platform::VirtualPortFolder() + "/sim";
}

std::string PortLink::Publish(const std::string& path, const std::string& target)
{
    Remove();
    const auto slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (std::string problem = MakeFolders(path.substr(0, slash)); !problem.empty())
            return problem;
    }
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && !S_ISLNK(info.st_mode))
        return path + " exists and is not a symbolic link; leaving it alone";
    // Made aside and renamed over the old link, so the name never dangles
    // or goes missing for a monitor that scans the folder meanwhile.
    const std::string aside = path + ".new-" + std::to_string(getpid());
    unlink(aside.c_str());
    if (symlink(target.c_str(), aside.c_str()) != 0)
        return ErrorText("cannot make the link " + path);
    if (rename(aside.c_str(), path.c_str()) != 0) {
        std::string problem = ErrorText("cannot make the link " + path);
        unlink(aside.c_str());
        return problem;
    }
    path_ = path;
    target_ = target;
    return {};
}

void PortLink::Remove()
{
    if (!path_.empty() && ReadLink(path_) == target_)
        unlink(path_.c_str());
    path_.clear();
}

}  // namespace metersim
