// The driver's named settings and how they become the operating system's
// line-settings record. Pure: no port, no clock.
#pragma once

#include "platform/CommApi.h"

#include <cstdint>

enum TPortNumber : std::uint8_t {
    pnCustom, pnCOM1, pnCOM2, pnCOM3, pnCOM4, pnCOM5, pnCOM6, pnCOM7, pnCOM8,
    pnCOM9, pnCOM10, pnCOM11, pnCOM12, pnCOM13, pnCOM14, pnCOM15, pnCOM16,
};

enum TBaudRate : std::uint8_t {
    brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400,
    br19200, br38400, br56000, br57600, br115200, br128000, br256000,
};

enum TDataBits : std::uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
enum TStopBits : std::uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
enum TParity : std::uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum THwFlowControl : std::uint8_t { hfNONE, hfNONERTSON, hfRTSCTS };
enum TSwFlowControl : std::uint8_t { sfNONE, sfXONXOFF };
enum TPacketMode : std::uint8_t { pmDiscard, pmPass };

// The rate a named value stands for; brCustom has none and counts as 0.
platform::DWORD NominalBaudRate(TBaudRate rate);

// Milliseconds to send `size` bytes at ten bits a byte and the nominal rate of
// `rate`, to the nearest (halves to even). brCustom has no nominal rate and
// gives 0.
platform::DWORD PacketTransmitTime(TBaudRate rate, platform::DWORD size);

// The same at a rate in bits per second; 0 for a rate of 0.
platform::DWORD TransmitTimeAtRate(platform::DWORD bitsPerSecond, platform::DWORD size);

struct LineSettings {
    platform::DWORD BaudRate = 9600;
    TDataBits DataBits = db8BITS;
    TParity Parity = ptNONE;
    TStopBits StopBits = sb1BITS;
    THwFlowControl HwFlow = hfNONERTSON;
    TSwFlowControl SwFlow = sfNONE;
    bool EnableDTROnOpen = true;
    platform::DWORD InBufSize = 2048;
    // NT-family systems of version 4.0 and later take XON/XOFF limits of at
    // most 4096.
    bool CapFlowLimits = false;
};

// The record as the driver writes it: every field not named by the settings
// is zero, parity checking on input is never switched on.
platform::DCB BuildDcb(const LineSettings& settings);

// Whether a version record names an NT-family system of version 4.0 or later.
bool CapsFlowLimits(const platform::OSVERSIONINFOA& version);
