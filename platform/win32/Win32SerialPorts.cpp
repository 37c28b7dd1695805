#include "platform/SerialPorts.h"

#include "platform/RegistrySerialPorts.h"
#include "platform/win32/SystemRegistry.h"

namespace platform {

std::vector<std::string> SystemSerialPorts()
{
    // Each port's driver enters its port here while the device is present.
    return RegistrySerialPorts(SystemRegistryApi(), HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM");
}

}  // namespace platform
