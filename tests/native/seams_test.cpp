// The raster canvas stands in for GDI in every Draw test, so its lines must land where GDI's would.
#include <gtest/gtest.h>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"

namespace vyx {
namespace {

TEST(RasterCanvas, LineExcludesItsEndPointLikeGdi) {
  CRasterCanvas canvas(10, 10);
  canvas.SelectPen(MakeRgb(0, 0, 0), 1);
  canvas.MoveTo(1, 2);
  canvas.LineTo(5, 2);
  EXPECT_EQ(4u, canvas.CountInk());
  EXPECT_EQ(MakeRgb(0, 0, 0), canvas.GetPixel(1, 2));
  EXPECT_EQ(MakeRgb(0, 0, 0), canvas.GetPixel(4, 2));
  EXPECT_EQ(MakeRgb(255, 255, 255), canvas.GetPixel(5, 2));
}

TEST(RasterCanvas, DiagonalAndPixelsOutsideAreSafe) {
  CRasterCanvas canvas(4, 4);
  canvas.SelectPen(MakeRgb(255, 0, 0), 1);
  canvas.MoveTo(0, 0);
  canvas.LineTo(4, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(MakeRgb(255, 0, 0), canvas.GetPixel(i, i));
  canvas.SetPixel(-1, 2, 0);
  canvas.SetPixel(2, 99, 0);
  EXPECT_EQ(4u, canvas.CountInk());
}

TEST(RasterCanvas, HugeCoordinatesAreClippedNotWalked) {
  CRasterCanvas canvas(8, 8);
  canvas.SelectPen(MakeRgb(0, 0, 255), 1);
  canvas.MoveTo(-2000000000, 3);
  canvas.LineTo(2000000000, 3);  // must finish at once and mark the whole row
  for (int x = 0; x < 8; ++x) EXPECT_EQ(MakeRgb(0, 0, 255), canvas.GetPixel(x, 3));
  EXPECT_EQ(8u, canvas.CountInk());
  canvas.MoveTo(-2000000000, -2000000000);
  canvas.LineTo(-1999999000, 2000000000);  // never crosses the raster
  EXPECT_EQ(8u, canvas.CountInk());
}

TEST(MemoryChannel, KeepsBytesAndDocumentsInOrder) {
  CMemoryChannel channel;
  EXPECT_FALSE(channel.EndDocument());
  EXPECT_TRUE(channel.StartDocument(3));
  EXPECT_TRUE(channel.Write("^XA", 3));
  EXPECT_TRUE(channel.Write(nullptr, 0));
  EXPECT_TRUE(channel.EndDocument());
  EXPECT_EQ("^XA", channel.Bytes());
  ASSERT_EQ(1u, channel.Documents().size());
  EXPECT_EQ(3u, channel.Documents()[0]);
  EXPECT_EQ(0, channel.OpenDocuments());
}

}  // namespace
}  // namespace vyx
