// The serial interface on Windows: every call goes straight to the system's
// function of the same name. CommApi.h declares its own records and
// constants so that it compiles anywhere; here, where the system's are at
// hand, they are proved identical at compile time, so that a record passes
// as a bit-for-bit copy and a constant as it is.

#include "platform/CommApi.h"

#include "platform/win32/SameAsSystem.h"

// Our constants, captured under other names before <windows.h> makes these
// names its macros, to be checked against those below.
#define UMBRASCOPE_COMM_CONSTANTS(X)                                                                          \
    X(TRUE) X(FALSE) X(GENERIC_READ) X(GENERIC_WRITE) X(OPEN_EXISTING) X(FILE_ATTRIBUTE_NORMAL)               \
    X(PURGE_TXABORT) X(PURGE_RXABORT) X(PURGE_TXCLEAR) X(PURGE_RXCLEAR)                                       \
    X(MS_CTS_ON) X(MS_DSR_ON) X(MS_RING_ON) X(MS_RLSD_ON)                                                     \
    X(NOPARITY) X(ODDPARITY) X(EVENPARITY) X(MARKPARITY) X(SPACEPARITY)                                       \
    X(ONESTOPBIT) X(ONE5STOPBITS) X(TWOSTOPBITS)                                                              \
    X(DTR_CONTROL_DISABLE) X(DTR_CONTROL_ENABLE) X(DTR_CONTROL_HANDSHAKE)                                     \
    X(RTS_CONTROL_DISABLE) X(RTS_CONTROL_ENABLE) X(RTS_CONTROL_HANDSHAKE) X(RTS_CONTROL_TOGGLE)               \
    X(ERROR_SUCCESS) X(ERROR_FILE_NOT_FOUND) X(ERROR_ACCESS_DENIED) X(ERROR_INVALID_HANDLE)                   \
    X(ERROR_GEN_FAILURE) X(ERROR_SHARING_VIOLATION) X(ERROR_NOT_SUPPORTED) X(ERROR_INVALID_PARAMETER)         \
    X(ERROR_BAD_UNIT) X(ERROR_DEVICE_REMOVED) X(ERROR_OPERATION_ABORTED) X(ERROR_INVALID_FUNCTION)            \
    X(VER_PLATFORM_WIN32s) X(VER_PLATFORM_WIN32_WINDOWS) X(VER_PLATFORM_WIN32_NT)
UMBRASCOPE_COMM_CONSTANTS(UMBRASCOPE_CAPTURE_CONSTANT)

#include <windows.h>

#include <bit>
#include <cstddef>

UMBRASCOPE_COMM_CONSTANTS(UMBRASCOPE_CHECK_CONSTANT)

UMBRASCOPE_SAME_SIZE(DCB);
UMBRASCOPE_SAME_FIELD(DCB, DCBlength);
UMBRASCOPE_SAME_FIELD(DCB, BaudRate);
UMBRASCOPE_SAME_FLAG(DCB, fBinary);
UMBRASCOPE_SAME_FLAG(DCB, fParity);
UMBRASCOPE_SAME_FLAG(DCB, fOutxCtsFlow);
UMBRASCOPE_SAME_FLAG(DCB, fOutxDsrFlow);
UMBRASCOPE_SAME_FLAG(DCB, fDtrControl);
UMBRASCOPE_SAME_FLAG(DCB, fDsrSensitivity);
UMBRASCOPE_SAME_FLAG(DCB, fTXContinueOnXoff);
UMBRASCOPE_SAME_FLAG(DCB, fOutX);
UMBRASCOPE_SAME_FLAG(DCB, fInX);
UMBRASCOPE_SAME_FLAG(DCB, fErrorChar);
UMBRASCOPE_SAME_FLAG(DCB, fNull);
UMBRASCOPE_SAME_FLAG(DCB, fRtsControl);
UMBRASCOPE_SAME_FLAG(DCB, fAbortOnError);
UMBRASCOPE_SAME_FLAG(DCB, fDummy2);
UMBRASCOPE_SAME_FIELD(DCB, wReserved);
UMBRASCOPE_SAME_FIELD(DCB, XonLim);
UMBRASCOPE_SAME_FIELD(DCB, XoffLim);
UMBRASCOPE_SAME_FIELD(DCB, ByteSize);
UMBRASCOPE_SAME_FIELD(DCB, Parity);
UMBRASCOPE_SAME_FIELD(DCB, StopBits);
UMBRASCOPE_SAME_FIELD(DCB, XonChar);
UMBRASCOPE_SAME_FIELD(DCB, XoffChar);
UMBRASCOPE_SAME_FIELD(DCB, ErrorChar);
UMBRASCOPE_SAME_FIELD(DCB, EofChar);
UMBRASCOPE_SAME_FIELD(DCB, EvtChar);
UMBRASCOPE_SAME_FIELD(DCB, wReserved1);
static_assert(platform::kDcbFlagWordOffset == offsetof(::DCB, BaudRate) + sizeof(::DWORD));

UMBRASCOPE_SAME_SIZE(COMMTIMEOUTS);
UMBRASCOPE_SAME_FIELD(COMMTIMEOUTS, ReadIntervalTimeout);
UMBRASCOPE_SAME_FIELD(COMMTIMEOUTS, ReadTotalTimeoutMultiplier);
UMBRASCOPE_SAME_FIELD(COMMTIMEOUTS, ReadTotalTimeoutConstant);
UMBRASCOPE_SAME_FIELD(COMMTIMEOUTS, WriteTotalTimeoutMultiplier);
UMBRASCOPE_SAME_FIELD(COMMTIMEOUTS, WriteTotalTimeoutConstant);

