// libFuzzer entry for the plotter paths: strokes, flattened curves and fragmented shapes.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/cut_path_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return vyx::fuzz::RunCutPathCase(data, size);
}
