// vyxq5 preview JOB -o OUT.png [--options STR] [--catalogue FILE] [--tag TAG] [--copies FILE] [--tape N]
// [--frame W,H] [--scroll X,Y]: the picture the main window's preview shows for a job as the window opens it, drawn
// by the same painter on a raster and written as PNG.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "common/ini_file.h"
#include "common/seams/debug_output.h"
#include "manager/app/preview_job.h"
#include "tools/vyxq5/commands.h"
#include "tools/vyxq5/job_file.h"
#include "tools/vyxq5/png_file.h"

namespace vyxq5 {
namespace {

// What the driver passes for a job that opens the main window with every automatic choice.
constexpr char kDefaultOptions[] = "LnMgSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt";
// A PNG holds at most this many rows and columns here; larger pictures are drawn in parts with --frame/--scroll.
constexpr std::int64_t kMaxSide = 1000000;
// The scroll bars' range.
constexpr std::int64_t kMaxScroll = 0x7fffffff;
// Pixels drawn at once: tall pictures are painted in bands of rows and written as they are done.
constexpr std::int64_t kBandPixels = std::int64_t{1} << 22;

struct CPreviewArgs {
  std::string jobPath, optionsText = kDefaultOptions, tag, cataloguePath, copiesPath, outPath;
  int tape = -1;
  std::vector<std::int64_t> frame, scroll{0, 0};
};

int RunPreview(const CPreviewArgs& a) {
  constexpr std::string_view kName = "preview";
  vyx::COptions options;
  vyx::CNullDebugOutput debug;
  if (!vyx::ParseOptions(vyx::WidenUtf8(a.optionsText), options, debug))
    return FailUsage(kName, "options not valid: " + a.optionsText);
  vyx::CQzplJobData job;
  std::string error;
  if (!a.copiesPath.empty() && !ReadCopiesFile(a.copiesPath, job, error)) return FailUsage(kName, error);
  if (!ReadJobFile(a.jobPath, job, error)) return FailUsage(kName, error);
  vyx::CIniFile catalogue;
  if (!a.cataloguePath.empty() && !catalogue.Load(a.cataloguePath))
    return FailUsage(kName, "cannot read the catalogue file " + a.cataloguePath);
  job.jobTag = a.tag;
  vyx::CWindowJob window(job, a.cataloguePath.empty() ? nullptr : &catalogue, options, vyx::CLanguageText());
  if (a.tape >= 0 && !window.ReportLoadedTape(a.tape))
    return FailUsage(kName, "tape " + std::to_string(a.tape) + " is not in the catalogue");

  const vyx::CPreviewScene scene = window.Scene();
  vyx::CPreviewView view;
  std::int64_t width = vyx::kMainWindowPreviewFrame.width, height = vyx::kMainWindowPreviewFrame.height;
  if (!a.frame.empty()) width = a.frame[0], height = a.frame[1];
  if (width == 0 && height == 0) {
    // The whole layout: as wide as the tape (or the layout), as long as the layout.
    width = std::max<std::int64_t>(vyx::kTapeWidthDots, scene.layout.layoutWidth);
    height = scene.layout.layoutLength;
  }
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
    return FailUsage(kName, "the picture would be " + std::to_string(width) + " x " + std::to_string(height) +
                                " pixels; each side must be 1 to " + std::to_string(kMaxSide) +
                                " (draw parts with --frame and --scroll)");
  for (std::int64_t v : a.scroll)
    if (v < 0 || v > kMaxScroll) return FailUsage(kName, "scroll positions must be 0 to " + std::to_string(kMaxScroll));
  view.width = static_cast<int>(width);
  view.scrollX = a.scroll[0];
  view.scrollY = a.scroll[1];

  CPngWriter png;
  if (!png.Open(a.outPath, view.width, static_cast<int>(height), error)) return FailUsage(kName, error);
  const std::int64_t band = std::max<std::int64_t>(1, kBandPixels / width);
  for (std::int64_t top = 0; top < height; top += band) {
    const std::int64_t rows = std::min(band, height - top);
    vyx::CRasterCanvas canvas(view.width, static_cast<int>(rows), 0);
    vyx::CPreviewView part = view;
    part.height = static_cast<int>(rows);
    part.scrollY = view.scrollY + top;
    vyx::PaintPreview(canvas, scene, part);
    if (!png.WriteRows(canvas)) break;
  }
  if (!png.Close(error)) return FailUsage(kName, error);
  std::printf("%s\n", a.outPath.c_str());
  return 0;
}

bool ReadPair(const std::string& text, std::vector<std::int64_t>& pair) {
  std::int64_t a = 0, b = 0;
  char end = 0;
  if (std::sscanf(text.c_str(), "%ld,%ld%c", &a, &b, &end) != 2) return false;
  pair = {a, b};
  return true;
}

}  // namespace

void AddPreviewCommand(CCommandSet& commands) {
  auto a = std::make_shared<CPreviewArgs>();
  CLI::App& cmd =
      commands.Add("preview", "The main window's preview of a job as the window opens it, written as a PNG file.",
                   [a] { return RunPreview(*a); });
  cmd.add_option("JOB", a->jobPath, "the job stream file")->required();
  cmd.add_option("-o,--out", a->outPath, "the PNG file to write")->required();
  cmd.add_option("--options", a->optionsText, "the job options string the driver passes")->default_str(kDefaultOptions);
  cmd.add_option("--catalogue", a->cataloguePath, "the colour catalogue (every default without one)");
  cmd.add_option("--tag", a->tag, "the job tag of the pipe name (\"_btw\" ends a BarTender job)");
  cmd.add_option("--copies", a->copiesPath, "a per-page copies file (never deleted)");
  cmd.add_option("--tape", a->tape, "the tape id the printer reports as loaded (none: the white tape's)");
  cmd.add_option_function<std::string>(
         "--frame",
         [a](const std::string& text) {
           if (!ReadPair(text, a->frame)) throw CLI::ValidationError("--frame", "expects W,H");
         },
         "the preview frame's size in pixels (0,0: the whole layout; default: the frame of the main window at its "
         "first size)")
      ->type_name("W,H");
  cmd.add_option_function<std::string>(
         "--scroll",
         [a](const std::string& text) {
           if (!ReadPair(text, a->scroll)) throw CLI::ValidationError("--scroll", "expects X,Y");
         },
         "the scroll positions: dots across, dots along the tape")
      ->type_name("X,Y");
}

}  // namespace vyxq5
