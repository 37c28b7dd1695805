#include "serial/CPDrv.h"

#include <algorithm>
#include <cstdio>

using namespace platform;

namespace {

constexpr DWORD kMinBufSize = 128;
constexpr DWORD kMaxBufSize = 8192;
constexpr WORD kMinPollingDelay = 5;

// Short time-outs keep every read and write call brief: a read returns with
// what is waiting, a write gives up after 10 ms and the send loop retries.
constexpr COMMTIMEOUTS kPortTimeouts{1, 0, 1, 0, 10};

DWORD ClampBufSize(DWORD value)
{
    return std::clamp(value, kMinBufSize, kMaxBufSize);
}

// Milliseconds from `since` to `now` on the 32-bit tick counter, whose wrap
// every 49.7 days the unsigned subtraction absorbs.
DWORD Elapsed(DWORD now, DWORD since)
{
    return now - since;
}

bool QueryVersion(CommApi& api, OSVERSIONINFOA& info)
{
    info = OSVERSIONINFOA{};
    info.dwOSVersionInfoSize = sizeof info;
    return api.GetVersionExA(&info) != FALSE;
}

}  // namespace

std::string PlatformTag(CommApi& api)
{
    OSVERSIONINFOA info;
    if (!QueryVersion(api, info))
        return "??";
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s: return "W32S";
    case VER_PLATFORM_WIN32_WINDOWS: return "W95";
    case VER_PLATFORM_WIN32_NT: return "WNT";
    default: return "";
    }
}

DWORD PlatformVersion(CommApi& api)
{
    OSVERSIONINFOA info;
    if (!QueryVersion(api, info))
        return 0;
    return (info.dwMajorVersion << 16) | info.dwMinorVersion;
}

TCommPortDriver::TCommPortDriver(TComponent* AOwner, CommApi& api)
    : TComponent(AOwner),
      FApi(api),
      FNotifyWindow(std::make_unique<TNotifyWindow>([this](TMessage& msg) { PollTick(msg); }))
{
    FReceiveBuffer.assign(FInBufSize, 0);
}

TCommPortDriver::~TCommPortDriver()
{
    Disconnect();
}

bool TCommPortDriver::Connect()
{
    if (Connected())
        return true;
    FHandle = FApi.CreateFileA(FPortName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!Connected())
        return false;
    if (!ApplySettings()) {
        Disconnect();
        return false;
    }
    FApi.SetCommTimeouts(FHandle, &kPortTimeouts);
    FNotifyWindow->SetTimer(kReceiveTimerId, FPollingDelay);
    return true;
}

void TCommPortDriver::Disconnect()
{
    if (!Connected())
        return;
    FNotifyWindow->KillTimer(kReceiveTimerId);
    FApi.CloseHandle(FHandle);
    FHandle = INVALID_HANDLE_VALUE;
}

bool TCommPortDriver::Connected() const
{
    return FHandle != INVALID_HANDLE_VALUE;
}

DCB TCommPortDriver::LineSettingsRecord() const
{
    OSVERSIONINFOA version;
    const bool cap = QueryVersion(FApi, version) && CapsFlowLimits(version);
    return BuildDcb(LineSettings{FBaudRateValue, FDataBits, FParity, FStopBits, FHwFlow, FSwFlow, FEnableDTROnOpen,
                                 FInBufSize, cap});
}

bool TCommPortDriver::ApplySettings()
{
    if (!Connected())
        return false;
    const DCB dcb = LineSettingsRecord();
    if (!FApi.SetCommState(FHandle, &dcb))
        return false;
    if (!PurgeQueues(true, true))
        return false;
    return FApi.SetupComm(FHandle, FInBufSize, FOutBufSize) != FALSE;
}

bool TCommPortDriver::PurgeQueues(bool input, bool output)
{
    if (!Connected())
        return false;
    DWORD flags = 0;
    if (input)
        flags |= PURGE_RXABORT | PURGE_RXCLEAR;
    if (output)
        flags |= PURGE_TXABORT | PURGE_TXCLEAR;
    if (!FApi.PurgeComm(FHandle, flags))
        return false;
    FPacketStartTick = kNoTick;
    return true;
}

void TCommPortDriver::ApplySettingsIfConnected()
{
    if (Connected())
        ApplySettings();
}

// ---- Properties

