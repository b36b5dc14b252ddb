// The label preview on the raster canvas: known pixels of small jobs opened in the main window's model (tape,
// ribbon colours, skipped rows, tape cut marks, scrolling), fields outside the frame never read, and a painting
// stopped between fields.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "common/ini_file.h"
#include "manager/app/preview_job.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

namespace jb = vyx::testing;

std::string Solid(int ribbon, const char* name, int x, int y, int w, int h) {
  return jb::Field(static_cast<unsigned>(ribbon), name, x, y,
                   jb::Bitmap::FromPredicate(w, h, [](int, int) { return true; }));
}

// Form size, automatic gap of 20 dots, no outline.
constexpr wchar_t kFormSize[] = L"LnMgSvBo0;0;0;0;0;OrUmEcUeUcNcPlAoAhNt";

// A job opened in the main window's model with the sample catalogue.
struct CPreviewJob {
  CIniFile ini;
  CQzplJobData job;
  std::unique_ptr<CWindowJob> window;
  CMainWindowModel* model = nullptr;

  void Load(const std::string& text, const wchar_t* optionsText) {
    ASSERT_TRUE(ini.Load(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini"));
    CNullDebugOutput debug;
    COptions options;
    ASSERT_TRUE(ParseOptions(optionsText, options, debug));
    job.SetText(text.data(), text.size());
    window = std::make_unique<CWindowJob>(job, &ini, options, CLanguageText());
    model = &window->Model();
  }
  int Index(const wchar_t* colour) const { return window->Catalogue().IndexOfName(colour); }
  std::size_t Row(const wchar_t* colour) const {
    const auto& rows = model->JobList().Rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].item == Index(colour)) return i;
    ADD_FAILURE() << "no row";
    return 0;
  }
  CPreviewScene Scene() const { return window->Scene(); }
  CRasterCanvas Paint(CPreviewView view, int* result = nullptr, const std::function<bool()>& stop = {}) const {
    CRasterCanvas canvas(view.width, view.height, 0);
    const int r = PaintPreview(canvas, Scene(), view, stop);
    if (result) *result = r;
    return canvas;
  }
  CGraphicField* FieldOfRibbon(std::uint32_t ribbon) const {
    for (CGraphicField* f : job.pages[0]->graphicFields)
      if (f->ribbonIndex == ribbon) return f;
    return nullptr;
  }
};

constexpr ColorRef kWhiteDisplay = 15790320, kGoldDisplay = 3649492;
const ColorRef kRed = MakeRgb(220, 30, 40), kBlue = MakeRgb(0, 80, 170);

// Two copies of a 400 x 300 label side by side with a 20-dot gap: the layout is 820 wide, so in a 1217-wide frame
// it starts at (1217 - 820 + 1) / 2 = 199. Fields of 40 x 40: white at (10, 20), red at (60, 20), gold at
// (110, 20).
std::string TwoCopies() {
  return jb::Header(400, 300) + Solid(1, "WHITE", 10, 20, 40, 40) + Solid(5, "RED", 60, 20, 40, 40) +
         Solid(9, "GOLD", 110, 20, 40, 40) + jb::PageEnd(2, 1) + jb::Trailer();
}

TEST(PreviewPainter, KnownPixelsOfTwoCopies) {
  CPreviewJob p;
  p.Load(TwoCopies(), kFormSize);
  ASSERT_EQ(820, p.Scene().layout.layoutWidth);
  ASSERT_EQ(300, p.Scene().layout.layoutLength);
  p.model->OnRibbonChosen(p.Row(L"Red"), p.Index(L"Blue"));
  p.model->OnListClick(p.Row(L"Gold"), kColumnStep);  // skipped
  const CRasterCanvas c = p.Paint({1217, 400});
  const struct {
    int x, y;
    ColorRef colour;
    const char* what;
  } cases[] = {
      {199 + 10, 20, kWhiteDisplay, "white field in its display colour"},
      {199 + 420 + 49, 59, kWhiteDisplay, "the second copy's last pixel"},
      {199 + 60, 20, kBlue, "red printed by the blue ribbon"},
      {199 + 110, 20, kUnknownTapeColour, "skipped gold row not drawn"},
      {199 + 9, 20, kUnknownTapeColour, "tape left of a field"},
      {5, 299, kUnknownTapeColour, "tape down to the layout length"},
      {5, 300, kPreviewGrey, "grey below the layout"},
  };
  for (const auto& k : cases) EXPECT_EQ(k.colour, c.GetPixel(k.x, k.y)) << k.what;

  // Frames wider than the tape: grey on both sides of the tape, layout centred.
  const CRasterCanvas wide = p.Paint({1417, 400});
  EXPECT_EQ(kPreviewGrey, wide.GetPixel(99, 10));
  EXPECT_EQ(kUnknownTapeColour, wide.GetPixel(100, 10));
  EXPECT_EQ(kUnknownTapeColour, wide.GetPixel(1316, 10));
  EXPECT_EQ(kPreviewGrey, wide.GetPixel(1317, 10));
  EXPECT_EQ(kBlue, wide.GetPixel(299 + 60, 20));
}

