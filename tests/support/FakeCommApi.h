// An in-memory serial device behind the same interface as the operating
// system's, for deterministic tests of the driver: the test fills the input
// queue, sets how much the output queue holds and accepts, sets the modem
// lines, makes any call fail, and reads back every record the driver wrote.
// Its clock only moves when the test (or `TickStep`) moves it.
#pragma once

#include "platform/CommApi.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

class FakeCommApi : public platform::CommApi {
public:
    using DWORD = platform::DWORD;

    enum class Call {
        CreateFile, CloseHandle, SetCommState, SetupComm, PurgeComm, SetCommTimeouts,
        ClearCommError, ReadFile, WriteFile, GetCommModemStatus, GetVersionEx,
    };

    struct Device {
        std::deque<std::uint8_t> input;        // bytes waiting to be read
        std::vector<std::uint8_t> written;     // every byte the driver wrote
        std::vector<DWORD> writeSizes;         // the count asked of each WriteFile
        DWORD outQueued = 0;                   // reported as waiting in the output queue
        std::optional<DWORD> acceptLimit;      // bytes WriteFile still takes; none = any
        DWORD modemStatus = 0;                 // MS_* bits
        bool open = false;
        int opens = 0;
        platform::DCB dcb{};
        platform::COMMTIMEOUTS timeouts{};
        DWORD inQueueSize = 0, outQueueSize = 0;
        std::vector<DWORD> purges;             // flags of each PurgeComm
    };

    // A device that CreateFileA finds under `name`.
    Device& AddDevice(const std::string& name);
    Device& device(const std::string& name) { return FDevices.at(name); }

    // The next `times` calls of `call` fail (-1: every one from now on).
    void Fail(Call call, int times = -1) { FFailures[call] = times; }
    void Heal(Call call) { FFailures.erase(call); }
    int CallCount(Call call) const;

    // The clock: GetTickCount returns `now`, then advances it by `tickStep`.
    DWORD now = 1000;
    DWORD tickStep = 0;

    platform::OSVERSIONINFOA version{sizeof(platform::OSVERSIONINFOA), 10, 0, 19045, platform::VER_PLATFORM_WIN32_NT, {}};

    platform::HANDLE CreateFileA(platform::LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                 void* securityAttributes, DWORD creationDisposition, DWORD flagsAndAttributes,
                                 platform::HANDLE templateFile) override;
    platform::BOOL CloseHandle(platform::HANDLE handle) override;
    platform::BOOL SetCommState(platform::HANDLE handle, const platform::DCB* dcb) override;
    platform::BOOL SetupComm(platform::HANDLE handle, DWORD inQueue, DWORD outQueue) override;
    platform::BOOL PurgeComm(platform::HANDLE handle, DWORD flags) override;
    platform::BOOL SetCommTimeouts(platform::HANDLE handle, const platform::COMMTIMEOUTS* timeouts) override;
    platform::BOOL ClearCommError(platform::HANDLE handle, DWORD* errors, platform::COMSTAT* stat) override;
    platform::BOOL ReadFile(platform::HANDLE handle, void* buffer, DWORD toRead, DWORD* read,
                            void* overlapped) override;
    platform::BOOL WriteFile(platform::HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written,
                             void* overlapped) override;
    platform::BOOL GetCommModemStatus(platform::HANDLE handle, DWORD* modemStat) override;
    DWORD GetTickCount() override;
    platform::BOOL GetVersionExA(platform::OSVERSIONINFOA* info) override;
    DWORD GetLastError() override { return FLastError; }

    // Every ReadFile's requested count, in order.
    std::vector<DWORD> readSizes;

private:
    bool Fails(Call call);
    Device* Find(platform::HANDLE handle);

    std::map<std::string, Device> FDevices;
    std::map<std::uintptr_t, std::string> FHandles;
    std::map<Call, int> FFailures;
    std::map<Call, int> FCounts;
    std::uintptr_t FNextHandle = 0x40;
    DWORD FLastError = 0;
};
