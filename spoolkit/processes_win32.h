// Starting programs in the user's session and messages to the active console session.
#pragma once

#include <windows.h>

#include "spoolkit/platform_calls_win32.h"

namespace vyx::spoolkit {

BOOL ShowMsgBoxInActiveSessionWith(const SPlatformCalls& calls,
                                   LPCWSTR title,
                                   LPCWSTR message,
                                   DWORD style,
                                   DWORD* response);

}  // namespace vyx::spoolkit
