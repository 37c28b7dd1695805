// The pure pieces of the driver: nominal rates, transmit times and the
// line-settings record.
#include "serial/LineSettings.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace platform;

namespace {

DWORD FlagWord(const DCB& dcb)
{
    DWORD flags;
    std::memcpy(&flags, reinterpret_cast<const char*>(&dcb) + kDcbFlagWordOffset, sizeof flags);
    return flags;
}

TEST(LineSettings, NominalRates)
{
    const DWORD expected[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                              14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    for (int rate = brCustom; rate <= br256000; ++rate)
        EXPECT_EQ(NominalBaudRate(static_cast<TBaudRate>(rate)), expected[rate]) << "ordinal " << rate;
}

TEST(LineSettings, TransmitTimeRoundsHalvesToEven)
{
    EXPECT_EQ(PacketTransmitTime(br9600, 16), 17u);  // 16.67
    EXPECT_EQ(PacketTransmitTime(br9600, 12), 12u);  // 12.5
    EXPECT_EQ(PacketTransmitTime(br9600, 36), 38u);  // 37.5
    EXPECT_EQ(PacketTransmitTime(br110, 1), 91u);    // 90.9
    EXPECT_EQ(PacketTransmitTime(br256000, 4096), 160u);
    EXPECT_EQ(PacketTransmitTime(br9600, 0), 0u);
    EXPECT_EQ(PacketTransmitTime(brCustom, 16), 0u);
    EXPECT_EQ(TransmitTimeAtRate(31250, 100), 32u);
    EXPECT_EQ(TransmitTimeAtRate(0, 100), 0u);
}

TEST(LineSettings, DefaultRecord)
{
    const DCB dcb = BuildDcb(LineSettings{});
    EXPECT_EQ(dcb.DCBlength, sizeof(DCB));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(FlagWord(dcb), 0x1011u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.XonLim, 512);
}

TEST(LineSettings, FlowControlFlags)
{
    const struct {
        THwFlowControl hw;
        TSwFlowControl sw;
        bool dtr;
        DWORD flags;
    } cases[] = {
        {hfNONE, sfNONE, false, 0x0001},
        {hfNONE, sfNONE, true, 0x0011},
        {hfNONERTSON, sfNONE, true, 0x1011},
        {hfRTSCTS, sfNONE, true, 0x2015},
        {hfNONE, sfXONXOFF, false, 0x0301},
        {hfRTSCTS, sfXONXOFF, false, 0x2305},
    };
    for (const auto& c : cases) {
        LineSettings settings;
        settings.HwFlow = c.hw;
        settings.SwFlow = c.sw;
        settings.EnableDTROnOpen = c.dtr;
        EXPECT_EQ(FlagWord(BuildDcb(settings)), c.flags) << "hw " << int(c.hw) << " sw " << int(c.sw);
    }
}

TEST(LineSettings, CharacterFormatCodes)
{
    LineSettings settings;
    settings.DataBits = db5BITS;
    settings.Parity = ptSPACE;
    settings.StopBits = sb1HALFBITS;
    const DCB dcb = BuildDcb(settings);
    EXPECT_EQ(dcb.ByteSize, 5);
    EXPECT_EQ(dcb.Parity, SPACEPARITY);
    EXPECT_EQ(dcb.StopBits, ONE5STOPBITS);
    EXPECT_EQ(dcb.fParity, 0u) << "parity checking on input stays off";
}

TEST(LineSettings, FlowLimitsAreCappedOnNewerNtSystems)
{
    LineSettings settings;
    settings.InBufSize = 20000;
    EXPECT_EQ(BuildDcb(settings).XonLim, 5000);
    settings.CapFlowLimits = true;
    EXPECT_EQ(BuildDcb(settings).XonLim, 4096);
    EXPECT_EQ(BuildDcb(settings).XoffLim, 4096);

    OSVERSIONINFOA version{};
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    version.dwMajorVersion = 4;
    EXPECT_TRUE(CapsFlowLimits(version));
    version.dwMajorVersion = 3;
    EXPECT_FALSE(CapsFlowLimits(version));
    version.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    version.dwMajorVersion = 4;
    EXPECT_FALSE(CapsFlowLimits(version));
}

}  // namespace
