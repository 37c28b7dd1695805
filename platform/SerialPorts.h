// The serial ports this system has, for the port list.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// Raised by a port list that meets an entry it cannot read. The ports listed
// before that entry are not lost: they come with the error, in order, so the
// caller can offer them and still report the fault.
class SerialPortListError : public std::runtime_error {
public:
    SerialPortListError(const std::string& message, std::vector<std::string> portsSoFar)
        : std::runtime_error(message), FPorts(std::move(portsSoFar))
    {
    }

    const std::vector<std::string>& Ports() const noexcept { return FPorts; }

private:
    std::vector<std::string> FPorts;
};

// Names that open after the device prefix "\\.\".
//
// On Linux: the kernel's serial ports, then the ports that programs serve
// themselves (the meter simulator); see posix/SysfsSerialPorts.h. Folders
// that cannot be read give no names; this never throws.
//
// On Windows: the ports the system registers in the key
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM ("COM1", ...), in the
// registry's order, as RegistrySerialPorts.h describes. A key that cannot be opened gives no
// names; a value there that is not text raises SerialPortListError with the
// message "Invalid data type for '<value name>'" and the ports before it.
std::vector<std::string> SystemSerialPorts();

}  // namespace platform
