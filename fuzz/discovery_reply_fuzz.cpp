// libFuzzer entry for the discovery reply reader.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/discovery_reply_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return vyx::fuzz::RunDiscoveryReplyCase(data, size);
}
