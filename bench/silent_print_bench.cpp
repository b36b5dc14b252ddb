// The whole silent path on generated jobs (stream reader from memory, parse, page steps, layout, recipe, writer into
// memory): MB/s of job text with its ratio to memcpy, and the peak memory of one run relative to the job size, with
// the printer stream kept in memory or only counted.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "bench/silent_print_run.h"
#include "tests/support/job_builder.h"

namespace {

using vyx::testing::Bitmap;

// Pages of three binary ribbon layers (1000 x 3000 dots each), one cut path per page: 12 pages make 13.5 MB, with
// 2 copies of every fourth page; 180 pages make 203 MB, without copies, so that the printer stream is as long as the
// job.
const std::string& LargeJob(int pageCount) {
  static std::string cache[2];
  std::string& s = cache[pageCount > 12 ? 1 : 0];
  if (!s.empty()) return s;
  static const vyx::testing::Bitmap layers[3] = {
      vyx::testing::Bitmap::FromPredicate(1000, 3000, [](int x, int y) { return ((x / 9) + (y / 13)) % 3 == 0; }),
      vyx::testing::Bitmap::FromPredicate(1000, 3000, [](int x, int y) { return (x ^ y) % 5 == 0; }),
      vyx::testing::Bitmap::FromPredicate(1000, 3000, [](int x, int y) { return y % 40 < 12 && x % 300 < 200; }),
  };
  static const char* names[3] = {"BLACK", "RED", "CYAN"};
  static const unsigned ids[3] = {0, 5, 2};
  std::string fields;
  for (int r = 0; r < 3; ++r) fields += vyx::testing::Field(ids[r], names[r], 20, 20, layers[r], 'B');
  fields += vyx::testing::RectPath(200, 200, 3800, 11800);
  s = vyx::testing::Header(1216, 3200);
  s.reserve(s.size() + static_cast<std::size_t>(pageCount) * (fields.size() + 32));
  const bool copies = pageCount <= 12;
  for (int p = 1; p <= pageCount; ++p) s += fields + vyx::testing::PageEnd(copies && p % 4 == 0 ? 2 : 1, p);
  s += vyx::testing::Trailer();
  return s;
}

// The peak resident memory that the silent print of `text` adds to a fresh process (bench/peak/peak_main.cpp, run
// on the text written to a file), in bytes; 0 when the program cannot be run.
double MeasurePeakInFreshProcess(const std::string& text, bool keep) {
  const std::string file = "/tmp/vyx_bench_peak_" + std::to_string(getpid()) + ".zpl";
  if (FILE* f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  const std::string command = std::string(VYX_BENCH_PEAK_PROGRAM) + " " + file + (keep ? " 1" : " 0");
  double bytes = 0;
  if (FILE* p = popen(command.c_str(), "r")) {
    if (std::fscanf(p, "%lf", &bytes) != 1) bytes = 0;
    pclose(p);
  }
  std::remove(file.c_str());
  return bytes;
}

// Arguments: pages of the generated job, and 0 to keep the printer stream in memory or 1 to count it only.
void SilentPrintPath(benchmark::State& state) {
  const std::string& text = LargeJob(static_cast<int>(state.range(0)));
  const bool keep = state.range(1) == 0;
  std::size_t written = 0;
  auto run = [&] {
    vyx::bench::CCountingSpooler spooler;
    spooler.keep = keep;
    vyx::CMemoryStreamSource source(&text);
    const bool ok = vyx::bench::RunSilentPrint(source, spooler);
    written = spooler.total;
    return ok;
  };
  run();  // the heap grows to its size once, outside the measurement
  vyx::bench::CStopwatch watch;
  for (auto _ : state) {
    watch.Start();
    if (!run()) state.SkipWithError("the silent print failed");
    watch.Stop();
  }
  const double jobBytes = static_cast<double>(text.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
  vyx::bench::ReportThroughput(state, text.size(), watch);
  state.counters["job_MB"] = jobBytes / 1e6;
  state.counters["out_MB"] = static_cast<double>(written) / 1e6;
  state.SetLabel(keep ? "stream kept in memory" : "stream counted only");
  // Peak resident memory of the same print in a fresh process, as the manager runs it once per job.
  state.counters["peak_over_job"] = MeasurePeakInFreshProcess(text, keep) / jobBytes;
}
BENCHMARK(SilentPrintPath)
    ->Args({12, 1})
    ->Args({12, 0})
    ->Args({180, 1})
    ->Args({180, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
