#include "FakeRegistryApi.h"

#include <algorithm>

using namespace platform;

const FakeRegistryApi::Handle* FakeRegistryApi::Find(HKEY key) const
{
    const auto it = FHandles.find(key);
    return it == FHandles.end() ? nullptr : &it->second;
}

LONG FakeRegistryApi::RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM desired, HKEY* result)
{
    opens.push_back({root, subKey != nullptr ? subKey : "", desired});
    if (subKey == nullptr || options != 0 || result == nullptr)
        return ERROR_INVALID_PARAMETER;
    const auto it = FKeys.find({root, subKey});
    if (it == FKeys.end())
        return ERROR_FILE_NOT_FOUND;
    if ((desired & ~it->second.granted) != 0)
        return ERROR_ACCESS_DENIED;
    *result = reinterpret_cast<HKEY>(FNextHandle);
    FNextHandle += 4;
    FHandles[*result] = {&it->second, desired};
    return ERROR_SUCCESS;
}

LONG FakeRegistryApi::RegCloseKey(HKEY key)
{
    return FHandles.erase(key) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG FakeRegistryApi::Deliver(const Value& value, DWORD* type, BYTE* data, DWORD* dataSize)
{
    if (value.queryResult != ERROR_SUCCESS)
        return value.queryResult;
    if (data != nullptr && value.readResult != ERROR_SUCCESS)
        return value.readResult;
    if (data != nullptr && dataSize == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (type != nullptr)
        *type = value.type;
    const auto size = static_cast<DWORD>(value.data.size());
    if (data != nullptr && *dataSize < size) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr)
        std::copy(value.data.begin(), value.data.end(), data);
    if (dataSize != nullptr)
        *dataSize = size;
    return ERROR_SUCCESS;
}

LONG FakeRegistryApi::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* reserved,
                                    DWORD* type, BYTE* data, DWORD* dataSize)
{
    const Handle* handle = Find(key);
    if (handle == nullptr)
        return ERROR_INVALID_HANDLE;
    if (name == nullptr || nameLength == nullptr || reserved != nullptr)
        return ERROR_INVALID_PARAMETER;
    if ((handle->access & KEY_QUERY_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    if (index >= handle->key->values.size())
        return ERROR_NO_MORE_ITEMS;
    const Value& value = handle->key->values[index];
    // The room given counts the terminating zero; the length returned does not.
    if (*nameLength < value.name.size() + 1)
        return ERROR_MORE_DATA;
    std::copy(value.name.begin(), value.name.end(), name);
    name[value.name.size()] = '\0';
    *nameLength = static_cast<DWORD>(value.name.size());
    return type != nullptr || data != nullptr || dataSize != nullptr ? Deliver(value, type, data, dataSize)
                                                                     : ERROR_SUCCESS;
}

LONG FakeRegistryApi::RegQueryValueExA(HKEY key, LPCSTR name, DWORD* reserved, DWORD* type, BYTE* data,
                                       DWORD* dataSize)
{
    const Handle* handle = Find(key);
    if (handle == nullptr)
        return ERROR_INVALID_HANDLE;
    if (reserved != nullptr)
        return ERROR_INVALID_PARAMETER;
    if ((handle->access & KEY_QUERY_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const std::string wanted = name != nullptr ? name : "";
    const auto& values = handle->key->values;
    const auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) { return v.name == wanted; });
    if (it == values.end())
        return ERROR_FILE_NOT_FOUND;
    return Deliver(*it, type, data, dataSize);
}
