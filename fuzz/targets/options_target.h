// The job options case for libFuzzer (fuzz/options_fuzz.cpp) and for the native corpus replay test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx::fuzz {

// Parses the bytes (one character each) as an options string and checks the record against the grammar: the
// result names a code position, accepted records hold only the two values of each code, re-writing an accepted
// record gives a string that parses to the same record, and the default string with the bytes appended always
// parses to the defaults. Aborts on a violation. Returns 0.
int RunOptionsCase(const std::uint8_t* data, std::size_t size);

}  // namespace vyx::fuzz
