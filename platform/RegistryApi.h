// The few registry calls that port discovery makes, in the shape of the
// Windows functions of the same names, with their records and constants.
// Windows supplies the real registry (win32/SystemRegistry.h); tests supply
// an in-memory double on any system.
#pragma once

#include "platform/CommApi.h"

#include <cstdint>

namespace platform {

struct RegistryKey;  // never defined: a key is only ever handled by its pointer
using HKEY = RegistryKey*;
using LONG = std::int32_t;
using REGSAM = DWORD;

// The predefined roots. Windows writes them as 32-bit numbers with the top
// bit set, widened with their sign to a pointer.
inline const HKEY HKEY_CURRENT_USER =
    reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001u)));
inline const HKEY HKEY_LOCAL_MACHINE =
    reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002u)));

// RegOpenKeyExA access rights
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x00020019;  // with KEY_NOTIFY and READ_CONTROL

// Value types
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// Results besides ERROR_SUCCESS and ERROR_FILE_NOT_FOUND (CommApi.h).
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_NO_MORE_ITEMS = 259;

// A value name has at most this many characters, the terminating zero not
// counted.
inline constexpr DWORD kMaxValueNameLength = 16383;

// The calls, with the Windows contracts: each returns ERROR_SUCCESS or the
// reason it failed. Lengths of names count characters, sizes of data count
// bytes; on input they give the room in the buffer, on output what was
// stored (or, for data without a buffer, what it needs). The reserved
// arguments must be null.
class RegistryApi {
public:
    virtual ~RegistryApi() = default;

    virtual LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, HKEY* result) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;
    // The name of the value at `index` (0, 1, ... until ERROR_NO_MORE_ITEMS),
    // and optionally its type and data.
    virtual LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* reserved, DWORD* type,
                               BYTE* data, DWORD* dataSize) = 0;
    virtual LONG RegQueryValueExA(HKEY key, LPCSTR name, DWORD* reserved, DWORD* type, BYTE* data,
                                  DWORD* dataSize) = 0;
};

}  // namespace platform
