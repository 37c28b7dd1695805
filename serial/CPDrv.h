// TCommPortDriver: a non-visual component that opens one serial port by its
// device name, writes its line settings, sends bytes, and delivers received
// bytes to its owner from a receive timer of its own.
//
// Everything runs on the user-interface thread: no thread, no overlapped
// input or output. Failures of the operating system come back as false
// results and short counts, never as exceptions, with one exception: the loss
// of the port's status while sending (see OutputSpace). Setters that cannot
// act while the port is open are ignored.
#pragma once

#include "platform/CommApi.h"
#include "runtime/Classes.h"
#include "runtime/NotifyWindow.h"
#include "runtime/SysUtils.h"
#include "serial/LineSettings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The modem input lines that are on, as a set of these flags.
enum TModemLine : std::uint8_t { lnCTS = 1, lnDSR = 2, lnRING = 4, lnRLSD = 8 };
using TModemLines = std::uint8_t;

// `DataPtr` and `Packet` point at the start of the driver's receive buffer and
// are valid only until the event returns; exactly `DataSize` bytes are data.
using TReceiveDataEvent = std::function<void(TObject* Sender, const void* DataPtr, platform::DWORD DataSize)>;
using TReceivePacketEvent = std::function<void(TObject* Sender, const void* Packet, platform::DWORD DataSize)>;

// Raised by OutputSpace (and so by every send) when the port no longer tells
// its state: the device has gone, as when a plug-in adapter is pulled.
class ECommPortLost : public Exception {
public:
    using Exception::Exception;
};

// "W32S", "W95" or "WNT" for the platform the version query reports, "??"
// when the query fails, "" for a platform it does not know.
std::string PlatformTag(platform::CommApi& api = platform::SystemCommApi());
// (major version << 16) | minor version, 0 when the query fails.
platform::DWORD PlatformVersion(platform::CommApi& api = platform::SystemCommApi());

class TCommPortDriver : public TComponent {
public:
    using DWORD = platform::DWORD;
    using WORD = platform::WORD;

    // Closed, with every property at its default. `api` is the operating
    // system's serial interface; tests pass a double.
    explicit TCommPortDriver(TComponent* AOwner, platform::CommApi& api = platform::SystemCommApi());
    // Closes the port if it is open.
    ~TCommPortDriver() override;

    // Opens PortName exclusively, writes the settings, purges both queues,
    // sets the time-outs and starts the receive timer. True when the port is
    // open afterwards (at once, without reopening, when it already was);
    // false with the driver closed when the device is missing, held by
    // someone else, or refuses the settings.
    bool Connect();
    // Stops the receive timer and closes the port; nothing when closed.
    // Bytes not yet delivered are lost.
    void Disconnect();
    bool Connected() const;
    // Writes the line settings to the open port, purges both queues (so any
    // bytes waiting in either direction are discarded) and requests the
    // queue sizes. False when closed or when a step fails.
    bool ApplySettings();
    // Discards the input queue, the output queue or both. False when closed
    // or refused.
    bool PurgeQueues(bool input, bool output);

    // Free room in the output queue: OutBufSize minus the bytes waiting in
    // it; 65535 when closed. Raises ECommPortLost when the port's status
    // query fails or reports more waiting than the queue holds; the driver
    // stays connected, closing it is the caller's decision.
    WORD OutputSpace();
    // The modem input lines that are on; none when closed or when the query
    // fails.
    TModemLines ModemLines();
    // Writes `count` bytes from `data` and returns how many were written. A
    // send gives up when the output makes no progress for `timeoutMs`, or at
    // once (with CheckLineStatus) when no modem input line is on. Blocks the
    // thread meanwhile; allocates nothing. 0 when closed. Raises what
    // OutputSpace raises.
    DWORD SendDataTimed(const void* data, DWORD count, DWORD timeoutMs);
    // SendDataTimed with OutputTimeout.
    DWORD SendData(const void* data, DWORD count);
    // Sends the characters of `text` as bytes (no terminator, no line end);
    // true when all were written, which an empty text always is.
    bool SendString(std::string_view text);

    // The notification window's message handler: one poll of the input
    // queue for a timer message while connected; everything else goes to
    // the default processing.
    void PollTick(TMessage& Msg);

