// The serial interface on POSIX systems, over termios.
//
// A handle stands for one open descriptor of a terminal device. Descriptors
// are non-blocking with VMIN 1, so that a read with nothing waiting fails with
// EAGAIN while a hung-up device reads 0: the two must never look alike, since
// a vanished adapter has to surface as a failure the driver can see.

#include "platform/CommApi.h"
#include "platform/VirtualPorts.h"
#include "platform/posix/CustomBaud.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <unordered_map>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/utsname.h>
#include <termios.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";
constexpr DWORD kMaxDword = 0xFFFFFFFF;

thread_local DWORD lastError = ERROR_SUCCESS;

// The one place where the system's error numbers become the layer's codes.
DWORD ErrorFromErrno(int error)
{
    switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT:
    case ENOTDIR:
    case ENXIO:
    case ENODEV:
    case ENAMETOOLONG:
    case ELOOP: return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EBUSY:
    case EWOULDBLOCK: return ERROR_SHARING_VIOLATION;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOTTY: return ERROR_INVALID_FUNCTION;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EIO:
    case EPIPE:
    case ENOSPC: return ERROR_GEN_FAILURE;
    default: return ERROR_GEN_FAILURE;
    }
}

BOOL Fail(DWORD error)
{
    lastError = error;
    return FALSE;
}

BOOL FailWithErrno()
{
    return Fail(ErrorFromErrno(errno));
}

BOOL Succeed()
{
    lastError = ERROR_SUCCESS;
    return TRUE;
}

// Milliseconds on a clock that never jumps, for time-outs and GetTickCount.
std::uint64_t MonotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

// "\\.\ttyUSB0" -> "/dev/ttyUSB0", "\\.\pts/3" -> "/dev/pts/3",
// "\\.\/tmp/port" -> "/tmp/port"; a name without the prefix is a path.
// A name that /dev lacks but the served-port folder has ("sim") is
// that port, so a simulator's port has a short name like any other.
std::string DevicePath(std::string_view name)
{
    if (!name.starts_with(kDevicePrefix))
        return std::string(name);
    name.remove_prefix(kDevicePrefix.size());
    if (name.empty() || name.front() == '/')
        return std::string(name);
    std::string device = "/dev/" + std::string(name);
    if (::access(device.c_str(), F_OK) == 0 || name.find('/') != std::string_view::npos)
        return device;
    std::string served = VirtualPortFolder() + "/" + std::string(name);
    return ::access(served.c_str(), F_OK) == 0 ? served : device;
}

struct StandardRate {
    DWORD rate;
    speed_t code;
};

