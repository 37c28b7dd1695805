// The serial ports this system has, for the port list: the ports the kernel
// knows through real hardware, then the ports that programs serve
// themselves (the meter simulator).
#pragma once

#include "platform/VirtualPorts.h"

#include <string>
#include <vector>

namespace platform {

// Names that open after the device prefix "\\.\": the kernel's serial
// ports as names under /dev ("ttyUSB0", "ttyACM0", a real "ttyS0"), in
// natural order, then the links in `virtualFolder` whose device still
// exists, by their names ("sim"; the full path of the link where /dev
// has a device of the same name). A tty counts when sysfs gives it a device;
// the 8250 driver's placeholder ports (ttyS entries whose `type` reads 0)
// have none behind them and are left out. `sysfsRoot` is "/sys" except in
// tests, which give a tree of their own. Folders that cannot be read give
// no names; nothing fails.
std::vector<std::string> SystemSerialPorts(const std::string& sysfsRoot = "/sys",
                                           const std::string& virtualFolder = VirtualPortFolder());

}  // namespace platform
