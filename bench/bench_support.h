// What every job-text benchmark reports: MB/s of job text, the same rate of memcpy on a buffer of the job's size
// measured in the same run, their ratio, and the peak resident memory of one run relative to the job.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace vyx::bench {

// The calling thread's processor time (user and system, page faults included) in seconds: the machines these run on
// are shared, and wall-clock time would measure the neighbours.
inline double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Thread time of the timed parts of a benchmark loop.
class CStopwatch {
 public:
  void Start() { m_start = ThreadSeconds(); }
  void Stop() { m_seconds += ThreadSeconds() - m_start; }
  double Seconds() const { return m_seconds; }

 private:
  double m_start = 0;
  double m_seconds = 0;
};

// memcpy of `bytes` bytes between two buffers that are already in memory: the best of a few copies, in MB/s.
inline double MemcpyMegabytesPerSecond(std::size_t bytes) {
  std::unique_ptr<char[]> from(new char[bytes]);
  std::unique_ptr<char[]> to(new char[bytes]);
  std::memset(from.get(), 'x', bytes);
  std::memset(to.get(), 0, bytes);
  double best = 0;
  for (int i = 0; i < 5; ++i) {
    const double t0 = ThreadSeconds();
    std::memcpy(to.get(), from.get(), bytes);
    benchmark::DoNotOptimize(to.get());
    const double s = ThreadSeconds() - t0;
    if (s > 0) best = std::max(best, static_cast<double>(bytes) / s / 1e6);
  }
  return best;
}

// Counters "MB/s" (job text per second of thread time in the timed parts), "memcpy_MB/s" and "x_memcpy" (their ratio).
inline void ReportThroughput(benchmark::State& state, std::size_t jobBytes, const CStopwatch& watch) {
  const double rate = watch.Seconds() > 0 ? static_cast<double>(jobBytes) * static_cast<double>(state.iterations()) /
                                                watch.Seconds() / 1e6
                                          : 0.0;
  const double copy = MemcpyMegabytesPerSecond(jobBytes);
  state.counters["MB/s"] = rate;
  state.counters["memcpy_MB/s"] = copy;
  state.counters["x_memcpy"] = copy > 0 ? rate / copy : 0.0;
}

// Resident memory in KiB: now, and the peak since the last reset (Linux: VmHWM, reset through clear_refs).
inline long CurrentResidentKb() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * 4;
}

inline long PeakResidentKb() {
  long kb = 0;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f))
      if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(f);
  }
  return kb;
}

// Starts a peak measurement: the peak is reset to the resident size now (Linux: clear_refs), which is returned.
inline long ResetPeakResidentKb() {
  if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
  return CurrentResidentKb();
}

}  // namespace vyx::bench
