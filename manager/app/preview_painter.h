// The label preview painted on a canvas at one pixel per dot: the grey frame, the tape in the loaded tape's colour,
// every row to do of the job list at every label copy (fields in the screen colour of their printing ribbon, the
// cut paths) and the tape cut set marks. Only what falls inside the frame is read and drawn.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "common/seams/draw_canvas.h"
#include "manager/app/job_list.h"
#include "manager/app/painter_sync.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"
#include "manager/output/writer.h"

namespace vyx {

inline constexpr ColorRef kPreviewGrey = 14474460;
inline constexpr ColorRef kUnknownTapeColour = 16448250;
inline constexpr ColorRef kTapeCutMarkColour = MakeRgb(255, 0, 255);

// The frame and where it looks at the layout.
struct CPreviewView {
  int width = 0;  // client size of the frame in pixels
  int height = 0;
  std::int64_t scrollX = 0;  // dots across
  std::int64_t scrollY = 0;  // dots along the tape
};

// The frame's size in the main window at its first size of 1290 x 1019 pixels with the standard window metrics.
inline constexpr CPreviewView kMainWindowPreviewFrame{1241, 655};

// The measures of the layout of the header in force that the painting and the window share.
struct CPreviewLayout {
  std::int32_t rows = 1;
  std::int32_t columns = 1;
  std::int32_t width = 0;
  std::int32_t length = 0;
  std::int32_t rowGap = 0;
  std::int32_t columnGap = 0;
  std::int32_t homeX = 0;  // 0 when the job sets none
  std::int32_t homeY = 0;
  std::int64_t layoutWidth = 0;   // columns x width + (columns - 1) x column gap
  std::int64_t layoutLength = 0;  // rows x length + (rows - 1) x row gap

  static CPreviewLayout Of(const CQzplHeader& header);
};

// Where the layout lands in the frame.
struct CPreviewGeometry {
  std::int64_t previewWidth = 0;  // the frame's width, at least the tape's
  std::int64_t layoutWidth = 0;
  std::int64_t layoutLength = 0;
  std::int64_t originX = 0;  // frame position of the layout's top left corner
  std::int64_t originY = 0;
  std::int64_t tapeLeft = 0;  // frame position of the tape's left edge

  // Whether frame point (x, y) lies on the laid-out labels (inside the layout's width and length).
  bool InsideLayout(std::int64_t x, std::int64_t y) const;
};
CPreviewGeometry MeasurePreview(const CPreviewLayout& layout, const CPreviewView& view);

// One row to do of the job list as the preview draws it.
struct CPreviewLayer {
  bool cut = false;           // the plotter cut row: every page's cut paths
  std::int32_t ribbonId = 0;  // a colour row: the fields of this ribbon id
  ColorRef colour = 0;        // the screen colour of the ribbon that prints them
};

// What a painting works on. The layers, colours and measures are copies taken when the painting is asked for; the
// pages and the tape cut marks are read while painting, so the job must not change meanwhile.
struct CPreviewScene {
  CQzplJobData* job = nullptr;
  const std::vector<std::unique_ptr<CTapeCutSet>>* tapeCutSets = nullptr;
  CPreviewLayout layout;
  std::vector<CPreviewLayer> layers;
  ColorRef tapeColour = kUnknownTapeColour;
  ColorRef cutColour = 0;
};

// The tape's colour: the tape colour at 1-based position `loadedTapeId` of the catalogue's tape list.
ColorRef LoadedTapeColour(const CCatalogue& catalogue, std::int32_t loadedTapeId);
// The screen colour of a ribbon colour: its display colour when the catalogue gives one.
ColorRef ScreenColour(const CColorRibbon& ribbon);
// Cut paths show in black, or in white on a dark tape.
ColorRef CutPathColour(ColorRef tapeColour);

CPreviewScene MakePreviewScene(CQzplJobData& job,
                               const CQzplPrintPlan& plan,
                               const CJobList& list,
                               const CCatalogue& catalogue,
                               std::int32_t loadedTapeId);

// Paints the preview for `view` onto `canvas` (whose pixel (0, 0) is the frame's top left corner). `stop` is asked
// before each field and cut path is drawn; when it answers true the painting ends with kPaintStopped. Returns
// kPaintGoAhead when everything was painted.
int PaintPreview(CDrawCanvas& canvas,
                 const CPreviewScene& scene,
                 const CPreviewView& view,
                 const std::function<bool()>& stop = {});

}  // namespace vyx
