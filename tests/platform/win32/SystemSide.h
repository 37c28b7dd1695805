// What the Windows tests ask of the system directly, past the layer under
// test: whether Wine runs them and the line settings a port really has. No
// <windows.h> here: its macros would replace the names of the layer's
// constants in the tests.
#pragma once

#include "platform/CommApi.h"

#include <optional>

// True under Wine, whose ntdll exports wine_get_version; Windows' does not.
bool RunningUnderWine();

// The port's settings as GetCommState reads them back from the device.
std::optional<platform::DCB> SystemCommState(platform::HANDLE port);
