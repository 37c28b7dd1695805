// TCommPortDriver on the in-memory device: settings, connection, the send
// loop and receive delivery, driven tick by tick.
#include "serial/CPDrv.h"

#include "EventLoop.h"
#include "FakeCommApi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace platform;
using Call = FakeCommApi::Call;

namespace {

const std::string kPort = "\\\\.\\COM3";

struct Delivery {
    std::string bytes;
};

class DriverTest : public ::testing::Test {
protected:
    DriverTest() : device(api.AddDevice(kPort))
    {
        driver.SetPortName(kPort);
        driver.SetOnReceiveData([this](TObject* sender, const void* data, DWORD size) {
            EXPECT_EQ(sender, &driver);
            received.push_back({std::string(static_cast<const char*>(data), size)});
        });
        driver.SetOnReceivePacket([this](TObject* sender, const void* data, DWORD size) {
            EXPECT_EQ(sender, &driver);
            packets.push_back({std::string(static_cast<const char*>(data), size)});
        });
    }

    void Arrive(const std::string& bytes) { device.input.insert(device.input.end(), bytes.begin(), bytes.end()); }
    void Tick() { driver.NotifyWindow().Perform(WM_TIMER, TCommPortDriver::kReceiveTimerId); }
    std::string Written() const { return std::string(device.written.begin(), device.written.end()); }

