#include "serial/LineSettings.h"

#include <cmath>
#include <iterator>
#include <limits>

using namespace platform;

DWORD NominalBaudRate(TBaudRate rate)
{
    static constexpr DWORD kRates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                       14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return rate < std::size(kRates) ? kRates[rate] : 0;
}

DWORD TransmitTimeAtRate(DWORD bitsPerSecond, DWORD size)
{
    if (bitsPerSecond == 0)
        return 0;
    // Round to nearest, halves to even, as the default floating-point mode does.
    const double ms = std::nearbyint(size / (bitsPerSecond / 10.0) * 1000.0);
    return ms >= std::numeric_limits<DWORD>::max() ? std::numeric_limits<DWORD>::max() : static_cast<DWORD>(ms);
}

DWORD PacketTransmitTime(TBaudRate rate, DWORD size)
{
    return TransmitTimeAtRate(NominalBaudRate(rate), size);
}

DCB BuildDcb(const LineSettings& s)
{
    static constexpr DWORD kRtsControl[] = {RTS_CONTROL_DISABLE, RTS_CONTROL_ENABLE, RTS_CONTROL_HANDSHAKE};
    constexpr DWORD kLimitCap = 4096;

    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = s.BaudRate;
    dcb.fBinary = 1;
    dcb.fDtrControl = s.EnableDTROnOpen ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fRtsControl = kRtsControl[s.HwFlow];
    dcb.fOutxCtsFlow = s.HwFlow == hfRTSCTS;
    dcb.fOutX = dcb.fInX = s.SwFlow == sfXONXOFF;
    DWORD limit = s.InBufSize / 4;
    if (s.CapFlowLimits && limit > kLimitCap)
        limit = kLimitCap;
    dcb.XonLim = dcb.XoffLim = static_cast<WORD>(limit);
    dcb.ByteSize = static_cast<BYTE>(5 + s.DataBits);
    dcb.Parity = s.Parity;
    dcb.StopBits = s.StopBits;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

bool CapsFlowLimits(const OSVERSIONINFOA& version)
{
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 4;
}
