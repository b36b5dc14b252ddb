// libFuzzer entry for the job stream reader, page model and bitmap fields.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/job_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return vyx::fuzz::RunJobCase(data, size);
}
