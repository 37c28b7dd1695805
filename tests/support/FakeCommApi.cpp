#include "FakeCommApi.h"

#include <algorithm>
#include <cstring>

using namespace platform;

FakeCommApi::Device& FakeCommApi::AddDevice(const std::string& name)
{
    return FDevices[name];
}

int FakeCommApi::CallCount(Call call) const
{
    const auto it = FCounts.find(call);
    return it == FCounts.end() ? 0 : it->second;
}

bool FakeCommApi::Fails(Call call)
{
    ++FCounts[call];
    const auto it = FFailures.find(call);
    if (it == FFailures.end())
        return false;
    if (it->second > 0 && --it->second == 0)
        FFailures.erase(it);
    FLastError = ERROR_GEN_FAILURE;
    return true;
}

FakeCommApi::Device* FakeCommApi::Find(HANDLE handle)
{
    const auto it = FHandles.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == FHandles.end()) {
        FLastError = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    return &FDevices.at(it->second);
}

HANDLE FakeCommApi::CreateFileA(LPCSTR fileName, DWORD, DWORD shareMode, void*, DWORD, DWORD, HANDLE)
{
    if (Fails(Call::CreateFile))
        return INVALID_HANDLE_VALUE;
    const auto it = FDevices.find(fileName);
    if (it == FDevices.end()) {
        FLastError = ERROR_FILE_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }
    if (it->second.open && shareMode == 0) {
        FLastError = ERROR_SHARING_VIOLATION;
        return INVALID_HANDLE_VALUE;
    }
    it->second.open = true;
    ++it->second.opens;
    const auto key = FNextHandle;
    FNextHandle += 4;
    FHandles[key] = it->first;
    return reinterpret_cast<HANDLE>(key);
}

BOOL FakeCommApi::CloseHandle(HANDLE handle)
{
    Device* device = Find(handle);
    if (device == nullptr || Fails(Call::CloseHandle))
        return FALSE;
    device->open = false;
    FHandles.erase(reinterpret_cast<std::uintptr_t>(handle));
    return TRUE;
}

BOOL FakeCommApi::SetCommState(HANDLE handle, const DCB* dcb)
{
    Device* device = Find(handle);
    if (device == nullptr || Fails(Call::SetCommState))
        return FALSE;
    device->dcb = *dcb;
    return TRUE;
}

BOOL FakeCommApi::SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue)
{
    Device* device = Find(handle);
    if (device == nullptr || Fails(Call::SetupComm))
        return FALSE;
    device->inQueueSize = inQueue;
    device->outQueueSize = outQueue;
    return TRUE;
}

BOOL FakeCommApi::PurgeComm(HANDLE handle, DWORD flags)
{
    Device* device = Find(handle);
    if (device == nullptr || Fails(Call::PurgeComm))
        return FALSE;
    device->purges.push_back(flags);
    if (flags & PURGE_RXCLEAR)
        device->input.clear();
    if (flags & PURGE_TXCLEAR)
        device->outQueued = 0;
    return TRUE;
}

BOOL FakeCommApi::SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts)
{
    Device* device = Find(handle);
    if (device == nullptr || Fails(Call::SetCommTimeouts))
        return FALSE;
    device->timeouts = *timeouts;
    return TRUE;
}

BOOL FakeCommApi::ClearCommError(HANDLE handle, DWORD* errors, COMSTAT* stat)
{
    Device* device = Find(handle);
    if (device == nullptr || Fails(Call::ClearCommError))
        return FALSE;
    *errors = 0;
    *stat = COMSTAT{};
    stat->cbInQue = static_cast<DWORD>(device->input.size());
    stat->cbOutQue = device->outQueued;
    return TRUE;
}

BOOL FakeCommApi::ReadFile(HANDLE handle, void* buffer, DWORD toRead, DWORD* read, void*)
{
    *read = 0;
    readSizes.push_back(toRead);
    Device* device = Find(handle);
    if (device == nullptr || Fails(Call::ReadFile))
        return FALSE;
    const DWORD n = std::min<DWORD>(toRead, static_cast<DWORD>(device->input.size()));
    std::copy_n(device->input.begin(), n, static_cast<std::uint8_t*>(buffer));
    device->input.erase(device->input.begin(), device->input.begin() + n);
    *read = n;
    return TRUE;
}

BOOL FakeCommApi::WriteFile(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written, void*)
{
    *written = 0;
    Device* device = Find(handle);
    if (device == nullptr)
        return FALSE;
    device->writeSizes.push_back(toWrite);
    if (Fails(Call::WriteFile))
        return FALSE;
    DWORD n = toWrite;
    if (device->acceptLimit) {
        n = std::min(n, *device->acceptLimit);
        *device->acceptLimit -= n;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    device->written.insert(device->written.end(), bytes, bytes + n);
    *written = n;
    return TRUE;
}

BOOL FakeCommApi::GetCommModemStatus(HANDLE handle, DWORD* modemStat)
{
    Device* device = Find(handle);
    if (device == nullptr || Fails(Call::GetCommModemStatus))
        return FALSE;
    *modemStat = device->modemStatus;
    return TRUE;
}

DWORD FakeCommApi::GetTickCount()
{
    const DWORD result = now;
    now += tickStep;
    return result;
}

BOOL FakeCommApi::GetVersionExA(OSVERSIONINFOA* info)
{
    if (Fails(Call::GetVersionEx))
        return FALSE;
    *info = version;
    return TRUE;
}
