// The preview painting: measures, the scene taken from the window's state, and the drawing bounded by the frame.
#include "manager/app/preview_painter.h"

#include <algorithm>

#include "manager/output/layout.h"

namespace vyx {

namespace {

// A rectangle in 64 bits: page contents moved by their offsets may lie beyond the 32-bit range.
struct CSpan64 {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
  bool empty = true;

  void Add(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
    if (empty) {
      left = l, top = t, right = r, bottom = b;
      empty = false;
      return;
    }
    left = std::min(left, l), top = std::min(top, t), right = std::max(right, r), bottom = std::max(bottom, b);
  }
  void Add(const CDotRect& r, std::int64_t dx, std::int64_t dy) {
    if (r.IsEmpty() || r.HasUnsetBound()) return;
    Add(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
  }
  void Add(const CSpan64& s) {
    if (!s.empty) Add(s.left, s.top, s.right, s.bottom);
  }
  // Whether the span moved by (dx, dy) meets the clip.
  bool Meets(std::int64_t dx, std::int64_t dy, const CDotRect& clip) const {
    return !empty && left + dx < clip.right && right + dx > clip.left && top + dy < clip.bottom &&
           bottom + dy > clip.top;
  }
};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if (a % b != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}

// Copy indices i in [0, count) with lo < i x pitch < hi, as [first, end). Copies that all land on one place (pitch
// 0) are drawn once: the later ones would paint the very same pixels again.
struct CIndexRange {
  std::int64_t first = 0;
  std::int64_t end = 0;
};

CIndexRange IndicesBetween(std::int64_t count, std::int64_t pitch, std::int64_t lo, std::int64_t hi) {
  if (count <= 0 || lo >= hi) return {};
  if (pitch == 0) return lo < 0 && 0 < hi ? CIndexRange{0, 1} : CIndexRange{};
  if (pitch < 0) return IndicesBetween(count, -pitch, -hi, -lo);
  const std::int64_t first = std::max<std::int64_t>(FloorDiv(lo, pitch) + 1, 0);
  const std::int64_t end = std::min<std::int64_t>(-FloorDiv(-hi, pitch), count);
  return first < end ? CIndexRange{first, end} : CIndexRange{};
}

bool FitsInt(std::int64_t v) {
  return v >= INT32_MIN && v <= INT32_MAX;
}

}  // namespace

CPreviewLayout CPreviewLayout::Of(const CQzplHeader& header) {
  CPreviewLayout l;
  l.rows = header.rows;
  l.columns = header.columns;
  l.width = header.width;
  l.length = header.length;
  l.rowGap = header.rowGap;
  l.columnGap = header.columnGap;
  l.homeX = PlacedHome(header.homeX);
  l.homeY = PlacedHome(header.homeY);
  l.layoutWidth = LayoutWidth(header);
  l.layoutLength = LayoutLength(header);
  return l;
}

bool CPreviewGeometry::InsideLayout(std::int64_t x, std::int64_t y) const {
  const std::int64_t lx = x - originX, ly = y - originY;
  return lx >= 0 && ly >= 0 && lx < layoutWidth && ly < layoutLength;
}

CPreviewGeometry MeasurePreview(const CPreviewLayout& layout, const CPreviewView& view) {
  CPreviewGeometry g;
  g.previewWidth = std::max<std::int64_t>(view.width, kTapeWidthDots);
  g.layoutWidth = layout.layoutWidth;
  g.layoutLength = layout.layoutLength;
  g.originX = (g.previewWidth - g.layoutWidth + 1) / 2 - view.scrollX;
  g.originY = -view.scrollY;
  g.tapeLeft = (static_cast<std::int64_t>(view.width) - (kTapeWidthDots - 1)) / 2;
  return g;
}

ColorRef LoadedTapeColour(const CCatalogue& catalogue, std::int32_t loadedTapeId) {
  if (loadedTapeId < 1 || static_cast<std::size_t>(loadedTapeId) > catalogue.tapes.size()) return kUnknownTapeColour;
  return catalogue.tapes[static_cast<std::size_t>(loadedTapeId) - 1].colour;
}

ColorRef ScreenColour(const CColorRibbon& ribbon) {
  return ribbon.displayColour >= 0 ? static_cast<ColorRef>(ribbon.displayColour) : ribbon.colour;
}

ColorRef CutPathColour(ColorRef tapeColour) {
  return Brightness(tapeColour) < 128.0 ? MakeRgb(255, 255, 255) : MakeRgb(0, 0, 0);
}

CPreviewScene MakePreviewScene(CQzplJobData& job,
                               const CQzplPrintPlan& plan,
                               const CJobList& list,
                               const CCatalogue& catalogue,
                               std::int32_t loadedTapeId) {
  CPreviewScene scene;
  scene.job = &job;
  scene.tapeCutSets = &plan.tapeCutSets;
  scene.layout = CPreviewLayout::Of(job.headerInForce ? *job.headerInForce : job.parsedHeader);
  scene.tapeColour = LoadedTapeColour(catalogue, loadedTapeId);
  scene.cutColour = CutPathColour(scene.tapeColour);
  const std::size_t ribbons = catalogue.ribbons.size();
  for (const CJobRow& row : list.Rows()) {
    if (row.status != kImageToDo) continue;
    if (row.item == kCutRowItem) {
      scene.layers.push_back({true, 0, scene.cutColour});
      continue;
    }
    if (row.item < 0 || static_cast<std::size_t>(row.item) >= ribbons) continue;
    const CColorRibbon& own = catalogue.ribbons[static_cast<std::size_t>(row.item)];
    // A distributed colour has no printing ribbon of its own; its fields, if any are left, show in its colour.
    const bool printed = row.printing >= 0 && static_cast<std::size_t>(row.printing) < ribbons;
    const CColorRibbon& printing = printed ? catalogue.ribbons[static_cast<std::size_t>(row.printing)] : own;
    scene.layers.push_back({false, own.ribbonId, ScreenColour(printing)});
  }
  return scene;
}

int PaintPreview(CDrawCanvas& canvas,
                 const CPreviewScene& scene,
                 const CPreviewView& view,
                 const std::function<bool()>& stop) {
  const int w = std::max(view.width, 0), h = std::max(view.height, 0);
  const CDotRect clip{0, 0, w, h};
  const CPreviewGeometry g = MeasurePreview(scene.layout, view);
  canvas.FillRect(0, 0, w, h, kPreviewGrey);
  const std::int64_t tapeBottom = std::clamp<std::int64_t>(g.layoutLength - view.scrollY, 0, h);
  const std::int64_t tapeLeft = std::clamp<std::int64_t>(g.tapeLeft, -kTapeWidthDots, w);
  canvas.FillRect(static_cast<int>(tapeLeft), 0, static_cast<int>(tapeLeft + kTapeWidthDots),
                  static_cast<int>(tapeBottom), scene.tapeColour);
  if (!scene.job || w == 0 || h == 0) return kPaintGoAhead;

  const CPreviewLayout& l = scene.layout;
  // What one copy draws, relative to its position: per page, and over all pages and the tape cut marks.
  const std::vector<CQzplPage*>& pages = scene.job->pages;
  std::vector<CSpan64> pageReach(pages.size());
  CSpan64 reach;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const CQzplPage* page = pages[i];
    if (!page) continue;
    const std::int64_t dx = static_cast<std::int64_t>(page->offsetX) + l.homeX;
    const std::int64_t dy = static_cast<std::int64_t>(page->offsetY) + l.homeY;
    for (const CGraphicField* f : page->graphicFields)
      if (f) pageReach[i].Add(f->inkBox, dx, dy);
    for (const CGraphicObj* c : page->cutObjects)
      if (c) pageReach[i].Add(c->inkBox, dx, dy);
    reach.Add(pageReach[i]);
  }
  if (scene.tapeCutSets)
    for (const auto& set : *scene.tapeCutSets)
      if (set) reach.Add(set->inkBox, 0, 0);
  if (reach.empty) return kPaintGoAhead;

