// The Windows serial layer against the system's own serial ports: the
// settings reach the device, bytes go out and come back, the queues and
// time-outs act, a vanished device fails. The ports come from the
// environment: UMBRASCOPE_TEST_LOOPBACK_PORT names a port whose far side
// sends back every byte (a loopback plug, or tools/windows/pty-com-peer under
// Wine), UMBRASCOPE_TEST_HANGUP_PORT one whose far side goes away at the
// first byte it receives. Without them those tests are skipped.
#include "platform/CommApi.h"

#include "../CommCalls.h"
#include "SystemSide.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

using namespace platform;

namespace {

CommApi& api = SystemCommApi();

// Wine's answer where a device has gone: ERROR_NOT_READY.
constexpr DWORD kWineDeviceGone = 21;
constexpr DWORD kMaxDword = 0xFFFFFFFF;
constexpr auto kWaitLimit = std::chrono::seconds(5);

std::string PortFromEnvironment(const char* variable)
{
    const char* name = std::getenv(variable);
    return name != nullptr ? name : "";
}

const std::string kLoopbackPort = PortFromEnvironment("UMBRASCOPE_TEST_LOOPBACK_PORT");
const std::string kHangupPort = PortFromEnvironment("UMBRASCOPE_TEST_HANGUP_PORT");

HANDLE Open(const std::string& name)
{
    return OpenReadWrite(api, name);
}

DCB Settings(DWORD rate = 9600)
{
    return PlainLine(rate);
}

// Waits, polling, until `done` holds or the limit passes; the result of the
// last look.
template <typename Condition>
bool WaitFor(Condition done)
{
    const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// An open port set up as the driver sets one up: 9600 8N1, queues, reads
// that return at once with what is waiting.
class OpenPort {
public:
    explicit OpenPort(const std::string& name) : FHandle(Open(name))
    {
        const DCB dcb = Settings();
        const COMMTIMEOUTS timeouts{kMaxDword, 0, 0, 0, 1000};
        FReady = FHandle != INVALID_HANDLE_VALUE && api.SetCommState(FHandle, &dcb) &&
                 api.SetupComm(FHandle, 5000, 5000) && api.SetCommTimeouts(FHandle, &timeouts) &&
                 api.PurgeComm(FHandle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    }
    ~OpenPort() { Close(); }
    OpenPort(const OpenPort&) = delete;
    OpenPort& operator=(const OpenPort&) = delete;

    bool Ready() const { return FReady; }
    HANDLE handle() const { return FHandle; }

    bool Close()
    {
        const bool closed = FHandle != INVALID_HANDLE_VALUE && api.CloseHandle(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
        return closed;
    }

    // The input queue's count; none when ClearCommError fails.
    std::optional<DWORD> InQueue() const
    {
        DWORD errors = 0;
        COMSTAT stat{};
        if (!api.ClearCommError(FHandle, &errors, &stat))
            return std::nullopt;
        return stat.cbInQue;
    }
    bool WaitForInput(DWORD count) const
    {
        return WaitFor([&] { return InQueue().value_or(0) >= count; });
    }

    bool Write(const std::string& bytes) const
    {
        DWORD written = 0;
        return api.WriteFile(FHandle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    }
    std::string Read(DWORD count = 64) const
    {
        std::string buffer(count, '\0');
        DWORD read = 0;
        if (!api.ReadFile(FHandle, buffer.data(), count, &read, nullptr))
            return "<ReadFile failed>";
        buffer.resize(read);
        return buffer;
    }

private:
    HANDLE FHandle;
    bool FReady = false;
};

// The tests on each kind of port, skipped when the environment names none.
class PortTest : public ::testing::Test {
protected:
    explicit PortTest(const std::string& name) : FName(name) {}
    void SetUp() override
    {
        if (FName.empty())
            GTEST_SKIP() << "no port named in the environment; tools/windows/run-wine-tests.sh names them";
    }
    const std::string& FName;
};

class Win32CommApiLoopback : public PortTest {
protected:
    Win32CommApiLoopback() : PortTest(kLoopbackPort) {}
};

class Win32CommApiHangup : public PortTest {
protected:
    Win32CommApiHangup() : PortTest(kHangupPort) {}
};

TEST(Win32CommApi, AMissingPortIsNotFound)
{
    EXPECT_EQ(Open("\\\\.\\COM199"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(api.GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32CommApiLoopback, LineSettingsReachTheDevice)
{
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());

    // What a pseudo-terminal keeps: it always carries 8 data bits without
    // parity, and has no modem lines.
    DCB dcb = Settings(19200);
    dcb.StopBits = TWOSTOPBITS;
    dcb.fOutxCtsFlow = 1;
    dcb.fOutX = dcb.fInX = 1;
    ASSERT_TRUE(api.SetCommState(port.handle(), &dcb));
    std::optional<DCB> actual = SystemCommState(port.handle());
    ASSERT_TRUE(actual);
    EXPECT_EQ(actual->BaudRate, 19200u);
    EXPECT_EQ(actual->ByteSize, 8);
    EXPECT_EQ(actual->StopBits, TWOSTOPBITS);
    EXPECT_EQ(actual->fOutxCtsFlow, 1u);
    EXPECT_EQ(actual->fOutX, 1u);
    EXPECT_EQ(actual->fInX, 1u);
    EXPECT_EQ(actual->XonChar, 0x11);
    EXPECT_EQ(actual->XoffChar, 0x13);

    const DCB plain = Settings(9600);
    ASSERT_TRUE(api.SetCommState(port.handle(), &plain));
    actual = SystemCommState(port.handle());
    ASSERT_TRUE(actual);
    EXPECT_EQ(actual->BaudRate, 9600u);
    EXPECT_EQ(actual->StopBits, ONESTOPBIT);
    EXPECT_EQ(actual->fOutxCtsFlow, 0u);
    EXPECT_EQ(actual->fOutX, 0u);
    EXPECT_EQ(actual->fInX, 0u);
}

// The system may have taken part of a refused record (Wine sets the rate
// before it looks at the character format): only the refusal is certain, and
// that the port still takes good settings after it.
TEST_F(Win32CommApiLoopback, ImpossibleSettingsAreRefused)
{
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());
    for (auto broken : {+[](DCB& d) { d.ByteSize = 9; }, +[](DCB& d) { d.ByteSize = 4; },
                        +[](DCB& d) { d.Parity = 5; }, +[](DCB& d) { d.StopBits = 3; }}) {
        DCB dcb = Settings(4800);
        broken(dcb);
        EXPECT_FALSE(api.SetCommState(port.handle(), &dcb));
    }
    const DCB good = Settings(19200);
    EXPECT_TRUE(api.SetCommState(port.handle(), &good));
    const std::optional<DCB> actual = SystemCommState(port.handle());
    ASSERT_TRUE(actual);
    EXPECT_EQ(actual->BaudRate, 19200u);
}

TEST_F(Win32CommApiLoopback, WrittenBytesComeBackThroughTheLoop)
{
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());
    EXPECT_EQ(port.InQueue(), 0u);
    EXPECT_EQ(port.Read(), "");

    ASSERT_TRUE(port.Write("V#"));
    ASSERT_TRUE(port.WaitForInput(2));
    EXPECT_EQ(port.InQueue(), 2u);
    EXPECT_EQ(port.Read(), "V#");
    EXPECT_EQ(port.InQueue(), 0u);
}

TEST_F(Win32CommApiLoopback, AReadWaitsForItsCountWithinTheTotalTimeout)
{
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());
    // Long enough never to end the read on a busy machine; the read ends as
    // soon as its six bytes are there.
    const COMMTIMEOUTS waiting{0, 0, 20000, 0, 1000};
    ASSERT_TRUE(api.SetCommTimeouts(port.handle(), &waiting));
    ASSERT_TRUE(port.Write("19.53#"));
    EXPECT_EQ(port.Read(6), "19.53#");
}

TEST_F(Win32CommApiLoopback, PurgeDiscardsWaitingInput)
{
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());
    ASSERT_TRUE(port.Write("stale"));
    ASSERT_TRUE(port.WaitForInput(5));
    ASSERT_TRUE(api.PurgeComm(port.handle(), PURGE_RXABORT | PURGE_RXCLEAR));
    EXPECT_EQ(port.InQueue(), 0u);
    EXPECT_EQ(port.Read(), "");
}

TEST_F(Win32CommApiLoopback, AccessIsExclusive)
{
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine does not refuse a second open with share mode 0 as Windows does";
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());
    EXPECT_EQ(Open(FName), INVALID_HANDLE_VALUE);
    EXPECT_EQ(api.GetLastError(), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(port.Close());
    OpenPort again(FName);
    EXPECT_TRUE(again.Ready());
}

TEST_F(Win32CommApiLoopback, APseudoTerminalHasNoModemLines)
{
    if (!RunningUnderWine())
        GTEST_SKIP() << "the port is a pseudo-terminal only under Wine";
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());
    DWORD lines = 0x5A5A;
    EXPECT_FALSE(api.GetCommModemStatus(port.handle(), &lines));
    EXPECT_EQ(api.GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(lines, 0x5A5Au) << "a failed call leaves the caller's word alone";
}

TEST_F(Win32CommApiHangup, AVanishedDeviceFailsTheQueueAndWriteCalls)
{
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());
    ASSERT_TRUE(port.Write("x"));  // the far side goes away on it
    ASSERT_TRUE(WaitFor([&] { return !port.InQueue().has_value(); })) << "ClearCommError still succeeds";

    DWORD errors = 0xA5;
    COMSTAT stat{};
    stat.cbInQue = 77;
    EXPECT_FALSE(api.ClearCommError(port.handle(), &errors, &stat));
    const DWORD clearError = api.GetLastError();
    EXPECT_EQ(errors, 0xA5u);
    EXPECT_EQ(stat.cbInQue, 77u);

    DWORD written = 99;
    EXPECT_FALSE(api.WriteFile(port.handle(), "V#", 2, &written, nullptr));
    const DWORD writeError = api.GetLastError();
    EXPECT_EQ(written, 0u);
    if (RunningUnderWine()) {
        EXPECT_EQ(clearError, kWineDeviceGone);
        EXPECT_EQ(writeError, kWineDeviceGone);
    } else {
        EXPECT_NE(clearError, ERROR_SUCCESS);
        EXPECT_NE(writeError, ERROR_SUCCESS);
    }
    EXPECT_TRUE(port.Close());
}

TEST_F(Win32CommApiLoopback, AClosedHandleIsRefused)
{
    OpenPort port(FName);
    ASSERT_TRUE(port.Ready());
    const HANDLE handle = port.handle();
    ASSERT_TRUE(port.Close());
    DWORD errors = 0;
    COMSTAT stat{};
    EXPECT_FALSE(api.ClearCommError(handle, &errors, &stat));
    EXPECT_EQ(api.GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(Win32CommApi, TheTickCountFollowsTheClock)
{
    const DWORD before = api.GetTickCount();
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(100))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The tick count moves in steps of up to 16 ms.
    EXPECT_GE(api.GetTickCount() - before, 80u);
}

TEST(Win32CommApi, TheVersionIsOfTheNtFamily)
{
    OSVERSIONINFOA info{};
    EXPECT_FALSE(api.GetVersionExA(&info)) << "the record's size must be filled in";
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(api.GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(info.dwOSVersionInfoSize, sizeof info);
    if (RunningUnderWine()) {
        // A new prefix plays Windows 7 with its service pack.
        EXPECT_EQ(info.dwMajorVersion, 6u);
        EXPECT_EQ(info.dwMinorVersion, 1u);
        EXPECT_EQ(info.dwBuildNumber, 7601u);
        EXPECT_STREQ(info.szCSDVersion, "Service Pack 1");
    } else {
        EXPECT_GE(info.dwMajorVersion, 6u);
    }
}

}  // namespace