    FakeCommApi api;
    FakeCommApi::Device& device;
    TCommPortDriver driver{nullptr, api};
    std::vector<Delivery> received;
    std::vector<Delivery> packets;
};

DWORD FlagWord(const DCB& dcb)
{
    DWORD flags;
    std::memcpy(&flags, reinterpret_cast<const char*>(&dcb) + kDcbFlagWordOffset, sizeof flags);
    return flags;
}

// ---- Properties

TEST_F(DriverTest, NewDriverIsClosedWithItsDefaults)
{
    FakeCommApi freshApi;
    TCommPortDriver fresh(nullptr, freshApi);
    EXPECT_FALSE(fresh.Connected());
    EXPECT_EQ(fresh.Port(), pnCOM2);
    EXPECT_EQ(fresh.PortName(), "\\\\.\\COM2");
    EXPECT_EQ(fresh.BaudRate(), br9600);
    EXPECT_EQ(fresh.BaudRateValue(), 9600u);
    EXPECT_EQ(fresh.DataBits(), db8BITS);
    EXPECT_EQ(fresh.StopBits(), sb1BITS);
    EXPECT_EQ(fresh.Parity(), ptNONE);
    EXPECT_EQ(fresh.HwFlow(), hfNONERTSON);
    EXPECT_EQ(fresh.SwFlow(), sfNONE);
    EXPECT_EQ(fresh.InBufSize(), 2048u);
    EXPECT_EQ(fresh.OutBufSize(), 2048u);
    EXPECT_EQ(fresh.PacketSize(), -1);
    EXPECT_EQ(fresh.PacketTimeout(), -1);
    EXPECT_EQ(fresh.PacketMode(), pmDiscard);
    EXPECT_EQ(fresh.PollingDelay(), 50);
    EXPECT_TRUE(fresh.EnableDTROnOpen());
    EXPECT_EQ(fresh.OutputTimeout(), 500);
    EXPECT_EQ(fresh.InputTimeout(), 200u);
    EXPECT_FALSE(fresh.CheckLineStatus());
    EXPECT_EQ(fresh.PacketStartTick(), TCommPortDriver::kNoTick);
    EXPECT_EQ(fresh.NotifyWindow().TimerInterval(TCommPortDriver::kReceiveTimerId), 0u);
    EXPECT_EQ(freshApi.CallCount(Call::CreateFile), 0);
}

TEST_F(DriverTest, PortNumberAndPortNameFollowTheNamingRule)
{
    driver.SetPort(pnCOM16);
    EXPECT_EQ(driver.PortName(), "\\\\.\\COM16");
    driver.SetPort(pnCOM12);
    EXPECT_EQ(driver.PortName(), "\\\\.\\COM12");
    driver.SetPort(pnCustom);
    EXPECT_EQ(driver.PortName(), "\\\\.\\COM12");
    driver.SetPortName("\\\\.\\COM7");
    EXPECT_EQ(driver.Port(), pnCustom);
    EXPECT_EQ(driver.PortName(), "\\\\.\\COM7");
}

TEST_F(DriverTest, BaudRateAndItsValueFollowEachOther)
{
    driver.SetBaudRateValue(9600);
    EXPECT_EQ(driver.BaudRate(), brCustom);
    EXPECT_EQ(driver.BaudRateValue(), 9600u);
    driver.SetBaudRate(br19200);
    EXPECT_EQ(driver.BaudRateValue(), 19200u);
    driver.SetBaudRate(brCustom);
    EXPECT_EQ(driver.BaudRateValue(), 19200u);
    driver.SetBaudRateValue(31250);
    EXPECT_EQ(driver.BaudRate(), brCustom);
    EXPECT_EQ(driver.LineSettingsRecord().BaudRate, 31250u);
}

TEST_F(DriverTest, BufferSizesAreClampedAndTheBufferReallocatedZeroed)
{
    driver.SetInBufSize(100);
    EXPECT_EQ(driver.InBufSize(), 128u);
    driver.SetInBufSize(10000);
    EXPECT_EQ(driver.InBufSize(), 8192u);
    driver.SetOutBufSize(100);
    EXPECT_EQ(driver.OutBufSize(), 128u);
    driver.SetOutBufSize(10000);
    EXPECT_EQ(driver.OutBufSize(), 8192u);

    // Received bytes must not survive a reallocation.
    ASSERT_TRUE(driver.Connect());
    Arrive("HELLO#");
    Tick();
    driver.Disconnect();
    driver.SetInBufSize(5000);
    EXPECT_EQ(driver.InBufSize(), 5000u);
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(driver.ReceiveBuffer()[i], 0) << "byte " << i;
}

TEST_F(DriverTest, PacketAndPollingSettersApplyTheirRules)
{
    driver.SetPollingDelay(0);
    EXPECT_EQ(driver.PollingDelay(), 5);
    driver.SetPollingDelay(50);

    driver.SetPacketSize(0);
    EXPECT_EQ(driver.PacketSize(), -1);
    driver.SetPacketSize(-5);
    EXPECT_EQ(driver.PacketSize(), -1);
    driver.SetPacketSize(3000);
    EXPECT_EQ(driver.PacketSize(), 3000);
    EXPECT_EQ(driver.InBufSize(), 3000u);
    // Beyond the largest buffer the size is kept; the buffer stops at 8192.
    driver.SetPacketSize(20000);
    EXPECT_EQ(driver.PacketSize(), 20000);
    EXPECT_EQ(driver.InBufSize(), 8192u);

    driver.SetPacketTimeout(0);
    EXPECT_EQ(driver.PacketTimeout(), -1);
    driver.SetPacketTimeout(10);
    EXPECT_EQ(driver.PacketTimeout(), 70);
    driver.SetPacketTimeout(200);
    EXPECT_EQ(driver.PacketTimeout(), 200);
    driver.SetPollingDelay(300);
    EXPECT_EQ(driver.PacketTimeout(), 420);
}

TEST_F(DriverTest, SettersWhileConnected)
{
    ASSERT_TRUE(driver.Connect());
    const auto purgesBefore = device.purges.size();

    driver.SetPortName("\\\\.\\COM9");
    driver.SetPort(pnCOM1);
    driver.SetInBufSize(4096);
    driver.SetOutBufSize(4096);
    EXPECT_EQ(driver.PortName(), kPort);
    EXPECT_EQ(driver.Port(), pnCustom);
    EXPECT_EQ(driver.InBufSize(), 2048u);
    EXPECT_EQ(driver.OutBufSize(), 2048u);
    EXPECT_EQ(device.purges.size(), purgesBefore);

    // A line setting is written to the port at once, which also purges.
    Arrive("stale");
    driver.SetParity(ptODD);
    EXPECT_EQ(device.dcb.Parity, ODDPARITY);
    EXPECT_EQ(device.purges.size(), purgesBefore + 1);
    EXPECT_TRUE(device.input.empty());
    driver.SetBaudRate(br115200);
    EXPECT_EQ(device.dcb.BaudRate, 115200u);

    // A refused setting keeps the new value and the port open.
    api.Fail(Call::SetCommState, 1);
    driver.SetDataBits(db7BITS);
    EXPECT_EQ(driver.DataBits(), db7BITS);
    EXPECT_TRUE(driver.Connected());

    // EnableDTROnOpen waits for the next write of the settings.
    driver.SetEnableDTROnOpen(false);
    EXPECT_EQ(device.dcb.fDtrControl, DTR_CONTROL_ENABLE);
    driver.ApplySettings();
    EXPECT_EQ(device.dcb.fDtrControl, DTR_CONTROL_DISABLE);

    driver.SetPollingDelay(120);
    EXPECT_EQ(driver.NotifyWindow().TimerInterval(TCommPortDriver::kReceiveTimerId), 120u);
}

TEST_F(DriverTest, SettingsRecordForSevenEvenTwoWithBothFlowControls)
{
    driver.SetDataBits(db7BITS);
    driver.SetParity(ptEVEN);
    driver.SetStopBits(sb2BITS);
    driver.SetHwFlow(hfRTSCTS);
    driver.SetSwFlow(sfXONXOFF);
    driver.SetEnableDTROnOpen(false);
    driver.SetInBufSize(5000);
    ASSERT_TRUE(driver.Connect());

    const DCB& dcb = device.dcb;
    EXPECT_EQ(dcb.DCBlength, 28u);
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, 2);
    EXPECT_EQ(dcb.StopBits, 2);
    EXPECT_EQ(FlagWord(dcb), 0x2305u);
    EXPECT_EQ(dcb.XonLim, 1250);
    EXPECT_EQ(dcb.XoffLim, 1250);
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    EXPECT_EQ(dcb.ErrorChar, 0);
    EXPECT_EQ(dcb.EofChar, 0);
    EXPECT_EQ(dcb.EvtChar, 0);
    EXPECT_EQ(dcb.wReserved, 0);
    EXPECT_EQ(dcb.wReserved1, 0);
}

