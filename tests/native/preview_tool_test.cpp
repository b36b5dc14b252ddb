// vyxq5 preview: the PNG holds the very pixels the painter draws for the job opened as the window opens it (frame,
// scroll positions, tape, the whole layout), and every bad argument ends with status 2 and one line.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/ini_file.h"
#include "manager/app/preview_job.h"
#include "tests/support/job_builder.h"
#include "tests/support/run_tool.h"

namespace vyx {
namespace {

namespace fs = std::filesystem;
namespace jb = vyx::testing;

constexpr char kOptions[] = "LnMgSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt";

struct CPicture {
  int width = 0, height = 0;
  std::vector<ColorRef> pixels;
};

bool ReadPng(const std::string& path, CPicture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGBA;  // red first in memory: a Windows RGB value on a little-endian machine
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
  const bool read = png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr) != 0;
  for (ColorRef& p : picture.pixels) p &= 0xFFFFFFu;
  return read;
}

struct PreviewTool : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("vyx_preview_tool_" + std::to_string(::getpid()));
  std::string catalogue = std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini";
  std::string job, out;

  void SetUp() override {
    fs::create_directories(dir);
    job = (dir / "job.zpl").string();
    out = (dir / "out.png").string();
    const auto solid = [](int ribbon, const char* name, int x, int y) {
      return jb::Field(static_cast<unsigned>(ribbon), name, x, y,
                       jb::Bitmap::FromPredicate(60, 40, [](int px, int py) { return (px + py) % 3 != 0; }), 'B');
    };
    std::ofstream(job, std::ios::binary) << jb::Header(500, 400) + solid(5, "RED", 10, 10) +
                                                solid(2, "CYAN", 100, 300) + jb::RectPath(40, 40, 1200, 800) +
                                                jb::PageEnd(3, 1) + jb::Trailer();
  }
  void TearDown() override { fs::remove_all(dir); }

  // The painter's own picture of the job for the same arguments.
  CRasterCanvas Painted(CPreviewView view, int tape) const {
    CIniFile ini;
    EXPECT_TRUE(ini.Load(catalogue));
    std::ifstream in(job, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CQzplJobData data;
    data.SetText(text.data(), text.size());
    COptions options;
    CNullDebugOutput debug;
    EXPECT_TRUE(ParseOptions(WidenUtf8(kOptions), options, debug));
    CWindowJob window(data, &ini, options, CLanguageText());
    if (tape >= 0) {
      EXPECT_TRUE(window.ReportLoadedTape(tape));
    }
    const CPreviewScene scene = window.Scene();
    if (view.width == 0) view.width = kTapeWidthDots, view.height = static_cast<int>(scene.layout.layoutLength);
    CRasterCanvas canvas(view.width, view.height, 0);
    PaintPreview(canvas, scene, view);
    return canvas;
  }
};

TEST_F(PreviewTool, WritesThePaintersPixels) {
  const struct {
    std::string arguments;
    CPreviewView view;
    int tape;
  } cases[] = {
      {"--frame 300,200 --scroll 5,7", {300, 200, 5, 7}, -1},
      {"--frame 1300,900 --tape 6", {1300, 900}, 6},
      {"--frame 0,0", {0, 0}, -1},
      {"", kMainWindowPreviewFrame, -1},
  };
  for (const auto& c : cases) {
    const testing::CToolRun run = testing::RunVyxq5("preview " + job + " -o " + out + " --catalogue " + catalogue +
                                                    " --options '" + kOptions + "' " + c.arguments);
    ASSERT_EQ(0, run.status) << c.arguments << ": " << run.out;
    CPicture picture;
    ASSERT_TRUE(ReadPng(out, picture)) << c.arguments;
    const CRasterCanvas expected = Painted(c.view, c.tape);
    ASSERT_EQ(expected.Width(), picture.width) << c.arguments;
    ASSERT_EQ(expected.Height(), picture.height) << c.arguments;
    int differing = 0;
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x)
        differing += expected.GetPixel(x, y) != picture.pixels[static_cast<std::size_t>(y * picture.width + x)];
    EXPECT_EQ(0, differing) << c.arguments;
    EXPECT_GT(expected.CountInk(), 0u);
  }
}

TEST_F(PreviewTool, BadArgumentsAndUnreadableInputEndWithStatusTwoAndOneLine) {
  const std::string base = "preview " + job + " -o " + out;
  const std::string arguments[] = {
      "preview " + (dir / "missing.zpl").string() + " -o " + out,
      base + " --frame 3",
      base + " --frame 3,x",
      base + " --frame -1,5",
      base + " --frame 2000000,5",
      base + " --scroll -1,0",
      base + " --tape 99 --catalogue " + catalogue,
      base + " --options Mg",
      base + " --catalogue " + (dir / "missing.ini").string(),
      base + " --copies " + (dir / "missing.dat").string(),
      "preview " + job + " -o " + (dir / "no" / "such" / "folder.png").string(),
      "preview " + job,
  };
  for (const std::string& a : arguments) {
    const testing::CToolRun run = testing::RunVyxq5(a);
    EXPECT_EQ(2, run.status) << a << ": " << run.out;
    EXPECT_EQ(1, std::count(run.out.begin(), run.out.end(), '\n')) << a << ": " << run.out;
    EXPECT_EQ(0u, run.out.rfind("vyxq5 preview: ", 0)) << run.out;
  }
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace vyx
