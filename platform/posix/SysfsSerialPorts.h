// Port discovery on Linux, with the folders it reads as parameters so that
// tests can give trees of their own.
#pragma once

#include <string>
#include <vector>

namespace platform::posix {

// The kernel's serial ports as names under /dev ("ttyUSB0", "ttyACM0", a
// real "ttyS0"), in natural order, then the links in `virtualFolder` whose
// device still exists, by their names ("sim"; the full path of the link
// where /dev has a device of the same name). A tty counts when sysfs gives it
// a device; the 8250 driver's placeholder ports (ttyS entries whose `type`
// reads 0) have none behind them and are left out. SystemSerialPorts() reads
// "/sys" and VirtualPortFolder(). Folders that cannot be read give no names;
// nothing fails.
std::vector<std::string> SerialPortsIn(const std::string& sysfsRoot, const std::string& virtualFolder);

}  // namespace platform::posix
