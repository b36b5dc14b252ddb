// The benchmark program keeps freed memory instead of handing it back to the system (unless VYX_BENCH_COLD is set):
// on the virtual machines the benchmarks run on, the first write to a fresh page costs about 25 microseconds
// (160 MB/s), a hundred times what a desktop pays, and would measure the machine rather than the code. Memory is
// measured in a fresh process instead (bench/peak).
#include <malloc.h>

#include <cstdlib>

namespace {

struct CKeepFreedMemory {
  CKeepFreedMemory() {
    if (std::getenv("VYX_BENCH_COLD") != nullptr) return;
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
} g_keepFreedMemory;

}  // namespace
