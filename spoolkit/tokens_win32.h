// Primary tokens for starting programs as the user: the shell's token in the active console session, and tokens
// of a process or thread made primary.
#pragma once

#include <windows.h>

#include "spoolkit/platform_calls_win32.h"

namespace vyx::spoolkit {

// Takes `token`: a primary token comes back as it is; an impersonation token is duplicated into a primary one
// (the level chosen by the system version) and closed. Null for other tokens or when the duplication fails.
HANDLE ConvertToPrimaryToken(const SPlatformCalls& calls, HANDLE token);

// The token of the shell ("Explorer.EXE", case ignored) running in the active console session, or null.
HANDLE FindLoggedOnUserToken(const SPlatformCalls& calls);

}  // namespace vyx::spoolkit