    TPortNumber Port() const { return FPort; }
    void SetPort(TPortNumber value);
    const std::string& PortName() const { return FPortName; }
    void SetPortName(const std::string& value);
    TBaudRate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudRate value);
    DWORD BaudRateValue() const { return FBaudRateValue; }
    void SetBaudRateValue(DWORD value);
    TDataBits DataBits() const { return FDataBits; }
    void SetDataBits(TDataBits value);
    TStopBits StopBits() const { return FStopBits; }
    void SetStopBits(TStopBits value);
    TParity Parity() const { return FParity; }
    void SetParity(TParity value);
    THwFlowControl HwFlow() const { return FHwFlow; }
    void SetHwFlow(THwFlowControl value);
    TSwFlowControl SwFlow() const { return FSwFlow; }
    void SetSwFlow(TSwFlowControl value);
    DWORD InBufSize() const { return FInBufSize; }
    void SetInBufSize(DWORD value);
    DWORD OutBufSize() const { return FOutBufSize; }
    void SetOutBufSize(DWORD value);
    std::int16_t PacketSize() const { return FPacketSize; }
    void SetPacketSize(std::int16_t value);
    std::int32_t PacketTimeout() const { return FPacketTimeout; }
    void SetPacketTimeout(std::int32_t value);
    TPacketMode PacketMode() const { return FPacketMode; }
    void SetPacketMode(TPacketMode value) { FPacketMode = value; }
    WORD PollingDelay() const { return FPollingDelay; }
    void SetPollingDelay(WORD value);
    bool EnableDTROnOpen() const { return FEnableDTROnOpen; }
    void SetEnableDTROnOpen(bool value) { FEnableDTROnOpen = value; }
    WORD OutputTimeout() const { return FOutputTimeout; }
    void SetOutputTimeout(WORD value) { FOutputTimeout = value; }
    DWORD InputTimeout() const { return FInputTimeout; }
    void SetInputTimeout(DWORD value) { FInputTimeout = value; }
    bool CheckLineStatus() const { return FCheckLineStatus; }
    void SetCheckLineStatus(bool value) { FCheckLineStatus = value; }
    const TReceiveDataEvent& OnReceiveData() const { return FOnReceiveData; }
    void SetOnReceiveData(TReceiveDataEvent value) { FOnReceiveData = std::move(value); }
    const TReceivePacketEvent& OnReceivePacket() const { return FOnReceivePacket; }
    void SetOnReceivePacket(TReceivePacketEvent value) { FOnReceivePacket = std::move(value); }

    // The line-settings record that ApplySettings writes.
    platform::DCB LineSettingsRecord() const;
    // The receive buffer (InBufSize bytes), where delivered data lies.
    const std::uint8_t* ReceiveBuffer() const { return FReceiveBuffer.data(); }
    // The tick at which the pending incomplete packet was first seen, or
    // kNoTick.
    DWORD PacketStartTick() const { return FPacketStartTick; }
    // The hidden window whose timer 1 drives receiving.
    TNotifyWindow& NotifyWindow() { return *FNotifyWindow; }

    static constexpr DWORD kNoTick = 0xFFFFFFFF;
    static constexpr WPARAM kReceiveTimerId = 1;

private:
    void ApplySettingsIfConnected();
    void Poll();
    void DeliverStream(DWORD waiting);
    void DeliverPackets(DWORD waiting);
    DWORD ReadIntoBuffer(DWORD count);

    platform::CommApi& FApi;
    platform::HANDLE FHandle = platform::INVALID_HANDLE_VALUE;
    std::unique_ptr<TNotifyWindow> FNotifyWindow;
    std::vector<std::uint8_t> FReceiveBuffer;
    DWORD FPacketStartTick = kNoTick;

    TPortNumber FPort = pnCOM2;
    std::string FPortName = "\\\\.\\COM2";
    TBaudRate FBaudRate = br9600;
    DWORD FBaudRateValue = 9600;
    TDataBits FDataBits = db8BITS;
    TStopBits FStopBits = sb1BITS;
    TParity FParity = ptNONE;
    THwFlowControl FHwFlow = hfNONERTSON;
    TSwFlowControl FSwFlow = sfNONE;
    DWORD FInBufSize = 2048;
    DWORD FOutBufSize = 2048;
    std::int16_t FPacketSize = -1;
    std::int32_t FPacketTimeout = -1;
    TPacketMode FPacketMode = pmDiscard;
    WORD FPollingDelay = 50;
    bool FEnableDTROnOpen = true;
    WORD FOutputTimeout = 500;
    DWORD FInputTimeout = 200;
    bool FCheckLineStatus = false;
    TReceiveDataEvent FOnReceiveData;
    TReceivePacketEvent FOnReceivePacket;
};
