// The printer command writer on a large job: every ribbon pass, the cut data and the trailer into a channel that
// only counts bytes (the writer's own cost) and into memory; reports MB/s of printer stream.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"
#include "common/seams/output_channel.h"
#include "manager/model/job.h"
#include "manager/model/page.h"
#include "manager/output/writer.h"
#include "tests/support/job_builder.h"

namespace {

using namespace vyx;

// Counts what it is given without copying it.
struct CCountingChannel : COutputChannel {
  std::size_t bytes = 0;
  bool StartDocument(unsigned) override { return true; }
  bool Write(const void*, std::size_t size) override {
    bytes += size;
    return true;
  }
  bool EndDocument() override { return true; }
};

const std::string& LargeJob() {
  static std::string s;
  if (!s.empty()) return s;
  const testing::Bitmap layer =
      testing::Bitmap::FromPredicate(1216, 20000, [](int x, int y) { return ((x / 9) + (y / 13)) % 3 == 0; });
  s = testing::Header(1216, 40000);
  // Two fields per ribbon, one above the other: a consolidated page merges them while writing.
  for (unsigned r = 0; r < 4; ++r)
    for (int half = 0; half < 2; ++half)
      s += testing::Field(r, "Ribbon" + std::to_string(r), 0, half * 20000, layer, 'A');
  s += testing::RectPath(40, 40, 4800, 159000);
  s += testing::PageEnd(1, 1);
  s += testing::Trailer();
  return s;
}

void BuildPlan(CQzplJobData& job, CQzplPrintPlan& plan) {
  auto pj = std::make_unique<CQzplPrintJob>();
  pj->header.InitFrom(job.parsedHeader);
  pj->ribbonMask = job.pages[0]->ribbonMask;
  plan.printJobs.push_back(std::move(pj));
  AddWriteCommand(plan, kCmdHeader, 0, nullptr, false);
  for (int r = 0; r < 4; ++r) {
    AddWriteCommand(plan, kCmdRibbonSelect, r, ("Ribbon" + std::to_string(r)).c_str(), true).ribbonMask = 1u << r;
    AddWriteCommand(plan, kCmdRibbonFields, r, nullptr, false);
  }
  AddWriteCommand(plan, kCmdCutData, 0, nullptr, false);
  AddWriteCommand(plan, kCmdTrailer, 0, nullptr, false);
}

template <typename Channel>
void WriteJob(benchmark::State& state) {
  const std::string& text = LargeJob();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  job.ParseJob();
  CQzplPrintPlan plan;
  BuildPlan(job, plan);
  std::size_t written = 0;
  for (auto _ : state) {
    Channel out;
    benchmark::DoNotOptimize(Print(job, plan, out, -1));
    if constexpr (std::is_same_v<Channel, CCountingChannel>)
      written = out.bytes;
    else
      written = out.Bytes().size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(written));
  state.counters["stream_MB"] = static_cast<double>(written) / 1e6;
}
BENCHMARK(WriteJob<CCountingChannel>)->Name("WriteJob/counting")->Unit(benchmark::kMillisecond);
BENCHMARK(WriteJob<CMemoryChannel>)->Name("WriteJob/memory")->Unit(benchmark::kMillisecond);

// A consolidated page: the two fields of each ribbon are merged into one while they are written.
void WriteChangedPage(benchmark::State& state) {
  const std::string& text = LargeJob();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  job.ParseJob();
  job.pages[0]->changeCounter = 1;
  CQzplPrintPlan plan;
  BuildPlan(job, plan);
  for (auto _ : state) {
    CCountingChannel out;
    benchmark::DoNotOptimize(Print(job, plan, out, -1));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(WriteChangedPage)->Unit(benchmark::kMillisecond);

// A consolidated page whose one ribbon comes in twenty strips: the writer merges them into one field.
void WriteChangedStrips(benchmark::State& state) {
  const char format = state.range(0) == 0 ? 'A' : 'B';
  static std::string text[2];
  std::string& s = text[format == 'A' ? 0 : 1];
  if (s.empty()) {
    const testing::Bitmap strip =
        testing::Bitmap::FromPredicate(1216, 1000, [](int x, int y) { return (x + y) % 3 == 0; });
    s = testing::Header(1216, 20000);
    for (int k = 0; k < 20; ++k) s += testing::Field(0, "Black", 0, 1000 * k, strip, format);
    s += testing::PageEnd(1, 1);
    s += testing::Trailer();
  }
  CQzplJobData job;
  job.SetText(s.data(), s.size());
  job.ParseJob();
  CQzplPage& page = *job.pages[0];
  page.changeCounter = 1;
  bench::CStopwatch watch;
  for (auto _ : state) {
    CCountingChannel out;
    bool ribbonLine = true;
    watch.Start();
    benchmark::DoNotOptimize(WriteRibbonFields(page, out, 0, ribbonLine));
    watch.Stop();
  }
  state.SetLabel(format == 'A' ? "hex fields" : "binary fields");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(s.size()));
  bench::ReportThroughput(state, s.size(), watch);
}
BENCHMARK(WriteChangedStrips)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
