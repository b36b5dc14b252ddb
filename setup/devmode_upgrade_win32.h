// Upgrading the stored printer settings of the printers of this model through the spooler (GetPrinter and
// SetPrinter at level 8, the printer's default settings, and level 9, the current user's).
#pragma once

#include <windows.h>

#include <string>

namespace vyx {

// Non-zero when the settings at `level` (8 or 9) of the printer were read and written back upgraded, or there
// were none to upgrade; 0 on failure (shown) or for any other level.
int UpgradeDevmode(DWORD level, const std::wstring& printer);

// Upgrades both levels of every local printer whose driver is "VYX - Q5": the number of upgrades that succeeded,
// or -1 when the printers cannot be listed.
int UpgradeAllDevmodes();

}  // namespace vyx
