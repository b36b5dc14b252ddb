// vyx_bench_peak JOB KEEP: the silent print of a job file in a fresh process, as the manager runs once per job;
// prints the resident memory it added at its peak, in bytes. KEEP 1 keeps the printer stream in memory.
#include <fcntl.h>

#include <cstdio>

#include "bench/bench_support.h"
#include "bench/silent_print_run.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vyx_bench_peak JOB KEEP\n");
    return 2;
  }
  const long before = vyx::bench::ResetPeakResidentKb();
  vyx::CFdStreamSource source(open(argv[1], O_RDONLY));
  vyx::bench::CCountingSpooler spooler;
  spooler.keep = argv[2][0] == '1';
  const bool ok = vyx::bench::RunSilentPrint(source, spooler);
  std::printf("%ld\n", (vyx::bench::PeakResidentKb() - before) * 1024);
  return ok ? 0 : 1;
}
