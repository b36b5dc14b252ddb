// Walking the running processes by the base name of their program, for the process and shell-token searches.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "spoolkit/scoped_handles_win32.h"

namespace vyx::spoolkit {

// Called with each process that could be opened and named; the visitor may keep the handle by detaching it and
// returns false to end the walk.
using FProcessVisitor = std::function<bool(CScopedHandle& process, std::wstring_view baseName)>;

// Visits at most 1024 processes in the system's order, each opened with `access`; false when the process list
// cannot be read.
bool VisitNamedProcesses(DWORD access, const FProcessVisitor& visit);

}  // namespace vyx::spoolkit
