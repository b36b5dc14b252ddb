// libFuzzer entry for the job options string parser.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/options_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return vyx::fuzz::RunOptionsCase(data, size);
}