// ---- Connection

TEST_F(DriverTest, ConnectOpensConfiguresAndStartsTheReceiveTimer)
{
    driver.SetInBufSize(5000);
    driver.SetOutBufSize(1024);
    ASSERT_TRUE(driver.Connect());
    EXPECT_TRUE(driver.Connected());
    EXPECT_TRUE(device.open);
    EXPECT_EQ(FlagWord(device.dcb), 0x1011u);  // binary, DTR on, RTS on
    ASSERT_EQ(device.purges.size(), 1u);
    EXPECT_EQ(device.purges[0], PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    EXPECT_EQ(device.inQueueSize, 5000u);
    EXPECT_EQ(device.outQueueSize, 1024u);
    EXPECT_EQ(device.timeouts.ReadIntervalTimeout, 1u);
    EXPECT_EQ(device.timeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(device.timeouts.ReadTotalTimeoutConstant, 1u);
    EXPECT_EQ(device.timeouts.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(device.timeouts.WriteTotalTimeoutConstant, 10u);
    EXPECT_EQ(driver.NotifyWindow().TimerInterval(TCommPortDriver::kReceiveTimerId), 50u);

    EXPECT_TRUE(driver.Connect());
    EXPECT_EQ(device.opens, 1);

    driver.Disconnect();
    EXPECT_FALSE(driver.Connected());
    EXPECT_FALSE(device.open);
    EXPECT_EQ(driver.NotifyWindow().TimerInterval(TCommPortDriver::kReceiveTimerId), 0u);
    driver.Disconnect();
    EXPECT_EQ(api.CallCount(Call::CloseHandle), 1);
}

TEST_F(DriverTest, ConnectFailsClosedWhenThePortCannotBeOpenedOrConfigured)
{
    driver.SetPortName("\\\\.\\COM99");
    EXPECT_FALSE(driver.Connect());
    EXPECT_FALSE(driver.Connected());
    driver.SetPortName(kPort);

    for (Call step : {Call::SetCommState, Call::PurgeComm, Call::SetupComm}) {
        api.Fail(step, 1);
        EXPECT_FALSE(driver.Connect());
        EXPECT_FALSE(driver.Connected());
        EXPECT_FALSE(device.open) << "the port must be closed again";
        EXPECT_EQ(driver.NotifyWindow().TimerInterval(TCommPortDriver::kReceiveTimerId), 0u);
    }

    // The time-outs' result does not count.
    api.Fail(Call::SetCommTimeouts, 1);
    EXPECT_TRUE(driver.Connect());
}

TEST_F(DriverTest, AccessIsExclusive)
{
    ASSERT_TRUE(driver.Connect());
    TCommPortDriver second(nullptr, api);
    second.SetPortName(kPort);
    EXPECT_FALSE(second.Connect());
    driver.Disconnect();
    EXPECT_TRUE(second.Connect());
}

TEST_F(DriverTest, DestroyingTheDriverClosesThePort)
{
    {
        TCommPortDriver scoped(nullptr, api);
        scoped.SetPortName(kPort);
        ASSERT_TRUE(scoped.Connect());
        EXPECT_TRUE(device.open);
    }
    EXPECT_FALSE(device.open);
}

TEST_F(DriverTest, PurgeQueuesNeedsAnOpenPortAndResetsThePendingPacket)
{
    EXPECT_FALSE(driver.PurgeQueues(true, true));
    driver.SetPacketSize(4);
    ASSERT_TRUE(driver.Connect());
    Arrive("ab");
    Tick();
    ASSERT_NE(driver.PacketStartTick(), TCommPortDriver::kNoTick);
    EXPECT_TRUE(driver.PurgeQueues(false, true));
    EXPECT_EQ(device.purges.back(), PURGE_TXABORT | PURGE_TXCLEAR);
    EXPECT_EQ(driver.PacketStartTick(), TCommPortDriver::kNoTick);
    api.Fail(Call::PurgeComm, 1);
    EXPECT_FALSE(driver.PurgeQueues(true, false));
}

// ---- Sending

TEST_F(DriverTest, SendStringWritesTheBytesInOneWrite)
{
    ASSERT_TRUE(driver.Connect());
    EXPECT_TRUE(driver.SendString("V#"));
    EXPECT_EQ(device.written, (std::vector<std::uint8_t>{0x56, 0x23}));
    EXPECT_EQ(device.writeSizes, std::vector<DWORD>{2});
}

TEST_F(DriverTest, EmptyAndClosedSends)
{
    EXPECT_TRUE(driver.SendString(""));
    EXPECT_FALSE(driver.SendString("V#"));
    EXPECT_EQ(driver.SendData("V#", 2), 0u);
    EXPECT_EQ(driver.OutputSpace(), 65535);
    EXPECT_EQ(driver.ModemLines(), 0);

    ASSERT_TRUE(driver.Connect());
    EXPECT_TRUE(driver.SendString(""));
    EXPECT_EQ(driver.SendData("V#", 0), 0u);
    EXPECT_TRUE(device.writeSizes.empty());
}

TEST_F(DriverTest, AFullOutputQueueEndsTheSendAfterTheTimeout)
{
    ASSERT_TRUE(driver.Connect());
    device.outQueued = driver.OutBufSize();
    api.tickStep = 1;
    const DWORD start = api.now;
    EXPECT_EQ(driver.SendData("V#", 2), 0u);
    const DWORD elapsed = api.now - start;
    EXPECT_GT(elapsed, 500u);
    EXPECT_LT(elapsed, 510u);
    EXPECT_TRUE(device.writeSizes.empty());
}

TEST_F(DriverTest, ASendReturnsWhatWasWrittenBeforeTheQueueStalled)
{
    ASSERT_TRUE(driver.Connect());
    device.acceptLimit = 5;
    api.tickStep = 1;
    EXPECT_FALSE(driver.SendString("0123456789"));
    EXPECT_EQ(Written(), "01234");

    // The time-out counts from the last progress, not from the start.
    device.written.clear();
    device.acceptLimit = 3;
    const DWORD start = api.now;
    EXPECT_EQ(driver.SendDataTimed("abcdef", 6, 100), 3u);
    EXPECT_GT(api.now - start, 100u);
}

TEST_F(DriverTest, ALargeBlockGoesOutInPassesOfAtMostTheFreeRoom)
{
    ASSERT_TRUE(driver.Connect());
    device.outQueued = driver.OutBufSize() - 10;
    const std::string block(25, 'x');
    EXPECT_EQ(driver.SendData(block.data(), 25), 25u);
    EXPECT_EQ(device.writeSizes, (std::vector<DWORD>{10, 10, 5}));
    EXPECT_EQ(Written(), block);
}

TEST_F(DriverTest, TheTimeoutSurvivesTheWrapOfTheTickCounter)
{
    ASSERT_TRUE(driver.Connect());
    device.outQueued = driver.OutBufSize();
    api.now = 0xFFFFFF00;
    api.tickStep = 1;
    EXPECT_EQ(driver.SendDataTimed("V#", 2, 500), 0u);
    // One reading to start, then one a pass until 501 ms have passed.
    EXPECT_EQ(api.now - 0xFFFFFF00u, 502u);
}

TEST_F(DriverTest, CheckLineStatusStopsASendWhenNoModemLineIsOn)
{
    ASSERT_TRUE(driver.Connect());
    driver.SetCheckLineStatus(true);
    EXPECT_EQ(driver.SendData("V#", 2), 0u);
    EXPECT_TRUE(device.writeSizes.empty());

    device.modemStatus = MS_DSR_ON;
    EXPECT_EQ(driver.SendData("V#", 2), 2u);

    api.Fail(Call::GetCommModemStatus);
    EXPECT_EQ(driver.SendData("V#", 2), 0u);
}

TEST_F(DriverTest, ModemLinesMapTheStatusBits)
{
    ASSERT_TRUE(driver.Connect());
    const struct {
        DWORD status;
        TModemLines lines;
    } cases[] = {
        {0, 0},
        {MS_CTS_ON, lnCTS},
        {MS_DSR_ON, lnDSR},
        {MS_RING_ON, lnRING},
        {MS_RLSD_ON, lnRLSD},
        {MS_CTS_ON | MS_RLSD_ON | 0x0F, lnCTS | lnRLSD},
    };
    for (const auto& c : cases) {
        device.modemStatus = c.status;
        EXPECT_EQ(driver.ModemLines(), c.lines) << "status " << c.status;
    }
}

TEST_F(DriverTest, LosingThePortStatusRaisesAndLeavesTheDriverConnected)
{
    ASSERT_TRUE(driver.Connect());
    api.Fail(Call::ClearCommError);
    EXPECT_THROW(driver.SendString("V#"), ECommPortLost);
    EXPECT_TRUE(driver.Connected());
    api.Heal(Call::ClearCommError);

    device.outQueued = driver.OutBufSize() + 1;
    try {
        driver.OutputSpace();
        FAIL() << "an output queue over its size must raise";
    } catch (const ECommPortLost& error) {
        EXPECT_NE(std::string(error.what()).find(kPort), std::string::npos) << error.what();
    }
    EXPECT_TRUE(driver.Connected());
}

// ---- Receiving: stream delivery

TEST_F(DriverTest, EachTickDeliversEverythingWaitingInOneEvent)
{
    ASSERT_TRUE(driver.Connect());
    Tick();
    EXPECT_TRUE(received.empty());

    Arrive("HELLO#");
    Tick();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].bytes, "HELLO#");

    // The bytes behind the data are left from the earlier, longer read.
    Arrive("17.9");
    Tick();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].bytes, "17.9");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(driver.ReceiveBuffer()), 6), "17.9O#");

    Tick();
    EXPECT_EQ(received.size(), 2u);
}

