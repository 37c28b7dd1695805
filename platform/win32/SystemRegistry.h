// The registry of the Windows system the program runs on.
#pragma once

#include "platform/RegistryApi.h"

namespace platform {

// Every call goes straight to the system's function of the same name. It
// lives for the whole process.
RegistryApi& SystemRegistryApi();

}  // namespace platform