void TCommPortDriver::SetPort(TPortNumber value)
{
    if (Connected())
        return;
    FPort = value;
    if (value != pnCustom) {
        char name[16];
        std::snprintf(name, sizeof name, "\\\\.\\COM%d", static_cast<int>(value));
        FPortName = name;
    }
}

void TCommPortDriver::SetPortName(const std::string& value)
{
    if (Connected())
        return;
    FPortName = value;
    FPort = pnCustom;
}

void TCommPortDriver::SetBaudRate(TBaudRate value)
{
    FBaudRate = value;
    if (value != brCustom)
        FBaudRateValue = NominalBaudRate(value);
    ApplySettingsIfConnected();
}

void TCommPortDriver::SetBaudRateValue(DWORD value)
{
    FBaudRateValue = value;
    FBaudRate = brCustom;
    ApplySettingsIfConnected();
}

void TCommPortDriver::SetDataBits(TDataBits value)
{
    FDataBits = value;
    ApplySettingsIfConnected();
}

void TCommPortDriver::SetStopBits(TStopBits value)
{
    FStopBits = value;
    ApplySettingsIfConnected();
}

void TCommPortDriver::SetParity(TParity value)
{
    FParity = value;
    ApplySettingsIfConnected();
}

void TCommPortDriver::SetHwFlow(THwFlowControl value)
{
    FHwFlow = value;
    ApplySettingsIfConnected();
}

void TCommPortDriver::SetSwFlow(TSwFlowControl value)
{
    FSwFlow = value;
    ApplySettingsIfConnected();
}

void TCommPortDriver::SetInBufSize(DWORD value)
{
    if (Connected())
        return;
    FInBufSize = ClampBufSize(value);
    FReceiveBuffer.assign(FInBufSize, 0);
    FReceiveBuffer.shrink_to_fit();
    SetPacketSize(FPacketSize);
}

void TCommPortDriver::SetOutBufSize(DWORD value)
{
    if (Connected())
        return;
    FOutBufSize = ClampBufSize(value);
}

void TCommPortDriver::SetPacketSize(std::int16_t value)
{
    if (value <= 0) {
        FPacketSize = -1;
        return;
    }
    FPacketSize = value;
    // Growing stops at the largest buffer; the packet read is bounded there.
    if (static_cast<DWORD>(value) > FInBufSize && FInBufSize < kMaxBufSize)
        SetInBufSize(static_cast<DWORD>(value));
}

void TCommPortDriver::SetPacketTimeout(std::int32_t value)
{
    if (value <= 0)
        FPacketTimeout = -1;
    else if (value < FPollingDelay)
        FPacketTimeout = FPollingDelay + (FPollingDelay * 40) / 100;
    else
        FPacketTimeout = value;
}

void TCommPortDriver::SetPollingDelay(WORD value)
{
    value = std::max(value, kMinPollingDelay);
    if (value == FPollingDelay)
        return;
    const bool running = Connected();
    if (running)
        FNotifyWindow->KillTimer(kReceiveTimerId);
    FPollingDelay = value;
    if (running)
        FNotifyWindow->SetTimer(kReceiveTimerId, FPollingDelay);
    SetPacketTimeout(FPacketTimeout);
}

// ---- Sending

TCommPortDriver::WORD TCommPortDriver::OutputSpace()
{
    if (!Connected())
        return 0xFFFF;
    DWORD errors = 0;
    COMSTAT stat{};
    if (!FApi.ClearCommError(FHandle, &errors, &stat))
        throw ECommPortLost("The serial port " + FPortName + " does not answer; it may have been disconnected");
    if (stat.cbOutQue > FOutBufSize)
        throw ECommPortLost("The serial port " + FPortName + " reports " + std::to_string(stat.cbOutQue) +
                            " bytes waiting in an output queue of " + std::to_string(FOutBufSize));
    return static_cast<WORD>(FOutBufSize - stat.cbOutQue);
}

TModemLines TCommPortDriver::ModemLines()
{
    DWORD status = 0;
    if (!Connected() || !FApi.GetCommModemStatus(FHandle, &status))
        return 0;
    TModemLines lines = 0;
    if (status & MS_CTS_ON)
        lines |= lnCTS;
    if (status & MS_DSR_ON)
        lines |= lnDSR;
    if (status & MS_RING_ON)
        lines |= lnRING;
    if (status & MS_RLSD_ON)
        lines |= lnRLSD;
    return lines;
}

