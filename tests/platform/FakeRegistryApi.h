// An in-memory registry behind the same interface as the system's, for tests
// of port discovery on any system. A key grants some access rights and holds
// values in the order the test adds them, which is the order it enumerates
// them in; a value can be made to refuse its queries. Every open that is
// asked for is recorded, and the keys still open are counted.
#pragma once

#include "platform/RegistryApi.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class FakeRegistryApi : public platform::RegistryApi {
public:
    using DWORD = platform::DWORD;
    using HKEY = platform::HKEY;
    using LONG = platform::LONG;
    using REGSAM = platform::REGSAM;

    struct Value {
        std::string name;
        DWORD type = platform::REG_SZ;
        std::string data;                               // the stored bytes, zeros included
        LONG queryResult = platform::ERROR_SUCCESS;     // what every query of it returns instead
        LONG readResult = platform::ERROR_SUCCESS;      // what a query with a buffer returns instead
    };

    struct Key {
        REGSAM granted = platform::KEY_READ;  // an open asking for more is refused
        std::vector<Value> values;
    };

    Key& AddKey(HKEY root, const std::string& path) { return FKeys[{root, path}]; }

    struct OpenRequest {
        HKEY root;
        std::string path;
        REGSAM access;
    };
    std::vector<OpenRequest> opens;

    std::size_t OpenKeys() const { return FHandles.size(); }

    LONG RegOpenKeyExA(HKEY key, platform::LPCSTR subKey, DWORD options, REGSAM desired, HKEY* result) override;
    LONG RegCloseKey(HKEY key) override;
    LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* reserved, DWORD* type,
                       platform::BYTE* data, DWORD* dataSize) override;
    LONG RegQueryValueExA(HKEY key, platform::LPCSTR name, DWORD* reserved, DWORD* type, platform::BYTE* data,
                          DWORD* dataSize) override;

private:
    struct Handle {
        const Key* key;
        REGSAM access;
    };

    // The value's type and data into what the caller gave room for, by the
    // calls' shared contract.
    static LONG Deliver(const Value& value, DWORD* type, platform::BYTE* data, DWORD* dataSize);
    const Handle* Find(HKEY key) const;

    std::map<std::pair<HKEY, std::string>, Key> FKeys;
    std::map<HKEY, Handle> FHandles;
    std::uintptr_t FNextHandle = 0x1000;
};
