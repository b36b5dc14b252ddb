// The job stream case for libFuzzer (fuzz/job_fuzz.cpp) and for the native corpus replay test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx::fuzz {

// Reads the bytes as a job stream (through the chunked stream reader), parses header, pages, fields and
// trailer, writes and draws every object, runs the overlap knock-out and the merging pass, and parses again
// with a per-page copies table. Checks the model's invariants and aborts on a violation. Returns 0.
int RunJobCase(const std::uint8_t* data, std::size_t size);

}  // namespace vyx::fuzz