TEST_F(DriverTest, NothingIsDeliveredWhileClosedOrForOtherMessages)
{
    Arrive("HELLO#");
    Tick();
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(api.CallCount(Call::ClearCommError), 0);

    ASSERT_TRUE(driver.Connect());
    Arrive("HELLO#");
    EXPECT_EQ(driver.NotifyWindow().Perform(0x0400, 1), 0);
    EXPECT_TRUE(received.empty());
}

TEST_F(DriverTest, WithoutAHandlerBytesAreReadAndDropped)
{
    driver.SetOnReceiveData(nullptr);
    ASSERT_TRUE(driver.Connect());
    Arrive("19.53#");
    Tick();
    EXPECT_TRUE(device.input.empty());
}

TEST_F(DriverTest, AFailedStatusQueryOrReadDeliversNothingUntilTheNextTick)
{
    ASSERT_TRUE(driver.Connect());
    Arrive("19.53#");
    api.Fail(Call::ClearCommError, 1);
    Tick();
    api.Fail(Call::ReadFile, 1);
    Tick();
    EXPECT_TRUE(received.empty());
    Arrive("19.60#");
    Tick();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].bytes, "19.53#19.60#");
}

TEST_F(DriverTest, NoReadAsksForMoreThanTheBuffer)
{
    driver.SetInBufSize(128);
    ASSERT_TRUE(driver.Connect());
    std::string flood;
    for (int i = 0; i < 300; ++i)
        flood += static_cast<char>('A' + i % 26);
    Arrive(flood);
    Tick();
    Tick();
    Tick();
    EXPECT_EQ(api.readSizes, (std::vector<DWORD>{128, 128, 44}));
    std::string joined;
    for (const auto& d : received)
        joined += d.bytes;
    EXPECT_EQ(joined, flood);
}

