// What the serial-layer tests of every system open ports and set lines with.
#pragma once

#include "platform/CommApi.h"

#include <string>

// Read and write, as the driver opens a port; share mode 0 is exclusive.
inline platform::HANDLE OpenReadWrite(platform::CommApi& api, const std::string& name, platform::DWORD share = 0)
{
    return api.CreateFileA(name.c_str(), platform::GENERIC_READ | platform::GENERIC_WRITE, share, nullptr,
                           platform::OPEN_EXISTING, platform::FILE_ATTRIBUTE_NORMAL, nullptr);
}

// 8 data bits, no parity, one stop bit, DTR and RTS on, no flow control.
inline platform::DCB PlainLine(platform::DWORD rate = 9600)
{
    platform::DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = rate;
    dcb.fBinary = 1;
    dcb.fDtrControl = platform::DTR_CONTROL_ENABLE;
    dcb.fRtsControl = platform::RTS_CONTROL_ENABLE;
    dcb.ByteSize = 8;
    dcb.Parity = platform::NOPARITY;
    dcb.StopBits = platform::ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}
