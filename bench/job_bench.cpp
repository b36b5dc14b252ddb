// Job stream reader, page parse, line search and page steps on label-sized jobs; reports MB/s of job text.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"
#include "manager/model/job.h"
#include "manager/model/text_scan.h"
#include "tests/support/job_builder.h"

namespace {

using vyx::CQzplJobData;
using vyx::testing::Bitmap;

// One page on the full tape: four ribbon layers of 1216 x 20000 dots with about a third of the pixels set.
const std::string& LabelJob(char format) {
  static std::string cache[2];
  std::string& s = cache[format == 'A' ? 0 : 1];
  if (!s.empty()) return s;
  static const Bitmap layers[4] = {
      Bitmap::FromPredicate(1216, 20000, [](int x, int y) { return ((x / 9) + (y / 13)) % 3 == 0; }),
      Bitmap::FromPredicate(1216, 20000, [](int x, int y) { return (x * x + y * y) % 7 < 2; }),
      Bitmap::FromPredicate(1216, 20000, [](int x, int y) { return (x ^ y) % 5 == 0; }),
      Bitmap::FromPredicate(1216, 20000, [](int x, int y) { return y % 40 < 12 && x % 300 < 200; }),
  };
  s = vyx::testing::Header(1216, 20000);
  for (unsigned r = 0; r < 4; ++r) s += vyx::testing::Field(r, "Ribbon" + std::to_string(r), 0, 0, layers[r], format);
  s += vyx::testing::RectPath(40, 40, 4800, 79000);
  s += vyx::testing::PageEnd(1, 1);
  s += vyx::testing::Trailer();
  return s;
}

// The stream reader on a source that hands out the job from memory (each read call copies, as ReadFile does); the
// job's buffer is freed outside the timed part.
void ReadStream(benchmark::State& state) {
  const std::string& text = LabelJob('A');
  vyx::bench::CStopwatch watch;
  for (auto _ : state) {
    vyx::CMemoryStreamSource source(&text);
    CQzplJobData job;
    watch.Start();
    benchmark::DoNotOptimize(job.ReadStream(&source));
    watch.Stop();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
  vyx::bench::ReportThroughput(state, text.size(), watch);
}
BENCHMARK(ReadStream)->Unit(benchmark::kMillisecond);

void ParseJob(benchmark::State& state) {
  const std::string& text = LabelJob(state.range(0) == 0 ? 'A' : 'B');
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  for (auto _ : state) benchmark::DoNotOptimize(job.ParseJob());
  state.SetLabel(state.range(0) == 0 ? "hex fields" : "binary fields");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(ParseJob)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void LineSearchToPageEnd(benchmark::State& state) {
  const std::string& source = LabelJob(state.range(0) == 0 ? 'A' : 'B');
  std::string text = source;
  text.append(2, '\0');
  char* begin = text.data();
  char* end = text.data() + source.size();
  for (auto _ : state) {
    int pages = 0;
    for (char* p = vyx::LineSearch(begin, end, "^XPG"); p != nullptr; p = vyx::LineSearch(p + 4, end, "^XPG")) ++pages;
    benchmark::DoNotOptimize(pages);
  }
  state.SetLabel(state.range(0) == 0 ? "hex fields" : "binary fields (payloads jumped)");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(source.size()));
}
BENCHMARK(LineSearchToPageEnd)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Page steps on a freshly parsed job each iteration (the steps change the fields).
void KnockOut(benchmark::State& state) {
  const std::string& text = LabelJob(state.range(0) == 0 ? 'A' : 'B');
  CQzplJobData job;
  vyx::bench::CStopwatch watch;
  for (auto _ : state) {
    state.PauseTiming();
    job.SetText(text.data(), text.size());
    job.ParseJob();
    state.ResumeTiming();
    watch.Start();
    benchmark::DoNotOptimize(job.KnockOutOverlaps(0));
    watch.Stop();
  }
  state.SetLabel(state.range(0) == 0 ? "hex fields" : "binary fields");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
  vyx::bench::ReportThroughput(state, text.size(), watch);
}
BENCHMARK(KnockOut)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Fields of one ribbon in strips that the merging pass joins into one synthetic field per page; the merged
// fields are freed outside the timed part.
void MergePass(benchmark::State& state) {
  const char format = state.range(0) == 0 ? 'A' : 'B';
  static std::string text[2];
  std::string& s = text[format == 'A' ? 0 : 1];
  if (s.empty()) {
    // Twenty strips of 1216 x 1000 dots: pair by pair, each merge builds a bitmap one strip taller.
    const Bitmap strip = Bitmap::FromPredicate(1216, 1000, [](int x, int y) { return (x + y) % 3 == 0; });
    s = vyx::testing::Header(1216, 20000);
    for (int k = 0; k < 20; ++k) s += vyx::testing::Field(0, "Black", 0, 1000 * k, strip, format);
    s += vyx::testing::PageEnd(1, 1);
    s += vyx::testing::Trailer();
  }
  CQzplJobData job;
  vyx::bench::CStopwatch watch;
  for (auto _ : state) {
    state.PauseTiming();
    job.SetText(s.data(), s.size());
    job.ParseJob();
    state.ResumeTiming();
    watch.Start();
    benchmark::DoNotOptimize(job.MergeSameRibbonFields());
    watch.Stop();
  }
  state.SetLabel(format == 'A' ? "hex fields" : "binary fields");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(s.size()));
  vyx::bench::ReportThroughput(state, s.size(), watch);
}
BENCHMARK(MergePass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