// ---- Receiving: packet delivery

TEST_F(DriverTest, CompletePacketsAllArriveInOneTick)
{
    driver.SetPacketSize(4);
    ASSERT_TRUE(driver.Connect());
    Arrive("0123456789");
    Tick();
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].bytes, "0123");
    EXPECT_EQ(packets[1].bytes, "4567");
    EXPECT_EQ(device.input.size(), 2u);
    EXPECT_TRUE(received.empty());
}

TEST_F(DriverTest, AnIncompletePacketIsPassedOrDroppedAfterItsTimeout)
{
    for (TPacketMode mode : {pmPass, pmDiscard}) {
        packets.clear();
        driver.Disconnect();
        driver.SetPacketSize(4);
        driver.SetPacketTimeout(100);
        driver.SetPacketMode(mode);
        ASSERT_TRUE(driver.Connect());

        api.now = 5000;
        Arrive("ab");
        Tick();
        EXPECT_EQ(driver.PacketStartTick(), 5000u);
        api.now = 5100;
        Tick();
        EXPECT_TRUE(packets.empty()) << "not yet more than 100 ms";
        api.now = 5101;
        Tick();
        EXPECT_TRUE(device.input.empty());
        EXPECT_EQ(driver.PacketStartTick(), TCommPortDriver::kNoTick);
        if (mode == pmPass) {
            ASSERT_EQ(packets.size(), 1u);
            EXPECT_EQ(packets[0].bytes, "ab");
        } else {
            EXPECT_TRUE(packets.empty());
        }
    }
}