TCommPortDriver::DWORD TCommPortDriver::SendDataTimed(const void* data, DWORD count, DWORD timeoutMs)
{
    if (!Connected())
        return 0;
    const auto* next = static_cast<const std::uint8_t*>(data);
    DWORD total = 0;
    DWORD remaining = count;
    DWORD progressTick = FApi.GetTickCount();
    while (remaining > 0) {
        const DWORD space = OutputSpace();
        if (space != 0) {
            if (FCheckLineStatus && ModemLines() == 0)
                return total;
            DWORD written = 0;
            FApi.WriteFile(FHandle, next, std::min(space, remaining), &written, nullptr);
            if (written > 0) {
                total += written;
                remaining -= written;
                next += written;
                progressTick = FApi.GetTickCount();
                continue;
            }
        }
        if (Elapsed(FApi.GetTickCount(), progressTick) > timeoutMs)
            return total;
    }
    return total;
}

TCommPortDriver::DWORD TCommPortDriver::SendData(const void* data, DWORD count)
{
    return SendDataTimed(data, count, FOutputTimeout);
}

bool TCommPortDriver::SendString(std::string_view text)
{
    return SendData(text.data(), static_cast<DWORD>(text.size())) == text.size();
}

// ---- Receiving

void TCommPortDriver::PollTick(TMessage& Msg)
{
    if (Msg.Msg != WM_TIMER || !Connected()) {
        FNotifyWindow->DefaultHandler(Msg);
        return;
    }
    Poll();
}

void TCommPortDriver::Poll()
{
    DWORD errors = 0;
    COMSTAT stat{};
    // Line errors (framing, parity, overrun) are cleared by the query and not
    // reported; a failed query means nothing can be read this tick.
    if (!FApi.ClearCommError(FHandle, &errors, &stat))
        return;
    if (FPacketSize <= 0)
        DeliverStream(stat.cbInQue);
    else
        DeliverPackets(stat.cbInQue);
}

DWORD TCommPortDriver::ReadIntoBuffer(DWORD count)
{
    DWORD read = 0;
    if (!FApi.ReadFile(FHandle, FReceiveBuffer.data(), count, &read, nullptr))
        return 0;
    return read;
}

void TCommPortDriver::DeliverStream(DWORD waiting)
{
    if (waiting == 0)
        return;
    // The input queue may hold more than the buffer (a kernel queue is not
    // sized by the request); the rest waits for the next ticks.
    const DWORD read = ReadIntoBuffer(std::min(waiting, FInBufSize));
    if (read > 0 && FOnReceiveData)
        FOnReceiveData(this, FReceiveBuffer.data(), read);
}

void TCommPortDriver::DeliverPackets(DWORD waiting)
{
    // A packet never outgrows the buffer: PacketSize may exceed InBufSize
    // when set above the largest buffer, or while the port is open and the
    // buffer cannot grow. Taken once, so a handler that changes PacketSize
    // does not change the loop under way.
    const DWORD packet = std::min<DWORD>(static_cast<DWORD>(FPacketSize), FInBufSize);
    const DWORD packetTime = TransmitTimeAtRate(FBaudRateValue, packet);

    if (waiting >= packet) {
        while (waiting >= packet) {
            const DWORD read = ReadIntoBuffer(packet);
            if (read > 0 && FOnReceivePacket) {
                FOnReceivePacket(this, FReceiveBuffer.data(), read);
                if (!Connected())  // the handler closed the port
                    return;
            }
            if (FPacketStartTick != kNoTick)
                FPacketStartTick += packetTime;
            waiting -= packet;
            if (waiting == 0)
                FPacketStartTick = kNoTick;
        }
        return;
    }

    const DWORD now = FApi.GetTickCount();
    if (FPacketTimeout > 0 && FPacketStartTick != kNoTick &&
        Elapsed(now, FPacketStartTick) > static_cast<DWORD>(FPacketTimeout)) {
        const DWORD read = ReadIntoBuffer(waiting);
        if (FPacketMode == pmPass && read > 0 && FOnReceivePacket)
            FOnReceivePacket(this, FReceiveBuffer.data(), read);
        FPacketStartTick = kNoTick;
        return;
    }
    if (waiting > 0 && FPacketStartTick == kNoTick)
        FPacketStartTick = now;
}
