// Lines, searches and numbers of the job text; the header.
#include <gtest/gtest.h>

#include <string>

#include "manager/model/header.h"
#include "manager/model/text_scan.h"

namespace vyx {
namespace {

struct Text {
  explicit Text(std::string s) : buf(std::move(s)) { buf.append(2, '\0'); }
  char* begin() { return buf.data(); }
  char* end() { return buf.data() + buf.size() - 2; }
  std::string buf;
};

TEST(TextScan, CommandPrefixTestMatchesTheNameRightAfterTheCaret) {
  Text t("^RSR1\r\n^XZ");
  EXPECT_TRUE(IsCommand(t.begin(), t.end(), "RSR"));
  EXPECT_TRUE(IsCommand(t.begin(), t.end(), "RS"));
  EXPECT_FALSE(IsCommand(t.begin(), t.end(), "RR"));
  EXPECT_FALSE(IsCommand(t.begin() + 1, t.end(), "RSR"));
  EXPECT_TRUE(IsCommand(t.begin() + 7, t.end(), "XZ"));
  EXPECT_FALSE(IsCommand(t.begin() + 7, t.begin() + 9, "XZ"));  // the name must lie before the limit
}

TEST(TextScan, LineSearchJumpsOverBinaryPayloads) {
  const std::string payload = "xx^RR1,A\r\n^XPG1,1\r\n";
  Text t("^GFB," + std::to_string(payload.size()) + ",4,2," + payload + "\r\n^RR2,B\r\n");
  char* hit = LineSearch(t.begin(), t.end(), "^RR");
  ASSERT_NE(nullptr, hit);
  EXPECT_EQ(std::string("^RR2,B"), std::string(hit, 6));
  EXPECT_EQ(nullptr, LineSearch(t.begin(), t.end(), "^XPG"));
  char* eol = LineSearch(t.begin(), t.end(), "\r\n^");
  ASSERT_NE(nullptr, eol);
  EXPECT_EQ(hit - 2, eol);
  // The plain search does see the payload.
  EXPECT_LT(PlainSearch(t.begin(), t.end(), "^RR"), hit);
}

TEST(TextScan, LineSearchFailsWithFewerThanThreeCommasOrAPayloadPastTheEnd) {
  Text t("^GFB,4,4\r\n^RR1\r\n");
  EXPECT_EQ(nullptr, LineSearch(t.begin(), t.end(), "^RR"));
  Text u("^GFB,400,4,2,ab\r\n^RR1\r\n");
  EXPECT_EQ(nullptr, LineSearch(u.begin(), u.end(), "^RR"));
}

TEST(TextScan, LineSearchStopsAtAZeroByteOutsideAPayload) {
  std::string s = "^FO1,1\r\n";
  s += '\0';
  s += "^RR1\r\n";
  Text t(s);
  EXPECT_EQ(nullptr, LineSearch(t.begin(), t.end(), "^RR"));
  EXPECT_NE(nullptr, PlainSearch(t.begin(), t.end(), "^RR"));
  // Zero bytes inside a payload are jumped over.
  std::string p = "^GFB,3,3,3,";
  p += std::string("\0\0\0", 3);
  p += "\r\n^RR1\r\n";
  Text u(p);
  EXPECT_NE(nullptr, LineSearch(u.begin(), u.end(), "^RR"));
}

TEST(TextScan, LongTextsFindTheFirstHitAtEveryPosition) {
  // Long runs take the vector paths; a hit or a zero byte at every offset checks their edges.
  for (std::size_t at = 0; at < 200; ++at) {
    for (std::size_t len : {at + 3, at + 40, at + 130}) {
      std::string s(len, 'F');
      s.replace(at, 3, "^RR");
      Text t(s);
      EXPECT_EQ(t.begin() + at, LineSearch(t.begin(), t.end(), "^RR")) << at << " " << len;
      std::string z(len, '0');
      z[at] = '\0';
      z += "^RR";
      Text u(z);
      EXPECT_EQ(nullptr, LineSearch(u.begin(), u.end(), "^RR")) << at << " " << len;
      std::string c(len, 'A');
      c.replace(at, 3, "\r\n^");
      Text v(c);
      EXPECT_EQ(v.begin() + at, LineSearch(v.begin(), v.end(), "\r\n^")) << at << " " << len;
    }
  }
}

TEST(TextScan, NumbersFollowTheCLibraryRules) {
  Text t("-12x,+7,,99999999999\r\n");
  const char* after = nullptr;
  EXPECT_EQ(-12, ReadInt(t.begin(), t.end(), &after));
  EXPECT_EQ('x', *after);
  std::int32_t v[5] = {};
  EXPECT_EQ(4, ReadValues(t.begin(), t.begin() + 20, t.end(), v, 5));
  EXPECT_EQ(-12, v[0]);
  EXPECT_EQ(7, v[1]);
  EXPECT_EQ(0, v[2]);          // a missing number reads as 0
  EXPECT_EQ(INT32_MAX, v[3]);  // clamped
  // A value counts only when its comma lies before the end of its line.
  Text u("5\r\n,6");
  EXPECT_EQ(1, ReadValues(u.begin(), u.begin() + 1, u.end(), v, 2));
}

CQzplHeader ParseHeader(const std::string& s, std::string* rest = nullptr) {
  static std::string keep;
  keep = s;
  keep.append(2, '\0');
  CQzplHeader h;
  char* end = h.Parse(keep.data(), keep.data() + s.size());
  if (rest) *rest = std::string(end);
  return h;
}

TEST(Header, DefaultsWithoutValues) {
  const CQzplHeader h = ParseHeader("^XA\r\n^RR1,Black\r\n");
  EXPECT_EQ(0, h.width);
  EXPECT_EQ(0, h.length);
  EXPECT_EQ(kUnsetCoord, h.homeX);
  EXPECT_EQ(kUnsetCoord, h.homeY);
  EXPECT_EQ(1, h.totalLabels);
  EXPECT_EQ(-1, h.rows);
  EXPECT_EQ(-1, h.rowGap);
  EXPECT_EQ(-1, h.columns);
  EXPECT_EQ(-1, h.columnGap);
  EXPECT_EQ(1, h.rsrValue);
  EXPECT_EQ(15, h.darkness);
  EXPECT_EQ(1, h.labelsAcross);
  EXPECT_EQ(kTypeQzplHeader, h.GetType());
}

TEST(Header, ReadsTheValuesAndEndsAtTheFirstRibbonOrPenLine) {
  std::string rest;
  const CQzplHeader h = ParseHeader(
      "junk\r\n^XA\r\n^PW400\r\n^LL250\r\n^LH10,20\r\n^PQ2,0,3,10\r\n^RSR3\r\n^SD22\r\n"
      "^FX other\r\n^RPU\r\n^RR1,Black\r\n",
      &rest);
  EXPECT_EQ(400, h.width);
  EXPECT_EQ(250, h.length);
  EXPECT_EQ(10, h.homeX);
  EXPECT_EQ(20, h.homeY);
  EXPECT_EQ(2, h.rows);
  EXPECT_EQ(0, h.rowGap);
  EXPECT_EQ(3, h.columns);
  EXPECT_EQ(10, h.columnGap);
  EXPECT_EQ(6, h.totalLabels);
  EXPECT_EQ(3, h.rsrValue);
  EXPECT_EQ(22, h.darkness);
  EXPECT_EQ(std::string("^XA"), std::string(h.textStart, 3));
  EXPECT_EQ(0, rest.rfind("^RPU\r\n", 0));
  EXPECT_EQ(h.textEnd - h.textStart, h.textLength);
}

TEST(Header, PqWithOneValueLeavesTheOthersUnset) {
  const CQzplHeader h = ParseHeader("^XA\r\n^PQ2\r\n^RR1\r\n");
  EXPECT_EQ(2, h.rows);
  EXPECT_EQ(-1, h.rowGap);
  EXPECT_EQ(-1, h.columns);
  EXPECT_EQ(-1, h.columnGap);
  EXPECT_EQ(1, h.totalLabels);
}

TEST(Header, ValueListsRunToTheNextLineThatStartsACommand) {
  const CQzplHeader h = ParseHeader("^XA\r\n^PQ2,0,3\r\n,10\r\n^LH5\r\n,7\r\n^RR1\r\n");
  EXPECT_EQ(3, h.columns);
  EXPECT_EQ(10, h.columnGap);
  EXPECT_EQ(6, h.totalLabels);
  EXPECT_EQ(5, h.homeX);
  EXPECT_EQ(7, h.homeY);
}

TEST(Header, LabelsAcross) {
  EXPECT_EQ(2, ParseHeader("^XA\r\n^PW400\r\n^PQ1,0,2,20\r\n^RR1\r\n").labelsAcross);
  EXPECT_EQ(1, ParseHeader("^XA\r\n^PW1300\r\n^PQ1,0,2,20\r\n^RR1\r\n").labelsAcross);
  EXPECT_EQ(1, ParseHeader("^XA\r\n^PW1\r\n^RR1\r\n").labelsAcross);  // divisor 0 (gap -1 + width 1)
  CQzplHeader h = ParseHeader("^XA\r\n^PW400\r\n^PQ1,0,2,20\r\n^RR1\r\n");
  h.tapeCutSetsInForce = 1;
  h.labelsPerSet = 4;
  h.ComputeLabelsAcross();
  EXPECT_EQ(1, h.labelsAcross);
}

TEST(Header, WithoutRibbonOrPenLineTheLastLineEndsTheHeader) {
  std::string rest;
  const CQzplHeader h = ParseHeader("^XA\r\n^PW400\r\n^XZ\r\n", &rest);
  EXPECT_EQ("^XZ\r\n", rest);
  EXPECT_EQ(400, h.width);
}

TEST(Header, WorkingHeadersComputeColumnPitchAndOffset) {
  const CQzplHeader h = ParseHeader("^XA\r\n^PW400\r\n^LL300\r\n^PQ4,5,2,17\r\n^RR1\r\n");
  CCustomQzplHeader c;
  c.InitFrom(h);
  EXPECT_EQ(kTypeCustomQzplHeader, c.GetType());
  EXPECT_EQ((1217 - 17) / 2, c.columnPitch);
  EXPECT_EQ(((1217 - 17) / 2 - 400) / 2, c.columnOffset);
  EXPECT_EQ(-1, c.darknessOverride);
  EXPECT_EQ(0, c.laminate);
  EXPECT_EQ(8, c.totalLabels);
  EXPECT_EQ(h.labelsAcross, c.labelsAcross);
  // A third ^PQ value of 0 is taken as one column.
  CCustomQzplHeader z;
  z.InitFrom(ParseHeader("^XA\r\n^PW400\r\n^PQ4,5,0,17\r\n^RR1\r\n"));
  EXPECT_EQ(1217, z.columnPitch);
  EXPECT_EQ((1217 - 400) / 2, z.columnOffset);
}

}  // namespace
}  // namespace vyx
