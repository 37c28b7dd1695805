#include "platform/VirtualPorts.h"

#include <cstdlib>
#include <unistd.h>

namespace platform {

std::string VirtualPortFolder()
{
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && runtimeDir[0] == '/')
        return std::string(runtimeDir) + "/umbrascope/ports";
    return "/tmp/umbrascope-" + std::to_string(getuid()) + "/ports";
}

}  // namespace platform