constexpr StandardRate kStandardRates[] = {
    {50, B50},         {75, B75},         {110, B110},         {134, B134},         {150, B150},
    {200, B200},       {300, B300},       {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

const StandardRate* FindStandardRate(DWORD rate)
{
    for (const auto& entry : kStandardRates)
        if (entry.rate == rate)
            return &entry;
    return nullptr;
}

// A UART cannot make every rate exactly; within this tolerance the far end
// still reads the characters, beyond it the setting counts as refused.
bool RateIsClose(unsigned actual, DWORD wanted)
{
    const auto difference = actual > wanted ? actual - wanted : wanted - actual;
    return difference * 100u <= wanted * 3u;
}

void ApplyCharacterFormat(termios& tio, const DCB& dcb)
{
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= kSizes[dcb.ByteSize - 5] | CLOCAL | CREAD | HUPCL;
    switch (dcb.Parity) {
    case ODDPARITY: tio.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: tio.c_cflag |= PARENB; break;
    case MARKPARITY: tio.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: tio.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    // termios knows one or two stop bits. A 16550-style UART asked for two
    // stop bits on 5-bit characters sends 1.5, which is exactly where 1.5 is
    // defined; for longer characters two is the nearest it can do.
    if (dcb.StopBits != ONESTOPBIT)
        tio.c_cflag |= CSTOPB;
}

void ApplyFlowControl(termios& tio, const DCB& dcb)
{
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE)
        tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (dcb.fOutX)
        tio.c_iflag |= IXON;
    if (dcb.fInX)
        tio.c_iflag |= IXOFF;
    if (dcb.fParity)
        tio.c_iflag |= INPCK;
    tio.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
}

// Raises or drops one modem output line. A pseudo-terminal has no modem lines
// and answers ENOTTY (EINVAL on some drivers); that is no reason to refuse the
// settings, so those two count as done.
bool SetModemLine(int fd, int line, bool on)
{
    if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return true;
    return errno == ENOTTY || errno == EINVAL;
}

bool ValidDcb(const DCB& dcb)
{
    return dcb.BaudRate != 0 && dcb.ByteSize >= 5 && dcb.ByteSize <= 8 && dcb.Parity <= SPACEPARITY &&
           dcb.StopBits <= TWOSTOPBITS;
}

class PosixCommApi final : public CommApi {
public:
    HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                       DWORD creationDisposition, DWORD, HANDLE templateFile) override
    {
        if (fileName == nullptr || securityAttributes != nullptr || templateFile != nullptr ||
            creationDisposition != OPEN_EXISTING) {
            Fail(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        const std::string path = DevicePath(fileName);
        if (path.empty()) {
            Fail(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        const bool read = desiredAccess & GENERIC_READ, write = desiredAccess & GENERIC_WRITE;
        const int mode = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
        // O_NONBLOCK also keeps the open from waiting for carrier detect.
        const int fd = open(path.c_str(), mode | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            FailWithErrno();
            return INVALID_HANDLE_VALUE;
        }
        // Exclusive access is an advisory lock. It keeps out root as well,
        // and the kernel drops it with the last descriptor however the
        // holder ends, so a monitor that crashed or was killed leaves the
        // port free.
        //
        // The kernel's exclusive-tty flag (TIOCEXCL) would keep out programs
        // that take no lock too, but it is not used: it belongs to the
        // terminal, not to the descriptor, so after a holder dies it stays
        // set for as long as anyone else has the device open (the
        // simulator's end of a pseudo-terminal, another user of an
        // adapter), and refuses every later open but root's. Only a
        // descriptor of the terminal can clear it, and such an open is the
        // very thing it refuses. A lock file would keep out only the
        // programs that look for it, which is what the lock already does.
        if (flock(fd, (shareMode == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
            FailWithErrno();
            close(fd);
            return INVALID_HANDLE_VALUE;
        }

        const auto key = nextHandle_;
        nextHandle_ += 4;
        ports_.emplace(key, Port{fd, {}});
        Succeed();
        return reinterpret_cast<HANDLE>(key);
    }

    BOOL CloseHandle(HANDLE handle) override
    {
        const auto it = ports_.find(Key(handle));
        if (it == ports_.end())
            return Fail(ERROR_INVALID_HANDLE);
        const int result = close(it->second.fd);
        ports_.erase(it);
        return result == 0 ? Succeed() : FailWithErrno();
    }

    BOOL SetCommState(HANDLE handle, const DCB* dcb) override
    {
        const Port* port = Find(handle);
        if (port == nullptr)
            return FALSE;
        if (dcb == nullptr || !ValidDcb(*dcb))
            return Fail(ERROR_INVALID_PARAMETER);
        // tcgetattr, not FIONREAD, tells a terminal from a file or /dev/null.
        termios tio{};
        if (tcgetattr(port->fd, &tio) != 0)
            return FailWithErrno();

        cfmakeraw(&tio);
        ApplyCharacterFormat(tio, *dcb);
        ApplyFlowControl(tio, *dcb);
        tio.c_cc[VMIN] = 1;
        tio.c_cc[VTIME] = 0;
        const StandardRate* standard = FindStandardRate(dcb->BaudRate);
        cfsetspeed(&tio, standard != nullptr ? standard->code : B38400);

        // A pseudo-terminal forces 8 bits without parity, and glibc may then
        // answer EINVAL although the rest took; the read-back below decides.
        if (tcsetattr(port->fd, TCSANOW, &tio) != 0 && errno != EINVAL)
            return FailWithErrno();
        if (standard == nullptr && !posix::SetCustomBaudRate(port->fd, dcb->BaudRate))
            return FailWithErrno();

        termios actual{};
        if (tcgetattr(port->fd, &actual) != 0)
            return FailWithErrno();
        if ((actual.c_lflag & (ICANON | ECHO)) != 0 || !RateIsClose(posix::ReadBaudRate(port->fd), dcb->BaudRate))
            return Fail(ERROR_INVALID_PARAMETER);

        const bool dtr = dcb->fDtrControl != DTR_CONTROL_DISABLE;
        const bool rts = dcb->fRtsControl != RTS_CONTROL_DISABLE;
        if (!SetModemLine(port->fd, TIOCM_DTR, dtr) || !SetModemLine(port->fd, TIOCM_RTS, rts))
            return FailWithErrno();
        return Succeed();
    }

    BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue) override
    {
        // The kernel sizes its own queues; the request is checked and kept.
        Port* port = Find(handle);
        if (port == nullptr)
            return FALSE;
        if (inQueue == 0 || outQueue == 0)
            return Fail(ERROR_INVALID_PARAMETER);
        return IsTerminal(*port) ? Succeed() : FailWithErrno();
    }

    BOOL PurgeComm(HANDLE handle, DWORD flags) override
    {
        const Port* port = Find(handle);
        if (port == nullptr)
            return FALSE;
        constexpr DWORD kAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
        if (flags == 0 || (flags & ~kAll) != 0)
            return Fail(ERROR_INVALID_PARAMETER);
        // Every call here is synchronous, so there is never a pending read or
        // write to abort; only the clear flags act.
        const bool input = flags & PURGE_RXCLEAR, output = flags & PURGE_TXCLEAR;
        if (!input && !output)
            return IsTerminal(*port) ? Succeed() : FailWithErrno();
        const int queue = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
        return tcflush(port->fd, queue) == 0 ? Succeed() : FailWithErrno();
    }

    BOOL SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts) override
    {
        Port* port = Find(handle);
        if (port == nullptr)
            return FALSE;
        if (timeouts == nullptr)
            return Fail(ERROR_INVALID_PARAMETER);
        if (!IsTerminal(*port))
            return FailWithErrno();
        port->timeouts = *timeouts;
        return Succeed();
    }

    BOOL ClearCommError(HANDLE handle, DWORD* errors, COMSTAT* stat) override
    {
        const Port* port = Find(handle);
        if (port == nullptr)
            return FALSE;
        // After a hang-up (an unplugged adapter, the far side of a
        // pseudo-terminal closed) every ioctl fails with EIO: the device is
        // gone for good, and this is where the driver learns of it.
        int input = 0, output = 0;
        if (ioctl(port->fd, FIONREAD, &input) != 0 || ioctl(port->fd, TIOCOUTQ, &output) != 0)
            return FailWithErrno();
        if (errors != nullptr)
            *errors = 0;
        if (stat != nullptr) {
            *stat = COMSTAT{};
            stat->cbInQue = static_cast<DWORD>(std::max(input, 0));
            stat->cbOutQue = static_cast<DWORD>(std::max(output, 0));
        }
        return Succeed();
    }

    BOOL ReadFile(HANDLE handle, void* buffer, DWORD toRead, DWORD* read, void* overlapped) override
    {
        DWORD done = 0;
        if (read != nullptr)
            *read = 0;
        const Port* port = Find(handle);
        if (port == nullptr)
            return FALSE;
        if (overlapped != nullptr || (buffer == nullptr && toRead != 0))
            return Fail(ERROR_INVALID_PARAMETER);

        const COMMTIMEOUTS& t = port->timeouts;
        const std::uint64_t start = MonotonicMs();
        std::uint64_t lastByte = start;
        auto* bytes = static_cast<unsigned char*>(buffer);
        BOOL result = TRUE;
        while (done < toRead) {
            const ssize_t got = ::read(port->fd, bytes + done, toRead - done);
            if (got > 0) {
                done += static_cast<DWORD>(got);
                lastByte = MonotonicMs();
                continue;
            }
            if (got == 0) {  // hang-up: the device is gone
                result = Fail(ERROR_GEN_FAILURE);
                break;
            }
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN) {
                result = FailWithErrno();
                break;
            }
            const int wait = ReadWait(t, toRead, done, start, lastByte);
            if (wait == 0)
                break;
            pollfd p{port->fd, POLLIN, 0};
            poll(&p, 1, wait);
        }
        if (read != nullptr)
            *read = done;
        return result ? Succeed() : FALSE;
    }

    BOOL WriteFile(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped) override
    {
        DWORD done = 0;
        if (written != nullptr)
            *written = 0;
        const Port* port = Find(handle);
        if (port == nullptr)
            return FALSE;
        if (overlapped != nullptr || (buffer == nullptr && toWrite != 0))
            return Fail(ERROR_INVALID_PARAMETER);

        // Windows semantics: the total time-out bounds the whole call; with
        // both parts zero the call waits as long as it takes.
        const COMMTIMEOUTS& t = port->timeouts;
        const std::uint64_t total =
            std::uint64_t{t.WriteTotalTimeoutMultiplier} * toWrite + t.WriteTotalTimeoutConstant;
        const std::uint64_t deadline = MonotonicMs() + total;
        const auto* bytes = static_cast<const unsigned char*>(buffer);
        BOOL result = TRUE;
        while (done < toWrite) {
            const ssize_t put = ::write(port->fd, bytes + done, toWrite - done);
            if (put > 0) {
                done += static_cast<DWORD>(put);
                continue;
            }
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0 && errno != EAGAIN) {
                result = FailWithErrno();
                break;
            }
            int wait = -1;
            if (total != 0) {
                const std::uint64_t now = MonotonicMs();
                if (now >= deadline)
                    break;
                wait = static_cast<int>(std::min<std::uint64_t>(deadline - now, INT_MAX));
            }
            pollfd p{port->fd, POLLOUT, 0};
            if (poll(&p, 1, wait) > 0 && (p.revents & (POLLERR | POLLHUP)) != 0) {
                result = Fail(ERROR_GEN_FAILURE);
                break;
            }
        }
        if (written != nullptr)
            *written = done;
        return result ? Succeed() : FALSE;
    }

    BOOL GetCommModemStatus(HANDLE handle, DWORD* modemStat) override
    {
        const Port* port = Find(handle);
        if (port == nullptr)
            return FALSE;
        if (modemStat == nullptr)
            return Fail(ERROR_INVALID_PARAMETER);
        int lines = 0;
        if (ioctl(port->fd, TIOCMGET, &lines) != 0)
            return FailWithErrno();
        *modemStat = (lines & TIOCM_CTS ? MS_CTS_ON : 0) | (lines & TIOCM_DSR ? MS_DSR_ON : 0) |
                     (lines & TIOCM_RI ? MS_RING_ON : 0) | (lines & TIOCM_CD ? MS_RLSD_ON : 0);
        return Succeed();
    }

    DWORD GetTickCount() override
    {
        return static_cast<DWORD>(MonotonicMs());
    }

    // Reports the running kernel's version as a member of the NT family, the
    // platform class whose semantics this layer gives.
    BOOL GetVersionExA(OSVERSIONINFOA* info) override
    {
        if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))
            return Fail(ERROR_INVALID_PARAMETER);
        utsname name{};
        if (uname(&name) != 0)
            return FailWithErrno();
        unsigned major = 0, minor = 0, build = 0;
        std::sscanf(name.release, "%u.%u.%u", &major, &minor, &build);
        info->dwMajorVersion = major;
        info->dwMinorVersion = minor;
        info->dwBuildNumber = build;
        info->dwPlatformId = VER_PLATFORM_WIN32_NT;
        info->szCSDVersion[0] = '\0';
        return Succeed();
    }

    DWORD GetLastError() override
    {
        return lastError;
    }

private:
    struct Port {
        int fd;
        COMMTIMEOUTS timeouts;
    };

    static std::uintptr_t Key(HANDLE handle)
    {
        return reinterpret_cast<std::uintptr_t>(handle);
    }

    Port* Find(HANDLE handle)
    {
        const auto it = ports_.find(Key(handle));
        if (it == ports_.end()) {
            Fail(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        return &it->second;
    }

    // True for a terminal that still answers; sets the error otherwise.
    static bool IsTerminal(const Port& port)
    {
        termios tio{};
        return tcgetattr(port.fd, &tio) == 0;
    }

    // How long a read that found nothing more may wait for the next byte, by
    // the Windows read time-outs; 0 means return now, -1 wait for ever.
    static int ReadWait(const COMMTIMEOUTS& t, DWORD toRead, DWORD done, std::uint64_t start, std::uint64_t lastByte)
    {
        const bool totalUsed = t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0;
        if (t.ReadIntervalTimeout == kMaxDword && !totalUsed)
            return 0;
        std::uint64_t deadline = UINT64_MAX;
        if (totalUsed)
            deadline = start + std::uint64_t{t.ReadTotalTimeoutMultiplier} * toRead + t.ReadTotalTimeoutConstant;
        if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != kMaxDword && done > 0)
            deadline = std::min(deadline, lastByte + t.ReadIntervalTimeout);
        if (deadline == UINT64_MAX)
            return -1;
        const std::uint64_t now = MonotonicMs();
        return now >= deadline ? 0 : static_cast<int>(std::min<std::uint64_t>(deadline - now, INT_MAX));
    }

    std::unordered_map<std::uintptr_t, Port> ports_;
    std::uintptr_t nextHandle_ = 0x100;
};

}  // namespace

CommApi& SystemCommApi()
{
    static PosixCommApi api;
    return api;
}

}  // namespace platform