UMBRASCOPE_SAME_SIZE(COMSTAT);
UMBRASCOPE_SAME_FLAG(COMSTAT, fCtsHold);
UMBRASCOPE_SAME_FLAG(COMSTAT, fDsrHold);
UMBRASCOPE_SAME_FLAG(COMSTAT, fRlsdHold);
UMBRASCOPE_SAME_FLAG(COMSTAT, fXoffHold);
UMBRASCOPE_SAME_FLAG(COMSTAT, fXoffSent);
UMBRASCOPE_SAME_FLAG(COMSTAT, fEof);
UMBRASCOPE_SAME_FLAG(COMSTAT, fTxim);
UMBRASCOPE_SAME_FLAG(COMSTAT, fReserved);
UMBRASCOPE_SAME_FIELD(COMSTAT, cbInQue);
UMBRASCOPE_SAME_FIELD(COMSTAT, cbOutQue);

UMBRASCOPE_SAME_SIZE(OSVERSIONINFOA);
UMBRASCOPE_SAME_FIELD(OSVERSIONINFOA, dwOSVersionInfoSize);
UMBRASCOPE_SAME_FIELD(OSVERSIONINFOA, dwMajorVersion);
UMBRASCOPE_SAME_FIELD(OSVERSIONINFOA, dwMinorVersion);
UMBRASCOPE_SAME_FIELD(OSVERSIONINFOA, dwBuildNumber);
UMBRASCOPE_SAME_FIELD(OSVERSIONINFOA, dwPlatformId);
UMBRASCOPE_SAME_FIELD(OSVERSIONINFOA, szCSDVersion);

namespace platform {
namespace {

// The system's declarations take the records it only reads as non-const
// pointers, and its DWORD is another type of the same size as ours (unsigned
// long): each call goes through copies of the system's own types.
class Win32CommApi final : public CommApi {
public:
    HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                       DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) override
    {
        return ::CreateFileA(fileName, desiredAccess, shareMode, static_cast<LPSECURITY_ATTRIBUTES>(securityAttributes),
                             creationDisposition, flagsAndAttributes, templateFile);
    }

    BOOL CloseHandle(HANDLE handle) override
    {
        return ::CloseHandle(handle);
    }

    BOOL SetCommState(HANDLE handle, const DCB* dcb) override
    {
        if (dcb == nullptr)
            return ::SetCommState(handle, nullptr);
        ::DCB system = std::bit_cast<::DCB>(*dcb);
        return ::SetCommState(handle, &system);
    }

    BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue) override
    {
        return ::SetupComm(handle, inQueue, outQueue);
    }

    BOOL PurgeComm(HANDLE handle, DWORD flags) override
    {
        return ::PurgeComm(handle, flags);
    }

    BOOL SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts) override
    {
        if (timeouts == nullptr)
            return ::SetCommTimeouts(handle, nullptr);
        ::COMMTIMEOUTS system = std::bit_cast<::COMMTIMEOUTS>(*timeouts);
        return ::SetCommTimeouts(handle, &system);
    }

    BOOL ClearCommError(HANDLE handle, DWORD* errors, COMSTAT* stat) override
    {
        ::DWORD systemErrors = 0;
        ::COMSTAT systemStat{};
        const BOOL ok =
            ::ClearCommError(handle, errors != nullptr ? &systemErrors : nullptr, stat != nullptr ? &systemStat : nullptr);
        // As the system does: on failure the caller's records stay as they were.
        if (ok && errors != nullptr)
            *errors = systemErrors;
        if (ok && stat != nullptr)
            *stat = std::bit_cast<COMSTAT>(systemStat);
        return ok;
    }

    // The count is 0 unless the system reports bytes moved: Windows clears
    // it first, but Wine leaves it untouched on some failures.
    BOOL ReadFile(HANDLE handle, void* buffer, DWORD toRead, DWORD* read, void* overlapped) override
    {
        ::DWORD done = 0;
        const BOOL ok =
            ::ReadFile(handle, buffer, toRead, read != nullptr ? &done : nullptr, static_cast<LPOVERLAPPED>(overlapped));
        if (read != nullptr)
            *read = done;
        return ok;
    }

    BOOL WriteFile(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written, void* overlapped) override
    {
        ::DWORD done = 0;
        const BOOL ok = ::WriteFile(handle, buffer, toWrite, written != nullptr ? &done : nullptr,
                                    static_cast<LPOVERLAPPED>(overlapped));
        if (written != nullptr)
            *written = done;
        return ok;
    }

    BOOL GetCommModemStatus(HANDLE handle, DWORD* modemStat) override
    {
        ::DWORD lines = 0;
        const BOOL ok = ::GetCommModemStatus(handle, modemStat != nullptr ? &lines : nullptr);
        if (ok && modemStat != nullptr)
            *modemStat = lines;
        return ok;
    }

    DWORD GetTickCount() override
    {
        return ::GetTickCount();
    }

    BOOL GetVersionExA(OSVERSIONINFOA* info) override
    {
        if (info == nullptr)
            return ::GetVersionExA(nullptr);
        ::OSVERSIONINFOA system = std::bit_cast<::OSVERSIONINFOA>(*info);
        const BOOL ok = ::GetVersionExA(&system);
        if (ok)
            *info = std::bit_cast<OSVERSIONINFOA>(system);
        return ok;
    }

    DWORD GetLastError() override
    {
        return ::GetLastError();
    }
};

}  // namespace

CommApi& SystemCommApi()
{
    static Win32CommApi api;
    return api;
}

}  // namespace platform