TEST_F(DriverTest, WithoutATimeoutAnIncompletePacketWaits)
{
    driver.SetPacketSize(4);
    ASSERT_TRUE(driver.Connect());
    Arrive("ab");
    Tick();
    api.now += 100000;
    Tick();
    EXPECT_TRUE(packets.empty());
    EXPECT_EQ(device.input.size(), 2u);
}

TEST_F(DriverTest, DeliveredPacketsAdvanceTheStartOfThePendingOne)
{
    driver.SetPacketSize(4);
    ASSERT_TRUE(driver.Connect());
    api.now = 2000;
    Arrive("ab");
    Tick();
    Arrive("cdef");  // six waiting: one packet, two left
    Tick();
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(driver.PacketStartTick(), 2000u + PacketTransmitTime(br9600, 4));
    Arrive("gh");
    Tick();
    EXPECT_EQ(packets.size(), 2u);
    EXPECT_EQ(driver.PacketStartTick(), TCommPortDriver::kNoTick);
}

TEST_F(DriverTest, APacketReadNeverExceedsTheBuffer)
{
    ASSERT_TRUE(driver.Connect());
    driver.SetPacketSize(3000);  // open: the buffer cannot grow
    EXPECT_EQ(driver.InBufSize(), 2048u);
    Arrive(std::string(5000, 'p'));
    Tick();
    ASSERT_FALSE(api.readSizes.empty());
    for (DWORD size : api.readSizes)
        EXPECT_LE(size, 2048u);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].bytes.size(), 2048u);
}

