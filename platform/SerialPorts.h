// The serial ports this system has, for the port list.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Names that open after the device prefix "\\.\".
//
// On Linux: the kernel's serial ports, then the ports that programs serve
// themselves (the meter simulator); see posix/SysfsSerialPorts.h. Folders
// that cannot be read give no names; this never throws.
std::vector<std::string> SystemSerialPorts();

}  // namespace platform
