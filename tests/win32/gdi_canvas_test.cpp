// The GDI canvas and the raster canvas must agree pixel for pixel on what Draw produces.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/seams/draw_canvas.h"
#include "common/seams/gdi_canvas_win32.h"

namespace vyx {
namespace {

template <typename Paint>
void ExpectSameAsRaster(int w, int h, Paint paint) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  ASSERT_NE(nullptr, bmp);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all{0, 0, w, h};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  {
    CGdiCanvas gdi(dc);
    paint(gdi);
  }
  CRasterCanvas raster(w, h);
  paint(raster);
  int differing = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) differing += (GetPixel(dc, x, y) & 0xFFFFFF) != raster.GetPixel(x, y);
  EXPECT_EQ(0, differing);
  EXPECT_GT(raster.CountInk(), 0u);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(GdiCanvas, PixelsAndAxisLinesMatchTheRaster) {
  ExpectSameAsRaster(32, 24, [](CDrawCanvas& c) {
    c.SetPixel(3, 4, MakeRgb(255, 0, 0));
    c.SelectPen(MakeRgb(0, 0, 255), 1);
    c.MoveTo(2, 10);
    c.LineTo(20, 10);
    c.LineTo(20, 2);
    c.SelectPen(MakeRgb(0, 128, 0), 1);
    c.MoveTo(5, 20);
    c.LineTo(5, 12);
  });
}

}  // namespace
}  // namespace vyx