TEST_F(DriverTest, AnErrorFromTheHandlerEndsThePacketLoop)
{
    driver.SetPacketSize(2);
    driver.SetOnReceivePacket([](TObject*, const void*, DWORD) { throw Exception("handler failed"); });
    ASSERT_TRUE(driver.Connect());
    Arrive("aabbcc");
    EXPECT_THROW(Tick(), Exception);
    EXPECT_EQ(device.input.size(), 4u);
}

TEST_F(DriverTest, AHandlerThatDisconnectsEndsThePacketLoop)
{
    driver.SetPacketSize(2);
    driver.SetOnReceivePacket([this](TObject*, const void*, DWORD) { driver.Disconnect(); });
    ASSERT_TRUE(driver.Connect());
    Arrive("aabbcc");
    Tick();
    EXPECT_EQ(api.readSizes.size(), 1u);
}

// ---- The receive timer on Qt's event loop

TEST_F(DriverTest, TheReceiveTimerTicksFromTheEventLoop)
{
    driver.SetPollingDelay(10);
    ASSERT_TRUE(driver.Connect());
    Arrive("HELLO#");
    ASSERT_TRUE(WaitUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received[0].bytes, "HELLO#");
}

TEST_F(DriverTest, AnErrorFromATimerTickIsReportedAndPollingGoesOn)
{
    std::vector<std::string> reported;
    SetExceptionHandler([&](const std::exception& e) { reported.push_back(e.what()); });
    int calls = 0;
    driver.SetOnReceiveData([&](TObject*, const void*, DWORD) {
        if (++calls == 1)
            throw Exception("Invalid reading");
    });
    driver.SetPollingDelay(10);
    ASSERT_TRUE(driver.Connect());
    Arrive("x");
    ASSERT_TRUE(WaitUntil([&] { return calls == 1; }));
    Arrive("y");
    EXPECT_TRUE(WaitUntil([&] { return calls == 2; }));
    SetExceptionHandler(nullptr);
    EXPECT_EQ(reported, std::vector<std::string>{"Invalid reading"});
}

// ---- Platform identification

TEST_F(DriverTest, PlatformTagAndVersion)
{
    const struct {
        DWORD platform;
        const char* tag;
    } cases[] = {{0, "W32S"}, {1, "W95"}, {2, "WNT"}, {3, ""}};
    for (const auto& c : cases) {
        api.version.dwPlatformId = c.platform;
        EXPECT_EQ(PlatformTag(api), c.tag);
    }
    api.version.dwMajorVersion = 10;
    api.version.dwMinorVersion = 3;
    EXPECT_EQ(PlatformVersion(api), 0x000A0003u);

    api.Fail(Call::GetVersionEx);
    EXPECT_EQ(PlatformTag(api), "??");
    EXPECT_EQ(PlatformVersion(api), 0u);
}

}  // namespace
