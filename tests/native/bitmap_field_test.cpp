// Bitmap fields: reading, pixels, transfer, merging, writing and drawing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/seams/draw_canvas.h"
#include "common/seams/output_channel.h"
#include "manager/model/bitmap_field.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

using testing::Bitmap;

// Keeps a text alive with the two zero bytes of a job buffer after it.
struct Text {
  explicit Text(std::string s) : buf(std::move(s)) { buf.append(2, '\0'); }
  char* begin() { return buf.data(); }
  char* end() { return buf.data() + buf.size() - 2; }
  std::string buf;
};

Bitmap Diagonal(int w, int h) {
  return Bitmap::FromPredicate(w, h, [](int x, int y) { return x == y; });
}

TEST(GraphicField, ReadsAHexFieldWithItsInkBoxAndPixelCount) {
  const Bitmap bm =
      Bitmap::FromPredicate(16, 4, [](int x, int y) { return (x == 3 && y == 1) || (x == 12 && y == 2); });
  Text t(testing::Field(2, "Red", 100, 50, bm) + "^XPG1,1\r\n");
  CGraphicField f;
  char* next = f.Parse(t.begin(), t.end());
  ASSERT_NE(nullptr, next);
  EXPECT_EQ(0, std::string(next).rfind("^XPG", 0));
  EXPECT_EQ(next, f.textEnd);
  EXPECT_EQ(kTypeGraphicField, f.GetType());
  EXPECT_EQ(2u, f.ribbonIndex);
  EXPECT_STREQ("Red", f.ribbonName);
  EXPECT_EQ('A', f.format);
  EXPECT_EQ(2, f.charsPerByte);
  EXPECT_EQ(4, f.pixelsPerChar);
  EXPECT_EQ(4, f.charsPerRow);
  EXPECT_EQ(8, f.totalBytes);
  EXPECT_EQ(2, f.bytesPerRow);
  EXPECT_EQ((CDotRect{100, 50, 116, 54}), f.extent);
  EXPECT_EQ((CDotRect{103, 51, 113, 53}), f.inkBox);
  EXPECT_EQ(2, f.pixelCount);
  EXPECT_EQ(1, f.PixelAt(103, 51));
  EXPECT_EQ(0, f.PixelAt(104, 51));
  EXPECT_EQ(-1, f.PixelAt(99, 51));
  EXPECT_EQ(-1, f.PixelAt(116, 51));
  EXPECT_EQ(-1, f.PixelAt(100, 54));
  EXPECT_EQ(1, f.NeighbourCount(104, 52));
  EXPECT_EQ(0, f.NeighbourCount(108, 52));
}

TEST(GraphicField, ReadsABinaryFieldWhosePayloadLooksLikeCommands) {
  // Payload bytes spell "^RR" and "\r\n^": the line search must jump over them.
  std::string payload = "^RR\r\n^X";
  payload += '\xFF';
  Bitmap bm;
  bm.bytesPerRow = 4;
  bm.rows = 2;
  bm.bytes = payload;
  Text t(testing::Field(7, "Gold", 0, 0, bm, 'B') + "^XPG1,1\r\n");
  CGraphicField f;
  char* next = f.Parse(t.begin(), t.end());
  ASSERT_NE(nullptr, next);
  EXPECT_EQ(0, std::string(next).rfind("^XPG", 0));
  EXPECT_EQ('B', f.format);
  EXPECT_EQ(8, f.pixelsPerChar);
  int expected = 0;
  for (unsigned char c : payload) expected += __builtin_popcount(c);
  EXPECT_EQ(expected, f.pixelCount);
  EXPECT_EQ(1, f.PixelAt(31, 1));  // the 0xFF byte ends row 1
  EXPECT_EQ((CDotRect{1, 0, 32, 2}), f.inkBox);
}

TEST(GraphicField, FieldLinesComeInAnyOrderAndASecondLineOfAKindEndsTheField) {
  const Bitmap bm = Diagonal(8, 8);
  const std::string gf = "^GFA,8,8,1," + testing::HexOf(bm.bytes) + "\r\n";
  Text t(gf + "^FO10,20\r\n^RR3,Cyan\r\n^FO1,1\r\n");
  CGraphicField f;
  char* next = f.Parse(t.begin(), t.end());
  ASSERT_NE(nullptr, next);
  EXPECT_EQ(0, std::string(next).rfind("^FO1,1", 0));
  EXPECT_EQ((CDotRect{10, 20, 18, 28}), f.extent);  // origin applies although ^FO followed ^GF
  EXPECT_EQ((CDotRect{10, 20, 18, 28}), f.inkBox);
  EXPECT_EQ(8, f.pixelCount);
  EXPECT_EQ(3u, f.ribbonIndex);
}

