// Plotter path throughput: reading strokes, flattening Bezier paths and assembling fragmented outlines of a page
// with a few thousand curves; reports paths per second.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "manager/model/bezier_curve.h"
#include "manager/model/fragmented_shape.h"

namespace {

using namespace vyx;

std::string Move(std::int64_t x, std::int64_t y) {
  return "^RPM" + std::to_string(x) + "," + std::to_string(y) + "\r\n";
}

// A circle of four Bezier quarters around (cx, cy) with radius r, all in quarter dots.
std::string CirclePath(int cx, int cy, int r) {
  const int h = r * 5523 / 10000;
  auto b = [&](int x1, int y1, int x2, int y2, int x3, int y3) {
    return "^RPB" + std::to_string(cx + x1) + "," + std::to_string(cy + y1) + "," + std::to_string(cx + x2) + "," +
           std::to_string(cy + y2) + "," + std::to_string(cx + x3) + "," + std::to_string(cy + y3) + "\r\n";
  };
  return "^RPU\r\n" + Move(cx + r, cy) + "^RPD\r\n" + b(r, h, h, r, 0, r) + b(-h, r, -r, h, -r, 0) +
         b(-r, -h, -h, -r, 0, -r) + b(h, -r, r, -h, r, 0) + "^RPU\r\n";
}

// A square outline of side s at (x, y) cut into 8 open pieces of 3 points.
std::string SquarePieces(int x, int y, int s) {
  const int c[8][2] = {{0, 0}, {s / 2, 0}, {s, 0}, {s, s / 2}, {s, s}, {s / 2, s}, {0, s}, {0, s / 2}};
  std::string text;
  for (int k = 0; k < 8; ++k) {
    const int* a = c[k];
    const int* e = c[(k + 1) % 8];
    text += "^RPU\r\n" + Move(x + a[0], y + a[1]) + "^RPD\r\n" + Move(x + (a[0] + e[0]) / 2, y + (a[1] + e[1]) / 2) +
            Move(x + e[0], y + e[1]) + "^RPU\r\n";
  }
  return text;
}

struct CPageText {
  std::string bytes;
  std::size_t size = 0;
  char* begin() { return bytes.data(); }
  char* limit() { return bytes.data() + size; }
};

CPageText MakePage(int circles, int squares) {
  CPageText page;
  for (int i = 0; i < circles; ++i) page.bytes += CirclePath(400 + (i % 40) * 120, 400 + (i / 40) * 120, 40 + i % 50);
  for (int i = 0; i < squares; ++i) page.bytes += SquarePieces((i % 30) * 160, 20000 + (i / 30) * 160, 120);
  page.bytes += "^XPG1,1\r\n";
  page.size = page.bytes.size();
  page.bytes.append(2, '\0');
  return page;
}

// Reads every path of the page, flattening curves and joining fragments as the page reader does; returns the
// number of paths read.
std::int64_t ReadPaths(CPageText& page, std::int64_t& bytesOut) {
  std::int64_t paths = 0;
  std::unique_ptr<CFragmentedShape> shape;
  char* p = page.begin();
  while (p + 3 <= page.limit() && std::string_view(p, 3) == "^RP") {
    auto* stroke = new CCutObj;
    char* next = stroke->Parse(p, page.limit());
    if (next == p) {
      delete stroke;
      break;
    }
    p = next;
    ++paths;
    CCutObj* cut = stroke;
    if (stroke->bezierCount != 0) {
      cut = BuildBezierCurve(*stroke, nullptr).release();
      delete stroke;
    }
    bytesOut += cut->textLength;
    if (cut->closed == 0 && cut->inkBox.Area() >= 2) {
      if (shape == nullptr) shape = std::make_unique<CFragmentedShape>();
      if (shape->AddFragment(cut) == kFragmentBackAtStart) {
        shape->Assemble();
        bytesOut += shape->textLength;
        shape.reset();
      }
      continue;
    }
    delete cut;
  }
  return paths;
}

void RunPage(benchmark::State& state, int circles, int squares) {
  CPageText page = MakePage(circles, squares);
  std::int64_t paths = 0;
  std::int64_t bytesOut = 0;
  for (auto _ : state) {
    paths += ReadPaths(page, bytesOut);
    benchmark::DoNotOptimize(bytesOut);
  }
  state.counters["paths/s"] = benchmark::Counter(static_cast<double>(paths), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size));
}

// 3000 circles of four Bezier quarters each.
void BM_FlattenCurvesPage(benchmark::State& state) {
  RunPage(state, 3000, 0);
}
// 400 squares of 8 fragments each (3200 strokes).
void BM_AssembleFragmentsPage(benchmark::State& state) {
  RunPage(state, 0, 400);
}
// Both on one page.
void BM_MixedPathsPage(benchmark::State& state) {
  RunPage(state, 2000, 250);
}

// One segment flattened on its own.
void BM_FlattenQuarterCircle(benchmark::State& state) {
  const CQuarterPoint controls[3] = {{400, 221}, {221, 400}, {0, 400}};
  CQuarterPoint out[kMaxBezierPoints];
  std::int64_t segments = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FlattenBezierSegment({400, 0}, controls, kMaxBezierPoints, out, nullptr));
    ++segments;
  }
  state.counters["segments/s"] = benchmark::Counter(static_cast<double>(segments), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_FlattenCurvesPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssembleFragmentsPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedPathsPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlattenQuarterCircle);

}  // namespace
