// Paths and system facts: the driver environment and directory, the all-users documents folder, the computer name
// and the system version.
#pragma once

#include <windows.h>

#include "spoolkit/platform_calls_win32.h"

namespace vyx::spoolkit {

// The local computer name into `name` of *size characters; at most three attempts while the answer is
// ERROR_INSUFFICIENT_BUFFER, each with the caller's size, so nothing is written beyond it.
BOOL ReadComputerName(LPWSTR name, DWORD* size);

BOOL IsVistaOrHigherWith(const SPlatformCalls& calls);

}  // namespace vyx::spoolkit