TEST(PreviewPainter, ScrollingMovesTheLayoutAndTheTapeTakesTheLoadedColour) {
  CPreviewJob p;
  p.Load(TwoCopies(), kFormSize);
  const CRasterCanvas c = p.Paint({1217, 400, 3, 5});
  EXPECT_EQ(kRed, c.GetPixel(199 + 60 - 3, 20 - 5));
  EXPECT_EQ(kUnknownTapeColour, c.GetPixel(199 + 60 - 4, 20 - 5));
  EXPECT_EQ(kPreviewGrey, c.GetPixel(5, 300 - 5));

  // The printer reports tape 5: the tape takes the colour of the fifth tape of the list.
  ASSERT_TRUE(p.window->ReportLoadedTape(5));
  EXPECT_FALSE(p.window->ReportLoadedTape(12));
  EXPECT_EQ(MakeRgb(0, 70, 160), p.Paint({1217, 400}).GetPixel(5, 5));
}

TEST(PreviewPainter, TapeCutSetMarksAreMagentaAcrossTheTape) {
  CPreviewJob p;
  // Four labels in sets of two: a mark 100 dots below each set.
  p.Load(jb::Header(400, 300) + Solid(0, "BLACK", 10, 20, 8, 8) + jb::PageEnd(4, 1) + jb::Trailer(),
         L"LnMgSvBo0;0;0;0;2;OrUmEcUeUcNcPlAoAhTc");
  ASSERT_FALSE(p.model->Plan().tapeCutSets.empty());
  const int markY = p.model->Plan().tapeCutSets[0]->positionY;
  const CRasterCanvas c = p.Paint({1217, markY + 10});
  for (int x : {0, 600, 1216}) EXPECT_EQ(kTapeCutMarkColour, c.GetPixel(x, markY)) << x;
  EXPECT_NE(kTapeCutMarkColour, c.GetPixel(600, markY - 1));
}

// Moves the field's bitmap so that its rows from `readable` on lie in memory that cannot be read at all: drawing
// them would crash the test.
struct CGuardedBitmap {
  char* mapping = nullptr;
  std::size_t size = 0;

  CGuardedBitmap(CGraphicField& f, const char* bitmap, std::int32_t readable) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t head = static_cast<std::size_t>(readable) * static_cast<std::size_t>(f.charsPerRow);
    const std::size_t all = static_cast<std::size_t>(f.RowCount()) * static_cast<std::size_t>(f.charsPerRow);
    const std::size_t headPages = (head + page - 1) / page + 1;
    size = (headPages + (all - head + page - 1) / page + 1) * page;
    void* m = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    EXPECT_NE(MAP_FAILED, m);
    mapping = static_cast<char*>(m);
    char* guard = mapping + headPages * page;
    char* data = guard - head;
    std::memcpy(data, bitmap, all);
    EXPECT_EQ(0, mprotect(guard, size - headPages * page, PROT_NONE));
    f.data = data;
    f.dataEnd = data + all;
  }
  ~CGuardedBitmap() { munmap(mapping, size); }
};

TEST(PreviewPainter, FieldsAreReadOnlyWhereTheFrameShowsThem) {
  CPreviewJob p;
  // A 6000-dot label: a black field across the frame's lower edge, a red one far below it.
  p.Load(jb::Header(400, 6000) + Solid(0, "BLACK", 10, 300, 64, 200) + Solid(5, "RED", 10, 5000, 64, 200) +
             jb::PageEnd(1, 1) + jb::Trailer(),
         kFormSize);
  CGraphicField* black = p.FieldOfRibbon(0);
  CGraphicField* red = p.FieldOfRibbon(5);
  ASSERT_TRUE(black && red);
  const std::int64_t originX = MeasurePreview(p.Scene().layout, {1217, 400}).originX;
  const char* redBitmap = red->data;
  const CGuardedBitmap blackRows(*black, black->data, 100);  // rows 300 to 399 of the label are readable
  const CGuardedBitmap redRows(*red, redBitmap, 0);          // nothing is
  const CRasterCanvas c = p.Paint({1217, 400});
  EXPECT_EQ(0u, c.GetPixel(static_cast<int>(originX) + 10, 399));
  EXPECT_EQ(0u, c.GetPixel(static_cast<int>(originX) + 73, 300));

  // Scrolled so that the red field shows: its readable rows are drawn, the rest stays unread.
  const CGuardedBitmap redTop(*red, redBitmap, 50);
  const CRasterCanvas scrolled = p.Paint({1217, 400, 0, 4650});
  EXPECT_EQ(kRed, scrolled.GetPixel(static_cast<int>(originX) + 10, 399));
  EXPECT_EQ(kUnknownTapeColour, scrolled.GetPixel(static_cast<int>(originX) + 10, 349));
}

TEST(PreviewPainter, AStopBetweenFieldsEndsThePaintingWithTheStopResult) {
  CPreviewJob p;
  p.Load(TwoCopies(), kFormSize);
  int asked = 0, result = 0;
  const CRasterCanvas stopped = p.Paint({1217, 400}, &result, [&asked] { return ++asked > 1; });
  EXPECT_EQ(kPaintStopped, result);
  EXPECT_EQ(2, asked);
  EXPECT_EQ(kWhiteDisplay, stopped.GetPixel(199 + 10, 20));  // the first field was drawn before the stop
  EXPECT_EQ(kUnknownTapeColour, stopped.GetPixel(199 + 420 + 10, 20));

  asked = 0;
  p.Paint({1217, 400}, &result, [&asked] { return ++asked > 100; });
  EXPECT_EQ(kPaintGoAhead, result);
  EXPECT_EQ(6, asked);  // three fields at two copies
}

}  // namespace
}  // namespace vyx
