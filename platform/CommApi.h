// The operating system's serial-port interface, in the shape the driver is
// written against: the Windows communications calls with their records and
// constants. Each operating system supplies one implementation of CommApi
// (chosen by the build); tests supply an in-memory double. On Windows the
// records and constants here are the system's own, bit for bit, which
// win32/Win32CommApi.cpp proves at compile time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using BOOL = int;
using HANDLE = void*;
using LPCSTR = const char*;

inline constexpr BOOL FALSE = 0;
inline constexpr BOOL TRUE = 1;

// All bits set, as the open call reports failure.
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

// CreateFileA
inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// PurgeComm
inline constexpr DWORD PURGE_TXABORT = 0x0001;
inline constexpr DWORD PURGE_RXABORT = 0x0002;
inline constexpr DWORD PURGE_TXCLEAR = 0x0004;
inline constexpr DWORD PURGE_RXCLEAR = 0x0008;

// GetCommModemStatus
inline constexpr DWORD MS_CTS_ON = 0x0010;
inline constexpr DWORD MS_DSR_ON = 0x0020;
inline constexpr DWORD MS_RING_ON = 0x0040;
inline constexpr DWORD MS_RLSD_ON = 0x0080;

// DCB codes
inline constexpr BYTE NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3, SPACEPARITY = 4;
inline constexpr BYTE ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;
inline constexpr DWORD DTR_CONTROL_DISABLE = 0, DTR_CONTROL_ENABLE = 1, DTR_CONTROL_HANDSHAKE = 2;
inline constexpr DWORD RTS_CONTROL_DISABLE = 0, RTS_CONTROL_ENABLE = 1, RTS_CONTROL_HANDSHAKE = 2,
                       RTS_CONTROL_TOGGLE = 3;

// GetLastError codes the implementations report.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_GEN_FAILURE = 31;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_BAD_UNIT = 20;
inline constexpr DWORD ERROR_DEVICE_REMOVED = 1617;
inline constexpr DWORD ERROR_OPERATION_ABORTED = 995;
inline constexpr DWORD ERROR_INVALID_FUNCTION = 1;

// The line-settings record, bit for bit: 28 bytes, the flags packed into one
// 32-bit word from its least significant bit up.
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
static_assert(sizeof(DCB) == 28, "DCB must keep the operating system's 28-byte layout");

// Byte offset of the flag word inside DCB, for code that checks it as one value.
inline constexpr std::size_t kDcbFlagWordOffset = 8;

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};

// Line state returned by ClearCommError: the hold flags packed into one word,
// then the counts of bytes waiting in the input and output queues.
struct COMSTAT {
    DWORD fCtsHold : 1;
    DWORD fDsrHold : 1;
    DWORD fRlsdHold : 1;
    DWORD fXoffHold : 1;
    DWORD fXoffSent : 1;
    DWORD fEof : 1;
    DWORD fTxim : 1;
    DWORD fReserved : 25;
    DWORD cbInQue;
    DWORD cbOutQue;
};

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};

// The calls, with the Windows contracts: BOOL results are TRUE on success and
// FALSE on failure with the reason in GetLastError(); counts report what was
// actually moved, also on failure. Only the synchronous forms exist: the
// overlapped and security arguments must be null.
class CommApi {
public:
    virtual ~CommApi() = default;

    virtual HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                               DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;
    virtual BOOL SetCommState(HANDLE handle, const DCB* dcb) = 0;
    virtual BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue) = 0;
    virtual BOOL PurgeComm(HANDLE handle, DWORD flags) = 0;
    virtual BOOL SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts) = 0;
    virtual BOOL ClearCommError(HANDLE handle, DWORD* errors, COMSTAT* stat) = 0;
    virtual BOOL ReadFile(HANDLE handle, void* buffer, DWORD toRead, DWORD* read, void* overlapped) = 0;
    virtual BOOL WriteFile(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped) = 0;
    virtual BOOL GetCommModemStatus(HANDLE handle, DWORD* modemStat) = 0;
    virtual DWORD GetTickCount() = 0;
    virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;
    virtual DWORD GetLastError() = 0;
};

// The implementation for the operating system the program runs on. It lives
// for the whole process.
CommApi& SystemCommApi();

}  // namespace platform
