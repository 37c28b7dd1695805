// The POSIX serial layer over real pseudo-terminals: naming, exclusive
// access, line settings read back from the kernel, queues, time-outs and the
// hang-up of a vanished device.
#include "platform/CommApi.h"
#include "platform/VirtualPorts.h"

#include "CommCalls.h"
#include "PtyPeer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <asm/termbits.h>
#include <grp.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

CommApi& api = SystemCommApi();

HANDLE Open(const std::string& name, DWORD share = 0)
{
    return OpenReadWrite(api, name, share);
}

DCB Settings(DWORD rate = 9600)
{
    return PlainLine(rate);
}

// A descriptor of the slave that the test opens beside the layer's, to read
// the kernel's view of the terminal.
struct Watcher {
    int fd;
    explicit Watcher(const PtyPeer& peer) : fd(::open(peer.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~Watcher() { ::close(fd); }

    // The kernel's view of the settings, through the same termios2 call the
    // layer uses, so that custom rates show.
    termios2 Settings() const
    {
        termios2 tio{};
        ioctl(fd, TCGETS2, &tio);
        return tio;
    }
    int Exclusive() const
    {
        int exclusive = -1;
        ioctl(fd, TIOCGEXCL, &exclusive);
        return exclusive;
    }
};

// An open, configured port on a fresh pseudo-terminal.
struct OpenPort {
    PtyPeer peer;
    Watcher watcher{peer};
    HANDLE handle = INVALID_HANDLE_VALUE;

    OpenPort()
    {
        handle = Open(peer.DeviceName());
        const DCB dcb = Settings();
        api.SetCommState(handle, &dcb);
        const COMMTIMEOUTS timeouts{1, 0, 1, 0, 10};
        api.SetCommTimeouts(handle, &timeouts);
    }
    ~OpenPort()
    {
        if (handle != INVALID_HANDLE_VALUE)
            api.CloseHandle(handle);
    }

    DWORD InQueue() const
    {
        DWORD errors = 0;
        COMSTAT stat{};
        return api.ClearCommError(handle, &errors, &stat) ? stat.cbInQue : ~0u;
    }
    bool WaitForInput(DWORD count) const
    {
        for (int i = 0; i < 5000 && InQueue() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return InQueue() >= count;
    }
};

TEST(PosixCommApi, DeviceNamesResolveUnderDevOrAsAbsolutePaths)
{
    PtyPeer peer;
    ASSERT_TRUE(peer.Ok());
    for (const std::string& name : {peer.DeviceName(), "\\\\.\\" + peer.SlavePath(), peer.SlavePath()}) {
        const HANDLE handle = Open(name);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE) << name;
        EXPECT_TRUE(api.CloseHandle(handle));
    }
    for (const std::string& name : {std::string("\\\\.\\ttyNoSuchPort7"), std::string("\\\\.\\"), std::string()}) {
        EXPECT_EQ(Open(name), INVALID_HANDLE_VALUE) << name;
        EXPECT_EQ(api.GetLastError(), ERROR_FILE_NOT_FOUND) << name;
    }
}

TEST(PosixCommApi, AServedPortOpensByItsName)
{
    PtyPeer peer;
    ASSERT_TRUE(peer.Ok());
    char folder[] = "/tmp/umbrascope-served-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved != nullptr ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", folder, 1);
    const std::string ports = VirtualPortFolder();
    std::filesystem::create_directories(ports);
    std::filesystem::create_symlink(peer.SlavePath(), ports + "/metersim-test");

    const HANDLE handle = Open("\\\\.\\metersim-test");
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(api.CloseHandle(handle));
    EXPECT_EQ(Open("\\\\.\\metersim-none"), INVALID_HANDLE_VALUE);

    if (saved != nullptr)
        ::setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(folder);
}

TEST(PosixCommApi, WhatIsNotASerialDeviceFailsAtTheLatestInSetCommState)
{
    char file[] = "/tmp/umbrascope-not-a-port-XXXXXX";
    const int fd = mkstemp(file);
    ASSERT_GE(fd, 0);
    ::close(fd);
    for (const char* name : {static_cast<const char*>(file), "/dev/null", "/tmp"}) {
        const HANDLE handle = Open(name);
        if (handle == INVALID_HANDLE_VALUE)
            continue;
        const DCB dcb = Settings();
        EXPECT_FALSE(api.SetCommState(handle, &dcb)) << name;
        api.CloseHandle(handle);
    }
    std::remove(file);
}

TEST(PosixCommApi, AccessIsExclusiveAcrossHandlesAndProcesses)
{
    PtyPeer peer;
    const Watcher watcher(peer);
    const HANDLE first = Open(peer.DeviceName());
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(peer.DeviceName()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(api.GetLastError(), ERROR_SHARING_VIOLATION);

    // Another process, root or not, is refused too.
    const pid_t child = fork();
    if (child == 0)
        _exit(Open(peer.DeviceName()) == INVALID_HANDLE_VALUE ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // The exclusive-tty flag is never set: it would outlive a holder that
    // dies while someone else keeps the terminal open.
    EXPECT_EQ(watcher.Exclusive(), 0);
    EXPECT_TRUE(api.CloseHandle(first));
    EXPECT_EQ(watcher.Exclusive(), 0);

    const HANDLE again = Open(peer.DeviceName());
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    api.CloseHandle(again);
}

constexpr uid_t kUnprivileged = 65534;
enum ChildResult { kOpened = 0, kRefused = 1, kOtherError = 2, kNoUser = 3 };

// Runs `body` in a child process and returns the child's id. When the test
// runs as root the child first becomes an ordinary user, since root passes
// checks that such a user meets (the exclusive-tty flag among them).
template <typename Body>
pid_t ForkAsUser(Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kUnprivileged) != 0 || setuid(kUnprivileged) != 0))
            _exit(kNoUser);
        _exit(body());
    }
    return child;
}

