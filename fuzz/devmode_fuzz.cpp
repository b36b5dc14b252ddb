// libFuzzer entry for the settings record upgrade.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/devmode_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return vyx::fuzz::RunDevmodeCase(data, size);
}
