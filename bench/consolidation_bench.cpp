// Colour consolidation of a realistic four-colour page against the parse of the same page; reports MB/s of the
// page's field data (the job text).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "common/seams/draw_canvas.h"
#include "manager/model/consolidation.h"
#include "manager/model/job.h"
#include "tests/support/job_builder.h"

namespace {

using vyx::CQzplJobData;
using vyx::testing::Bitmap;

constexpr int kWidth = 1216;
constexpr int kHeight = 8000;

// Block letters of 2-dot strokes, 16 x 24 dots in cells of 20 x 40.
bool Letter(int x, int y) {
  const int gx = x % 20, gy = y % 40, which = (x / 20 + y / 40) % 3;
  if (gx >= 16 || gy >= 24) return false;
  const bool stem = gx < 2, top = gy < 2, mid = gy >= 11 && gy < 13, bottom = gy >= 22, right = gx >= 14;
  switch (which) {
    case 0:
      return stem || top || mid || bottom;  // E
    case 1:
      return stem || top || mid || (right && gy < 12);  // P
    default:
      return stem || bottom || (right && gy >= 12) || mid;  // a rounded shape of strokes
  }
}

// Black area over the lower two thirds, thin red text over it and above it, a 12.5 % cyan tint band and a sparse
// yellow trace (a diagonal hairline and a few dots).
const std::string& FourColourPage(char format) {
  static std::string cache[2];
  std::string& s = cache[format == 'A' ? 0 : 1];
  if (!s.empty()) return s;
  const Bitmap dark = Bitmap::FromPredicate(
      kWidth, kHeight, [](int x, int y) { return y >= kHeight / 3 && x >= 40 && x < kWidth - 40 && !Letter(x, y); });
  const Bitmap text =
      Bitmap::FromPredicate(kWidth, kHeight, [](int x, int y) { return x >= 60 && x < kWidth - 60 && Letter(x, y); });
  const Bitmap tint = Bitmap::FromPredicate(
      kWidth, kHeight, [](int x, int y) { return y >= 200 && y < kHeight / 3 - 200 && x % 4 == 0 && y % 2 == 0; });
  const Bitmap trace = Bitmap::FromPredicate(
      kWidth, kHeight, [](int x, int y) { return (x == (y * kWidth) / kHeight) || (x % 97 == 0 && y % 89 == 0); });
  s = vyx::testing::Header(kWidth, kHeight);
  s += vyx::testing::Field(2, "Black", 0, 0, dark, format);
  s += vyx::testing::Field(1, "Red", 0, 0, text, format);
  s += vyx::testing::Field(5, "Cyan", 0, 0, tint, format);
  s += vyx::testing::Field(3, "Yellow", 0, 0, trace, format);
  s += vyx::testing::PageEnd(1, 1);
  s += vyx::testing::Trailer();
  return s;
}

struct CColours {
  std::int32_t table[32];
  CColours() {
    std::fill(std::begin(table), std::end(table), -1);
    table[1] = static_cast<std::int32_t>(vyx::MakeRgb(200, 30, 40));
    table[2] = 0;
    table[3] = static_cast<std::int32_t>(vyx::MakeRgb(250, 220, 0));
    table[5] = static_cast<std::int32_t>(vyx::MakeRgb(0, 160, 230));
  }
};

void ParseFourColourPage(benchmark::State& state) {
  const std::string& text = FourColourPage(state.range(0) == 0 ? 'A' : 'B');
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  for (auto _ : state) benchmark::DoNotOptimize(job.ParseJob());
  state.SetLabel(state.range(0) == 0 ? "hex fields" : "binary fields");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(ParseFourColourPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void ConsolidateFourColourPage(benchmark::State& state) {
  const std::string& text = FourColourPage(state.range(0) == 0 ? 'A' : 'B');
  const CColours colours;
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  int changes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    job.ParseJob();  // consolidation changes the page: start from a fresh parse each time
    std::int32_t outcomes[32] = {};
    state.ResumeTiming();
    changes = vyx::ConsolidatePage(*job.pages[0], colours.table, outcomes);
    benchmark::DoNotOptimize(outcomes);
  }
  state.counters["changes"] = changes;
  state.counters["fields_after"] = static_cast<double>(job.pages[0]->graphicFields.size());
  state.SetLabel(state.range(0) == 0 ? "hex fields" : "binary fields");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(ConsolidateFourColourPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