int ExitCode(pid_t child)
{
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

int TryOpen(const std::string& name)
{
    const HANDLE handle = Open(name);
    if (handle == INVALID_HANDLE_VALUE)
        return api.GetLastError() == ERROR_SHARING_VIOLATION ? kRefused : kOtherError;
    api.CloseHandle(handle);
    return kOpened;
}

// A port's holder in a process of its own, signalling through a pipe once
// the port is open and then waiting to be killed.
class HolderProcess {
public:
    explicit HolderProcess(const std::string& name)
    {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        pid_ = ForkAsUser([&] {
            ::close(ready[0]);
            if (Open(name) == INVALID_HANDLE_VALUE)
                return kOtherError;
            const char byte = 'h';
            if (::write(ready[1], &byte, 1) != 1)
                return kOtherError;
            for (;;)
                pause();
        });
        ::close(ready[1]);
        char byte = 0;
        holding_ = pid_ > 0 && ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    ~HolderProcess() { Kill(); }
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;

    bool Holding() const { return holding_; }

    // True when the holder died of SIGKILL, as a crashed or killed monitor does.
    bool Kill()
    {
        if (pid_ <= 0)
            return false;
        ::kill(pid_, SIGKILL);
        int status = 0;
        const bool killed = waitpid(pid_, &status, 0) == pid_ && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        pid_ = -1;
        return killed;
    }

private:
    pid_t pid_ = -1;
    bool holding_ = false;
};

TEST(PosixCommApi, APortIsFreeAgainWhenItsHolderDies)
{
    // The master stays open throughout, as the meter simulator keeps it.
    PtyPeer peer;
    ASSERT_TRUE(peer.Ok());
    if (geteuid() == 0) {
        ASSERT_EQ(::chown(peer.SlavePath().c_str(), kUnprivileged, kUnprivileged), 0);
        ASSERT_EQ(::chmod(peer.SlavePath().c_str(), 0600), 0);
    }
    const std::string name = peer.DeviceName();

    HolderProcess holder(name);
    ASSERT_TRUE(holder.Holding());
    EXPECT_EQ(Open(name), INVALID_HANDLE_VALUE) << "refused to this process, root or not";
    EXPECT_EQ(api.GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(ExitCode(ForkAsUser([&] { return TryOpen(name); })), kRefused);

    ASSERT_TRUE(holder.Kill());
    EXPECT_EQ(ExitCode(ForkAsUser([&] { return TryOpen(name); })), kOpened);
    const HANDLE handle = Open(name);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    api.CloseHandle(handle);
}

TEST(PosixCommApi, LineSettingsReachTheKernel)
{
    OpenPort port;
    DCB dcb = Settings(19200);
    dcb.ByteSize = 7;
    dcb.Parity = EVENPARITY;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fOutxCtsFlow = 1;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutX = dcb.fInX = 1;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    ASSERT_TRUE(api.SetCommState(port.handle, &dcb)) << "modem-line steps are skipped on a pty";

    const termios2 tio = port.watcher.Settings();
    EXPECT_EQ(tio.c_ospeed, 19200u);
    EXPECT_TRUE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_TRUE(tio.c_iflag & IXON);
    EXPECT_TRUE(tio.c_iflag & IXOFF);
    EXPECT_FALSE(tio.c_iflag & INPCK);
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_EQ(tio.c_cc[VMIN], 1);
}

TEST(PosixCommApi, RatesWithoutAConstantOfTheirOwnAreSet)
{
    OpenPort port;
    for (DWORD rate : {14400u, 56000u, 128000u, 256000u, 110u}) {
        const DCB dcb = Settings(rate);
        ASSERT_TRUE(api.SetCommState(port.handle, &dcb)) << rate;
        EXPECT_EQ(port.watcher.Settings().c_ospeed, rate);
    }
}

TEST(PosixCommApi, ImpossibleSettingsAreRefused)
{
    OpenPort port;
    for (auto broken : {+[](DCB& d) { d.ByteSize = 9; }, +[](DCB& d) { d.ByteSize = 4; },
                        +[](DCB& d) { d.Parity = 5; }, +[](DCB& d) { d.StopBits = 3; },
                        +[](DCB& d) { d.BaudRate = 0; }}) {
        DCB dcb = Settings();
        broken(dcb);
        EXPECT_FALSE(api.SetCommState(port.handle, &dcb));
        EXPECT_EQ(api.GetLastError(), ERROR_INVALID_PARAMETER);
    }
}

TEST(PosixCommApi, ReadReturnsAtOnceWithWhatIsWaiting)
{
    OpenPort port;
    char buffer[64];
    DWORD read = 99;
    ASSERT_TRUE(api.ReadFile(port.handle, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 0u);

    ASSERT_TRUE(port.peer.Write("19.53#"));
    ASSERT_TRUE(port.WaitForInput(6));
    EXPECT_EQ(port.InQueue(), 6u);
    ASSERT_TRUE(api.ReadFile(port.handle, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "19.53#");
    EXPECT_EQ(port.InQueue(), 0u);
}

TEST(PosixCommApi, WritesArriveAndPurgeDiscardsInput)
{
    OpenPort port;
    DWORD written = 0;
    ASSERT_TRUE(api.WriteFile(port.handle, "V#", 2, &written, nullptr));
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(port.peer.Read(2), "V#");

    ASSERT_TRUE(port.peer.Write("stale"));
    ASSERT_TRUE(port.WaitForInput(5));
    ASSERT_TRUE(api.PurgeComm(port.handle, PURGE_RXABORT | PURGE_RXCLEAR));
    EXPECT_EQ(port.InQueue(), 0u);
    EXPECT_FALSE(api.PurgeComm(port.handle, 0x100));
}

TEST(PosixCommApi, AWriteThatCannotGoOutGivesUpAfterItsTimeout)
{
    OpenPort port;  // the peer never reads: the pty's buffer fills
    std::string block(1 << 20, 'x');
    DWORD written = 0;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(api.WriteFile(port.handle, block.data(), static_cast<DWORD>(block.size()), &written, nullptr));
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, block.size());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(PosixCommApi, AVanishedDeviceFailsEveryCall)
{
    OpenPort port;
    ASSERT_TRUE(port.peer.Write("lost"));
    port.peer.Close();

    DWORD errors = 0;
    COMSTAT stat{};
    EXPECT_FALSE(api.ClearCommError(port.handle, &errors, &stat));
    char buffer[8];
    DWORD count = 0;
    EXPECT_FALSE(api.ReadFile(port.handle, buffer, sizeof buffer, &count, nullptr));
    EXPECT_FALSE(api.WriteFile(port.handle, "V#", 2, &count, nullptr));
    EXPECT_EQ(count, 0u);
    const DCB dcb = Settings();
    EXPECT_FALSE(api.SetCommState(port.handle, &dcb));
    EXPECT_FALSE(api.PurgeComm(port.handle, PURGE_RXCLEAR));
    EXPECT_TRUE(api.CloseHandle(port.handle));
    port.handle = INVALID_HANDLE_VALUE;
}

TEST(PosixCommApi, APseudoTerminalHasNoModemLines)
{
    OpenPort port;
    DWORD status = 0;
    EXPECT_FALSE(api.GetCommModemStatus(port.handle, &status));
}

TEST(PosixCommApi, ClosedAndUnknownHandlesAreRefused)
{
    PtyPeer peer;
    const HANDLE handle = Open(peer.DeviceName());
    ASSERT_TRUE(api.CloseHandle(handle));
    EXPECT_FALSE(api.CloseHandle(handle));
    EXPECT_EQ(api.GetLastError(), ERROR_INVALID_HANDLE);
    DWORD errors = 0;
    COMSTAT stat{};
    EXPECT_FALSE(api.ClearCommError(INVALID_HANDLE_VALUE, &errors, &stat));
}

TEST(PosixCommApi, ClockAndVersion)
{
    const DWORD before = api.GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(api.GetTickCount() - before, 20u);

    OSVERSIONINFOA info{};
    EXPECT_FALSE(api.GetVersionExA(&info)) << "the record's size must be filled in";
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(api.GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_GT(info.dwMajorVersion, 0u);
}

}  // namespace
