// The discovery reply case for libFuzzer (fuzz/discovery_reply_fuzz.cpp) and for the native corpus replay test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vyx::fuzz {

// Reads the bytes as one reply datagram, as the printer search does, and checks the devices: as many as whole
// entries fit (never more than three), each field decoded from inside the datagram, the list bounded however many
// replies repeat it. Aborts on a violation. Returns 0.
int RunDiscoveryReplyCase(const std::uint8_t* data, std::size_t size);

}  // namespace vyx::fuzz