  // Only the copies whose contents meet the frame are visited, so a long layout costs what the frame shows.
  const std::int64_t pitchX = static_cast<std::int64_t>(l.width) + l.columnGap;
  const std::int64_t pitchY = static_cast<std::int64_t>(l.length) + l.rowGap;
  const CIndexRange rows = IndicesBetween(l.rows, pitchY, -g.originY - reach.bottom, h - g.originY - reach.top);
  const CIndexRange cols = IndicesBetween(l.columns, pitchX, -g.originX - reach.right, w - g.originX - reach.left);
  auto forEachCopy = [&](auto&& visit) {
    for (std::int64_t r = rows.first; r < rows.end; ++r) {
      for (std::int64_t c = cols.first; c < cols.end; ++c) {
        const std::int64_t x = g.originX + c * pitchX, y = g.originY + r * pitchY;
        if (FitsInt(x) && FitsInt(y) && !visit(static_cast<int>(x), static_cast<int>(y))) return false;
      }
    }
    return true;
  };
  auto drawObject = [&](CGraphicObj& obj, int x, int y, const CQzplPage& page, ColorRef colour) {
    const std::int64_t dx = static_cast<std::int64_t>(x) + page.offsetX + l.homeX;
    const std::int64_t dy = static_cast<std::int64_t>(y) + page.offsetY + l.homeY;
    CSpan64 ink;
    ink.Add(obj.inkBox, dx, dy);
    if (!ink.Meets(0, 0, clip)) return true;
    if (stop && stop()) return false;
    obj.Draw(canvas, x, y, clip, page.offsetX, page.offsetY, l.homeX, l.homeY, colour);
    return true;
  };

  for (const CPreviewLayer& layer : scene.layers) {
    if (!layer.cut) canvas.SelectPen(layer.colour, 1);
    const bool painted = forEachCopy([&](int x, int y) {
      for (std::size_t i = 0; i < pages.size(); ++i) {
        CQzplPage* page = pages[i];
        if (!page || !pageReach[i].Meets(x, y, clip)) continue;
        if (layer.cut) {
          for (CGraphicObj* c : page->cutObjects)
            if (c && !drawObject(*c, x, y, *page, layer.colour)) return false;
          continue;
        }
        for (CGraphicField* f : page->graphicFields)
          if (f && static_cast<std::int64_t>(f->ribbonIndex) == layer.ribbonId &&
              !drawObject(*f, x, y, *page, layer.colour))
            return false;
      }
      return true;
    });
    if (!painted) return kPaintStopped;
  }
  if (scene.tapeCutSets) {
    forEachCopy([&](int x, int y) {
      for (const auto& set : *scene.tapeCutSets)
        if (set) set->Draw(canvas, x, y, clip, 0, 0, 0, 0, kTapeCutMarkColour);
      return true;
    });
  }
  return kPaintGoAhead;
}

}  // namespace vyx