TEST(GraphicField, LowerCaseHexReadsAsNoPixels) {
  Text t("^RR1,K\r\n^FO0,0\r\n^GFA,2,2,1,ff0f\r\n^XPG1,1\r\n");
  CGraphicField f;
  ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_EQ(0, f.pixelCount);
  EXPECT_FALSE(f.HasInk());
  EXPECT_EQ(CDotRect::Unset(), f.inkBox);
}

TEST(GraphicField, CompressedFormatFailsTheField) {
  Text t("^RR1,K\r\n^FO0,0\r\n^GFC,2,2,1,FFFF\r\n^XPG1,1\r\n");
  CGraphicField f;
  EXPECT_EQ(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_EQ(0, f.pixelCount);
  EXPECT_EQ(nullptr, f.textEnd);
  CMemoryChannel out;
  EXPECT_FALSE(f.Write(out));
  EXPECT_TRUE(out.Bytes().empty());
}

TEST(GraphicField, RowsAreRoundedDown) {
  Text t("^RR1,K\r\n^FO0,0\r\n^GFA,5,5,2,FFFFFFFFFF\r\n^XPG1,1\r\n");
  CGraphicField f;
  ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_EQ(2, f.RowCount());
  EXPECT_EQ(32, f.pixelCount);
  EXPECT_EQ(-1, f.PixelAt(0, 2));
}

TEST(GraphicField, RibbonLineWithoutCommaLeavesTheNameEmpty) {
  Text t("^RR12\r\n^FO0,0\r\n^GFA,1,1,1,80\r\n^XPG1,1\r\n");
  CGraphicField f;
  ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_EQ(12u, f.ribbonIndex);
  EXPECT_STREQ("", f.ribbonName);
  EXPECT_EQ(1, f.pixelCount);
}

TEST(GraphicField, LongRibbonNamesKeep31Characters) {
  Text t("^RR1," + std::string(40, 'n') + "\r\n^FO0,0\r\n^GFA,1,1,1,80\r\n^XPG1,1\r\n");
  CGraphicField f;
  ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_EQ(std::string(31, 'n'), f.ribbonName);
}

TEST(GraphicField, GfLineWithFewerThanFourCommasIsSkippedAndALaterOneRead) {
  Text t("^RR1,K\r\n^GFA,1,1\r\n^FO4,4\r\n^GFA,1,1,1,F0\r\n^XPG1,1\r\n");
  CGraphicField f;
  ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_EQ(4, f.pixelCount);
  EXPECT_EQ((CDotRect{4, 4, 8, 5}), f.inkBox);
}

TEST(GraphicField, FoWithoutCommaIsIgnored) {
  Text t("^RR1,K\r\n^FO40\r\n^GFA,1,1,1,80\r\n^XPG1,1\r\n");
  CGraphicField f;
  ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_EQ((CDotRect{0, 0, 1, 1}), f.inkBox);
}

TEST(GraphicField, WithoutAFurtherLineTheSpanEndStaysUnset) {
  Text t("^RR1,K\r\n^FO0,0\r\n^GFA,1,1,1,80");
  CGraphicField f;
  char* next = f.Parse(t.begin(), t.end());
  ASSERT_NE(nullptr, next);
  EXPECT_EQ(0, std::string(next).rfind("^GFA", 0));
  EXPECT_EQ(nullptr, f.textEnd);
  EXPECT_EQ(1, f.pixelCount);
}

TEST(GraphicField, DeclaredDataBeyondTheBufferIsNeverRead) {
  Text t("^RR1,K\r\n^FO0,0\r\n^GFA,100000,100000,10,FFFF");
  CGraphicField f;
  f.Parse(t.begin(), t.end());
  EXPECT_EQ(16, f.pixelCount);
  EXPECT_EQ(t.end(), f.dataEnd);
  EXPECT_EQ(-1, f.PixelAt(20, 0));
  EXPECT_FALSE(f.SetPixel(20, 0));
}

TEST(GraphicField, AbsurdExtentsFailTheField) {
  Text t("^RR1,K\r\n^FO2147483000,0\r\n^GFA,1000,1000,1000,FF\r\n^XPG1,1\r\n");
  CGraphicField f;
  EXPECT_EQ(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_EQ(0, f.pixelCount);
}

TEST(GraphicField, SetPixelRewritesUpperCaseHexAndExtendsTheInkBox) {
  Text t("^RR1,K\r\n^FO0,0\r\n^GFA,2,2,2,0000\r\n^XPG1,1\r\n");
  CGraphicField f;
  ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
  EXPECT_TRUE(f.SetPixel(6, 0));
  EXPECT_TRUE(f.SetPixel(7, 0));
  EXPECT_EQ(std::string("03"), std::string(f.data, 2));
  EXPECT_TRUE(f.SetPixel(12, 0));
  EXPECT_EQ(std::string("0308"), std::string(f.data, 4));
  EXPECT_EQ(3, f.pixelCount);
  EXPECT_EQ((CDotRect{6, 0, 13, 1}), f.inkBox);
  EXPECT_FALSE(f.SetPixel(16, 0));
  CGraphicField none;
  EXPECT_EQ(-2, none.PixelAt(0, 0));
  EXPECT_FALSE(none.SetPixel(0, 0));
}

TEST(GraphicField, WriteSendsFromTheOriginLineAndRibbonSelectIsSeparate) {
  const std::string field = testing::Field(4, "Blue", 3, 5, Diagonal(8, 2));
  Text t(field + "^XPG1,1\r\n");
  CGraphicField f;
  ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
  CMemoryChannel out;
  EXPECT_TRUE(f.Write(out));
  EXPECT_EQ(field.substr(field.find("^FO")), out.Bytes());
  CMemoryChannel sel;
  EXPECT_TRUE(CGraphicField::WriteRibbonSelect(sel, 4, "Blue"));
  EXPECT_EQ("^RR4,Blue\r\n", sel.Bytes());
}

TEST(GraphicField, DrawPaintsHexPixelsSinglyAndBinaryRunsAsLines) {
  const Bitmap bm = Bitmap::FromPredicate(16, 3, [](int x, int y) { return y == 1 && (x < 3 || x >= 14); });
  for (char format : {'A', 'B'}) {
    Text t(testing::Field(1, "K", 2, 2, bm, format) + "^XPG1,1\r\n");
    CGraphicField f;
    ASSERT_NE(nullptr, f.Parse(t.begin(), t.end()));
    CRasterCanvas dc(40, 40);
    dc.SelectPen(MakeRgb(0, 0, 0), 1);
    f.Draw(dc, 1, 0, CDotRect{0, 0, 40, 40}, 1, 0, 0, 1, MakeRgb(0, 0, 0));
    EXPECT_EQ(5u, dc.CountInk()) << format;
    // moved by (x + ox1 + ox2, y + oy1 + oy2) = (2, 1): row 1 of the field lands at y = 2 + 1 + 1 = 4.
    EXPECT_NE(MakeRgb(255, 255, 255), dc.GetPixel(2 + 2 + 0, 4)) << format;
    EXPECT_NE(MakeRgb(255, 255, 255), dc.GetPixel(2 + 2 + 15, 4)) << format;
    EXPECT_EQ(MakeRgb(255, 255, 255), dc.GetPixel(2 + 2 + 3, 4)) << format;
    // Outside the clip rectangle nothing is drawn.
    CRasterCanvas clipped(40, 40);
    f.Draw(clipped, 1, 0, CDotRect{0, 0, 40, 4}, 1, 0, 0, 1, MakeRgb(0, 0, 0));
    EXPECT_EQ(0u, clipped.CountInk()) << format;
  }
}

TEST(PixelTransfer, KnockOutClearsTargetPixelsSetInTheSource) {
  const Bitmap full = Bitmap::FromPredicate(16, 4, [](int, int) { return true; });
  const Bitmap cross = Bitmap::FromPredicate(16, 4, [](int x, int y) { return x == 5 || y == 2; });
  Text t(testing::Field(1, "K", 0, 0, full) + testing::Field(2, "R", 3, 0, cross) + "^XPG1,1\r\n");
  CGraphicField below, top;
  char* next = below.Parse(t.begin(), t.end());
  top.Parse(next, t.end());
  const std::int64_t n = TransferPixels(top, below, kTransferKnockOut, IntersectRect(top.inkBox, below.inkBox));
  // top covers x 3..18, below 0..15: column 8 (x = 3 + 5) in 4 rows, row 2 across x 3..15 (13 pixels), overlap 1.
  EXPECT_EQ(4 + 13 - 1, n);
  EXPECT_EQ(0, below.PixelAt(8, 0));
  EXPECT_EQ(0, below.PixelAt(3, 2));
  EXPECT_EQ(1, below.PixelAt(2, 2));
  EXPECT_EQ(1, below.PixelAt(9, 1));
  EXPECT_EQ(64, below.pixelCount);  // the caller adjusts the count
  // The hex text was rewritten in upper case.
  for (const char* p = below.data; p < below.dataEnd; ++p)
    EXPECT_TRUE((*p >= '0' && *p <= '9') || (*p >= 'A' && *p <= 'F'));
}

TEST(PixelTransfer, DifferentFormatsTransferNothing) {
  const Bitmap full = Bitmap::FromPredicate(8, 1, [](int, int) { return true; });
  Text t(testing::Field(1, "K", 0, 0, full, 'A') + testing::Field(2, "R", 0, 0, full, 'B') + "^XPG1,1\r\n");
  CGraphicField a, b;
  b.Parse(a.Parse(t.begin(), t.end()), t.end());
  EXPECT_EQ(0, TransferPixels(a, b, kTransferKnockOut, a.inkBox));
}

TEST(Merge, SameRibbonMergeHoldsTheUnionOfPixels) {
  for (char format : {'A', 'B'}) {
    const Bitmap d = Diagonal(10, 10);
    Text t(testing::Field(3, "Green", 5, 5, d, format) + testing::Field(3, "Green2", 11, 7, d, format) + "^XPG1,1\r\n");
    auto* a = new CGraphicField();
    auto* b = new CGraphicField();
    b->Parse(a->Parse(t.begin(), t.end()), t.end());
    std::unique_ptr<CSyntheticGraphicField> s(CSyntheticGraphicField::Merge(*a, *b, true));
    ASSERT_NE(nullptr, s) << format;
    EXPECT_EQ(kTypeSyntheticGraphicField, s->GetType());
    EXPECT_EQ((CDotRect{5, 5, 21, 17}), s->extent);
    EXPECT_EQ(s->extent, s->inkBox);
    EXPECT_EQ(20, s->pixelCount);
    EXPECT_STREQ("Green2", s->ribbonName);
    EXPECT_EQ(format, s->format);
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(1, s->PixelAt(5 + i, 5 + i));
      EXPECT_EQ(1, s->PixelAt(11 + i, 7 + i));
    }
    EXPECT_EQ(0, s->PixelAt(6, 5));
    ASSERT_EQ(2u, s->sources.size());
    EXPECT_EQ(b, s->sources[0]);  // second source first
    EXPECT_EQ(a, s->sources[1]);
    EXPECT_EQ(0, s->sourceOwnership);
    EXPECT_EQ(1, s->ownsBuffer);
    EXPECT_EQ(0, s->GetContactScore());
    // Its own text reads back as the same bitmap; untouched hex characters are zero bytes.
    const std::string text(s->textStart, static_cast<std::size_t>(s->textLength));
    EXPECT_EQ(0, text.rfind("^RR3,Green2\r\n^FO5,5\r\n^GF", 0));
    if (format == 'A') {
      EXPECT_NE(std::string::npos, text.find('\0'));
    }
    Text again(text + "^XPG1,1\r\n");
    CGraphicField r;
    ASSERT_NE(nullptr, r.Parse(again.begin(), again.end()));
    EXPECT_EQ(20, r.pixelCount);
    EXPECT_EQ(s->extent.left, r.extent.left);
    CMemoryChannel out;
    EXPECT_TRUE(s->Write(out));
    EXPECT_EQ(text.substr(text.find("^FO")), out.Bytes());
  }  // the synthetic field deletes its sources
}

TEST(Merge, FailsOnDifferentFormatsOrRibbonsAndLeavesSourcesAlone) {
  const Bitmap d = Diagonal(8, 8);
  Text t(testing::Field(1, "K", 0, 0, d, 'A') + testing::Field(1, "K", 0, 0, d, 'B') + testing::Field(2, "R", 0, 0, d) +
         "^XPG1,1\r\n");
  CGraphicField a, b, c;
  c.Parse(b.Parse(a.Parse(t.begin(), t.end()), t.end()), t.end());
  EXPECT_EQ(nullptr, CSyntheticGraphicField::Merge(a, b, true));
  EXPECT_EQ(nullptr, CSyntheticGraphicField::Merge(a, c, true));
  std::unique_ptr<CSyntheticGraphicField> other(CSyntheticGraphicField::Merge(a, c, false));
  ASSERT_NE(nullptr, other);
  other->sourceOwnership = 1;  // the sources live on the stack here
  EXPECT_EQ(2u, other->ribbonIndex);
  CGraphicField empty;
  EXPECT_EQ(nullptr, CSyntheticGraphicField::Merge(a, empty, false));
}

TEST(Merge, SameRibbonModeTakesOverSourceListsAndWritingModeKeepsThem) {
  const Bitmap d = Diagonal(8, 8);
  Text t(testing::Field(1, "K", 0, 0, d) + testing::Field(1, "K", 8, 0, d) + testing::Field(1, "K", 16, 0, d) +
         "^XPG1,1\r\n");
  auto* a = new CGraphicField();
  auto* b = new CGraphicField();
  auto* c = new CGraphicField();
  c->Parse(b->Parse(a->Parse(t.begin(), t.end()), t.end()), t.end());
  auto* ab = CSyntheticGraphicField::Merge(*a, *b, true);
  ASSERT_NE(nullptr, ab);
  // Writing mode: the synthetic source is recorded itself and keeps its list; nobody owns anything twice.
  std::unique_ptr<CSyntheticGraphicField> written(CSyntheticGraphicField::Merge(*ab, *c, false));
  ASSERT_NE(nullptr, written);
  written->sourceOwnership = 1;
  EXPECT_EQ((std::vector<CGraphicField*>{c, ab}), written->sources);
  EXPECT_EQ(2u, ab->sources.size());
  EXPECT_EQ(24, written->pixelCount);
  // Same-ribbon mode: the synthetic source hands its list over and is left empty.
  std::unique_ptr<CSyntheticGraphicField> abc(CSyntheticGraphicField::Merge(*ab, *c, true));
  ASSERT_NE(nullptr, abc);
  EXPECT_EQ((std::vector<CGraphicField*>{c, b, a}), abc->sources);
  EXPECT_TRUE(ab->sources.empty());
  delete ab;  // owns nothing any more; abc deletes a, b and c (LeakSanitizer checks both)
}

TEST(Merge, MergeableTestUsesThePacketWeight) {
  const Bitmap dot = Bitmap::FromPredicate(8, 1, [](int x, int) { return x == 0; });
  Text t(testing::Field(1, "K", 0, 0, dot) + testing::Field(1, "K", 300, 0, dot) + testing::Field(1, "K", 0, 300, dot) +
         "^XPG1,1\r\n");
  CGraphicField a, b, c;
  c.Parse(b.Parse(a.Parse(t.begin(), t.end()), t.end()), t.end());
  // Union of a and b: 301 x 1 = 301 <= 8 + 8 + 50000.
  EXPECT_TRUE(IsMergeable(a, b));
  EXPECT_FALSE(IsMergeable(a, b, 0));
  // Union of b and c: 301 x 301 = 90601 > 50016.
  EXPECT_FALSE(IsMergeable(b, c));
  EXPECT_TRUE(IsMergeable(b, c, 100000));
  c.consolidationMark = 1;
  EXPECT_FALSE(IsMergeable(b, c, 100000));
}

TEST(Clone, PlainCopySharesTheTextAndHoldsTheField) {
  const Bitmap d = Diagonal(8, 8);
  Text t(testing::Field(1, "K", 0, 0, d) + "^XPG1,1\r\n");
  auto* f = new CGraphicField();
  f->Parse(t.begin(), t.end());
  std::unique_ptr<CGraphicFieldClone> c(CGraphicFieldClone::CopyOf(*f));
  EXPECT_EQ(kTypeGraphicFieldClone, c->GetType());
  EXPECT_EQ(-1, c->GetContactScore());
  EXPECT_EQ(f->data, c->data);
  EXPECT_EQ(f->inkBox, c->inkBox);
  EXPECT_EQ(8, c->pixelCount);
  ASSERT_EQ(1u, c->sources.size());
  EXPECT_EQ(f, c->sources[0]);
  EXPECT_EQ(0, c->ownsBuffer);
}

}  // namespace
}  // namespace vyx
