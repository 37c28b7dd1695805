// Serial ports that programs serve themselves (a pseudo-terminal such as the
// meter simulator's) have no fixed device name. Such a program publishes its
// port as a symbolic link in one folder per user, under a name it chooses,
// and port discovery offers every link found there. POSIX systems only
// (posix/VirtualPorts.cpp); Windows lists every port it has in its registry.
#pragma once

#include <string>

namespace platform {

// "$XDG_RUNTIME_DIR/umbrascope/ports" when that variable names an absolute
// folder, otherwise "/tmp/umbrascope-<uid>/ports". The folder may not exist.
std::string VirtualPortFolder();

}  // namespace platform
