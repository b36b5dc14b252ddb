// The BarTender job case for libFuzzer (fuzz/btw_job_fuzz.cpp) and for the native corpus replay test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx::fuzz {

// Parses the bytes as a job whose tag ends in "_btw" (the first byte's low bit clear) or not, collects every
// page's paths into shapes and the cut order, checks the cut order's invariants, writes and draws every cut
// object, re-inserts the order, and runs the outline operations with values taken from the input. Aborts on a
// violation. Returns 0.
int RunBtwJobCase(const std::uint8_t* data, std::size_t size);

}  // namespace vyx::fuzz
