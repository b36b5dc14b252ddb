// libFuzzer entry for BarTender jobs: shape routing, cut order and outline operations.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/btw_job_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return vyx::fuzz::RunBtwJobCase(data, size);
}
