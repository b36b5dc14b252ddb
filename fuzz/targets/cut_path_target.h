// The plotter path case for libFuzzer (fuzz/cut_path_fuzz.cpp) and for the native corpus replay test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx::fuzz {

// Reads every ^RP path of the bytes as a stroke, flattens strokes with Bezier lines into curves, collects the open
// strokes into fragmented shapes and assembles them, writes and draws every object, and flattens one segment
// taken from the first bytes. Checks the objects' invariants and aborts on a violation. Returns 0.
int RunCutPathCase(const std::uint8_t* data, std::size_t size);

}  // namespace vyx::fuzz
