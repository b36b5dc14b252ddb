// Cut collection and cut order: routing and ordering the paths of a page with a few thousand paths (BarTender
// rectangles and ellipses, plain cuts, fragmented outlines), and cheapest insertion on its own; paths per second.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "manager/model/cut_collection.h"
#include "manager/model/cut_order.h"
#include "tests/support/pen_paths.h"

namespace {

using namespace vyx;

using testing::BandPath;
using testing::BarPath;
using testing::PenPathText;
// A BarTender rectangle 200 x 100 dots at (x, y) quarter dots: four bars shortened for radius 16, four corners.
std::string Rectangle(int x, int y) {
  return BarPath(x + 16, y, x + 780, y + 4) + BarPath(x + 792, y + 16, x + 796, y + 380) +
         BarPath(x + 16, y + 392, x + 780, y + 396) + BarPath(x, y + 16, x + 4, y + 380) +
         BarPath(x, y, x + 16, y + 16) + BarPath(x + 780, y, x + 796, y + 16) + BarPath(x, y + 380, x + 16, y + 396) +
         BarPath(x + 780, y + 380, x + 796, y + 396);
}
// A BarTender ellipse of 100 x 100 dots at (x, y) quarter dots.
std::string Ellipse(int x, int y) {
  return BandPath(x + 200, y, x + 396, y + 196) + BandPath(x, y, x + 196, y + 196) +
         BandPath(x, y + 200, x + 196, y + 396) + BandPath(x + 200, y + 200, x + 396, y + 396);
}
// A diamond of 100 dots in 8 open pieces.
std::string Diamond(int x, int y) {
  const CQuarterPoint c[8] = {{200, 0},   {300, 100}, {400, 200}, {300, 300},
                              {200, 400}, {100, 300}, {0, 200},   {100, 100}};
  std::string text;
  for (int k = 0; k < 8; ++k) {
    const CQuarterPoint a{x + c[k].x, y + c[k].y}, e{x + c[(k + 1) % 8].x, y + c[(k + 1) % 8].y};
    text += PenPathText({a, {(a.x + e.x) / 2, (a.y + e.y) / 2}, e});
  }
  return text;
}

struct CPage {
  std::string text;
  std::size_t end = 0;
  int paths = 0;
};

// Shapes on a grid in a shuffled order, so that the cut order has real work to do: 8 paths per rectangle and
// per diamond, 4 per ellipse, 1 per plain cut.
CPage MakePage(int groups) {
  CPage page;
  for (int i = 0; i < groups; ++i) {
    const int cell = (i * 7919) % groups;
    const int x = (cell % 40) * 1000, y = (cell / 40) * 1000;
    page.text +=
        Rectangle(x, y) + Ellipse(x + 400, y + 500) + Diamond(x, y + 500) + BarPath(x + 500, y, x + 900, y + 400);
    page.paths += 8 + 4 + 8 + 1;
  }
  page.end = page.text.size();
  page.text += "^XPG1,1\r\n";
  page.text.append(2, '\0');
  return page;
}

void BM_CollectAndOrderPage(benchmark::State& state) {
  CPage page = MakePage(static_cast<int>(state.range(0)));
  CCutCollectOptions options;
  options.barTender = state.range(1) != 0;
  std::size_t objects = 0;
  for (auto _ : state) {
    CQzplPage target;
    CollectPageCuts(target, page.text.data(), page.text.data() + page.end, options);
    objects = target.cutObjects.size();
    benchmark::DoNotOptimize(target.cutTravel);
  }
  state.counters["paths"] = page.paths;
  state.counters["cut objects"] = static_cast<double>(objects);
  state.counters["paths/s"] = benchmark::Counter(
      static_cast<double>(page.paths) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Cheapest insertion alone: n cut objects at scattered points.
void BM_InsertCuts(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    CQzplPage page;
    for (int i = 0; i < n; ++i) {
      auto* c = new CCutObj;
      c->firstPoint = {(i * 7919) % 40000, (i * 104729) % 40000};
      c->inkBox = {0, 0, 10, 10};
      AcceptCut(page, c);
    }
    benchmark::DoNotOptimize(page.cutTravel);
  }
  state.counters["cuts/s"] =
      benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// 200 groups = 4200 paths; the BarTender job forms 600 shapes and 200 plain cuts, the other job orders them all.
BENCHMARK(BM_CollectAndOrderPage)->Args({200, 1})->Args({200, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertCuts)->Arg(1000)->Arg(4000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
