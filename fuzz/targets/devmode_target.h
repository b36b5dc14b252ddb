// The settings record case for libFuzzer (fuzz/devmode_fuzz.cpp) and for the native corpus replay test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx::fuzz {

// Upgrades the bytes as a stored printer settings record and checks the result: a record is refused exactly when
// its public part cannot hold the field flags or does not fit the bytes; otherwise the new record is the public
// size plus 256 bytes, in the current private layout, with the marker word set, and its public part is the old one
// apart from the fields the upgrade sets. Aborts on a violation. Returns 0.
int RunDevmodeCase(const std::uint8_t* data, std::size_t size);

}  // namespace vyx::fuzz
