// Port discovery from a registry key whose values name the ports, as
// SERIALCOMM does on Windows ("\Device\Serial0" = "COM1"). Needs nothing but
// the registry calls, so it runs against a test double on any system.
#pragma once

#include "platform/RegistryApi.h"

#include <string>
#include <vector>

namespace platform {

// The data of every value of the key `path` under `root`, as text, in the
// registry's enumeration order, neither sorted nor de-duplicated.
//
// The key is opened for reading with KEY_READ, failing that with
// KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, failing that with KEY_QUERY_VALUE
// alone; a key that opens with none gives no ports. REG_SZ and REG_EXPAND_SZ
// data is text (taken as stored, not expanded) and ends at its first zero
// character; data of size 0, or a value that cannot be queried, gives an
// empty name. Data of any other type raises SerialPortListError with the
// message "Invalid data type for '<value name>'", carrying the ports before
// that value. The key is closed again on every path.
std::vector<std::string> RegistrySerialPorts(RegistryApi& registry, HKEY root, const std::string& path);

}  // namespace platform
