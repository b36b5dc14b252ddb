// The whole silent path on a large generated job (parse, page steps, layout, recipe, writer into memory): MB/s of
// job text, and the peak memory of one run relative to the job size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>

#include "common/ini_file.h"
#include "manager/output/print_job_text.h"
#include "tests/support/job_builder.h"

namespace {

using vyx::testing::Bitmap;

// Twelve pages of three binary ribbon layers (1000 x 3000 dots each), one cut path per page, copies on some pages.
const std::string& LargeJob() {
  static std::string s;
  if (!s.empty()) return s;
  static const Bitmap layers[3] = {
      Bitmap::FromPredicate(1000, 3000, [](int x, int y) { return ((x / 9) + (y / 13)) % 3 == 0; }),
      Bitmap::FromPredicate(1000, 3000, [](int x, int y) { return (x ^ y) % 5 == 0; }),
      Bitmap::FromPredicate(1000, 3000, [](int x, int y) { return y % 40 < 12 && x % 300 < 200; }),
  };
  static const char* names[3] = {"BLACK", "RED", "CYAN"};
  static const unsigned ids[3] = {0, 5, 2};
  s = vyx::testing::Header(1216, 3200);
  for (int p = 1; p <= 12; ++p) {
    for (int r = 0; r < 3; ++r) s += vyx::testing::Field(ids[r], names[r], 20, 20, layers[r], 'B');
    s += vyx::testing::RectPath(200, 200, 3800, 11800);
    s += vyx::testing::PageEnd(p % 4 == 0 ? 2 : 1, p);
  }
  s += vyx::testing::Trailer();
  return s;
}

// Takes every byte like a printer queue that never refuses.
class CCountingSpooler : public vyx::CSpoolerCalls {
 public:
  bool OpenPrinterHandle(const std::wstring&, vyx::OutputHandle* handle) override {
    *handle = this;
    return true;
  }
  bool ClosePrinter(vyx::OutputHandle) override { return true; }
  vyx::OutputHandle CreateOutputFile(const std::wstring&) override { return nullptr; }
  bool CloseHandle(vyx::OutputHandle) override { return true; }
  bool StartRawDocPrinter(vyx::OutputHandle, const std::wstring&) override { return true; }
  bool StartPagePrinter(vyx::OutputHandle) override { return true; }
  bool EndPagePrinter(vyx::OutputHandle) override { return true; }
  bool EndDocPrinter(vyx::OutputHandle) override { return true; }
  bool WritePrinter(vyx::OutputHandle, const void* data, std::uint32_t count, std::uint32_t* written) override {
    total += count;
    if (keep) bytes.append(static_cast<const char*>(data), count);
    *written = count;
    return true;
  }
  bool WriteFile(vyx::OutputHandle, const void*, std::uint32_t, std::uint32_t*) override { return false; }
  std::uint32_t LastError() override { return 0; }
  std::uint32_t TickCount() override { return 0; }
  void Sleep(std::uint32_t) override {}
  std::wstring SystemMessage(std::uint32_t) override { return {}; }
  bool keep = true;
  std::size_t total = 0;
  std::string bytes;
};

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

long CurrentRssKb() {
  long pages = 0, resident = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(f);
  return resident * 4;
}

void SilentPrintPath(benchmark::State& state) {
  const std::string& text = LargeJob();
  vyx::CJobTextPrint input;
  input.jobText = text;
  vyx::CNullDebugOutput debug;
  vyx::ParseOptions(L"LnSlSvBo9;59;59;24;0;OpAmLrAeAcCtPlAoAhNt", input.options, debug);
  vyx::CIniFile catalogue;
  catalogue.Parse(
      "[Palette]\nNumberOfColors=3\nNumberOfTapeColors=0\n"
      "[ColorA]\nName=Cyan\nRedVal=0\nGreenVal=160\nBlueVal=230\nRibbonID=2\nQZPLName=CYAN\n"
      "[ColorB]\nName=Red\nRedVal=230\nGreenVal=0\nBlueVal=0\nRibbonID=5\nQZPLName=RED\n"
      "[ColorC]\nName=Black\nRedVal=0\nGreenVal=0\nBlueVal=0\nRibbonID=0\nQZPLName=BLACK\n");
  input.catalogue = &catalogue;
  const long before = CurrentRssKb();
  std::size_t written = 0;
  for (auto _ : state) {
    CCountingSpooler spooler;
    spooler.keep = state.range(0) == 0;
    vyx::CRecordingMessageSink messages;
    const bool ok =
        vyx::PrintJobText(input, spooler, messages, [](vyx::CPrintChannel& c) { return c.OpenPrinterOutput(L"q"); });
    if (!ok) state.SkipWithError("the silent print failed");
    written = spooler.total;
  }
  const double jobBytes = static_cast<double>(text.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
  state.counters["job_MB"] = jobBytes / 1e6;
  state.counters["out_MB"] = static_cast<double>(written) / 1e6;
  state.SetLabel(state.range(0) == 0 ? "stream kept in memory" : "stream counted only");
  // Peak resident memory above what the process held before the runs (the input text itself is part of that).
  state.counters["peak_over_job"] = static_cast<double>(PeakRssKb() - before) * 1024.0 / jobBytes;
}
BENCHMARK(SilentPrintPath)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
