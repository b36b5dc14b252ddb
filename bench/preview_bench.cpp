// The preview painting: a repaint of a full frame (1217 x 1000) for a one-page job of 3.6 MB and for a generated
// 200 MB job of 55 such pages, which must cost about the same because only what the frame shows is read; and the whole
// layout of the large job painted band by band and written as PNG, in pixels per second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/ini_file.h"
#include "manager/app/preview_job.h"
#include "tests/support/job_builder.h"
#include "tools/vyxq5/png_file.h"

namespace {

namespace jb = vyx::testing;

constexpr wchar_t kFormSize[] = L"LnMgSvBo0;0;0;0;0;OrUmEcUeUcNcPlAoAhNt";
constexpr vyx::CPreviewView kFrame{1217, 1000};

// A job text opened as the main window opens it, with the sample catalogue.
struct COpened {
  std::string text;
  vyx::CIniFile ini;
  vyx::CQzplJobData job;
  std::unique_ptr<vyx::CWindowJob> window;
  vyx::CPreviewScene scene;

  explicit COpened(std::string jobText) : text(std::move(jobText)) {
    ini.Load(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini");
    vyx::COptions options;
    vyx::CNullDebugOutput debug;
    vyx::ParseOptions(kFormSize, options, debug);
    job.SetText(text.data(), text.size());
    window = std::make_unique<vyx::CWindowJob>(job, &ini, options, vyx::CLanguageText());
    scene = window->Scene();
  }
};

// Pages of three binary ribbon layers of 1216 x 8000 dots each: one page is about 3.6 MB of job text, 55 pages
// about 200 MB. Both look the same in a frame.
std::string LayeredJob(int pages) {
  static const jb::Bitmap layers[3] = {
      jb::Bitmap::FromPredicate(1216, 8000, [](int x, int y) { return ((x / 9) + (y / 13)) % 3 == 0; }),
      jb::Bitmap::FromPredicate(1216, 8000, [](int x, int y) { return (x ^ y) % 5 == 0; }),
      jb::Bitmap::FromPredicate(1216, 8000, [](int x, int y) { return y % 40 < 12 && x % 300 < 200; }),
  };
  const char* names[3] = {"BLACK", "RED", "CYAN"};
  const unsigned ids[3] = {0, 5, 2};
  std::string s = jb::Header(1216, 8200);
  for (int p = 1; p <= pages; ++p) {
    for (int r = 0; r < 3; ++r) s += jb::Field(ids[r], names[r], 0, 100, layers[r], 'B');
    s += jb::PageEnd(1, p);
  }
  return s + jb::Trailer();
}

COpened& LargeJob() {
  static COpened opened(LayeredJob(55));
  return opened;
}

COpened& SmallJob() {
  static COpened opened(LayeredJob(1));
  return opened;
}

double g_smallRepaintNs = 0;

// Nanoseconds of one memcpy of a buffer as large as the frame's pixels, in this run.
double MemcpyNs() {
  const std::size_t bytes = static_cast<std::size_t>(kFrame.width) * kFrame.height * sizeof(vyx::ColorRef);
  std::vector<char> a(bytes, 1), b(bytes);
  constexpr int kReps = 50;
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < kReps; ++i) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / kReps;
}

// One full-frame repaint, looking at the last page of the layout.
void Repaint(benchmark::State& state, COpened& opened, bool large) {
  vyx::CPreviewView view = kFrame;
  view.scrollY = opened.scene.layout.layoutLength - 8200 + 2000;
  vyx::CRasterCanvas canvas(view.width, view.height, 0);
  const auto t0 = std::chrono::steady_clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(vyx::PaintPreview(canvas, opened.scene, view));
  const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() /
                    static_cast<double>(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(view.width) * view.height * 4);
  state.counters["job_MB"] = static_cast<double>(opened.text.size()) / 1e6;
  state.counters["repaint_ms"] = ns / 1e6;
  state.counters["x_memcpy"] = ns / MemcpyNs();
  if (!large) g_smallRepaintNs = ns;
  if (large && g_smallRepaintNs > 0) state.counters["large_over_small"] = ns / g_smallRepaintNs;
}

void BM_RepaintFrameSmallJob(benchmark::State& state) {
  Repaint(state, SmallJob(), false);
}
BENCHMARK(BM_RepaintFrameSmallJob)->Unit(benchmark::kMillisecond);

void BM_RepaintFrameLargeJob(benchmark::State& state) {
  Repaint(state, LargeJob(), true);
}
BENCHMARK(BM_RepaintFrameLargeJob)->Unit(benchmark::kMillisecond);

// The whole layout of the large job as vyxq5 preview --frame 0,0 draws it.
void BM_FullLayoutPngLargeJob(benchmark::State& state) {
  COpened& opened = LargeJob();
  const int width = vyx::kTapeWidthDots;
  const auto height = static_cast<int>(opened.scene.layout.layoutLength);
  const int band = (1 << 22) / width;
  const std::string path = "/tmp/vyx_preview_bench.png";
  for (auto _ : state) {
    vyxq5::CPngWriter png;
    std::string error;
    png.Open(path, width, height, error);
    for (int top = 0; top < height; top += band) {
      vyx::CPreviewView part{width, std::min(band, height - top), 0, top};
      vyx::CRasterCanvas canvas(part.width, part.height, 0);
      vyx::PaintPreview(canvas, opened.scene, part);
      png.WriteRows(canvas);
    }
    if (!png.Close(error)) state.SkipWithError(error.c_str());
  }
  std::remove(path.c_str());
  state.counters["pixels_per_s"] =
      benchmark::Counter(static_cast<double>(width) * height * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["pixels"] = static_cast<double>(width) * height;
}
BENCHMARK(BM_FullLayoutPngLargeJob)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
