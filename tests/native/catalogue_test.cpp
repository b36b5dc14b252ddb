// Reading the colour and material catalogue: order, defaults, the non-punch mask and the look-ups.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/ini_file.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"

namespace vyx {
namespace {

CCatalogue ReadText(const char* ini, bool pn = false) {
  CIniFile file;
  file.Parse(ini);
  CCatalogue c;
  c.Read(file, pn, CLanguageText());
  return c;
}

TEST(Catalogue, BrightestFirstAndEqualBrightnessKeepsFileOrder) {
  const CCatalogue c = ReadText(
      "[Palette]\nNumberOfColors=4\nNumberOfTapeColors=0\n"
      "[ColorA]\nName=Red\nRedVal=200\nGreenVal=0\nBlueVal=0\nRibbonID=4\n"
      "[ColorB]\nName=White\nRedVal=255\nGreenVal=255\nBlueVal=255\nRibbonID=1\n"
      "[ColorC]\nName=Red2\nRedVal=200\nGreenVal=0\nBlueVal=0\nRibbonID=5\n"
      "[ColorD]\nName=Black\nRedVal=0\nGreenVal=0\nBlueVal=0\nRibbonID=7\n");
  ASSERT_EQ(4u, c.ribbons.size());
  EXPECT_EQ(L"White", c.ribbons[0].name);
  EXPECT_EQ(L"Red", c.ribbons[1].name);
  EXPECT_EQ(L"Red2", c.ribbons[2].name);
  EXPECT_EQ(L"Black", c.ribbons[3].name);
  EXPECT_DOUBLE_EQ(0.299 * 200, c.ribbons[1].brightness);
}

TEST(Catalogue, ColourComponentsAreTakenModulo256) {
  const CCatalogue c = ReadText("[Palette]\nNumberOfColors=1\nNumberOfTapeColors=0\n[ColorA]\nRedVal=300\n");
  ASSERT_EQ(1u, c.ribbons.size());
  EXPECT_EQ(44u, c.ribbons[0].colour & 0xFF);
  EXPECT_EQ(128u, (c.ribbons[0].colour >> 8) & 0xFF);  // missing keys take 128
}

TEST(Catalogue, PnFlagClearsNonPunchOnlyForBlackSpelledExactly) {
  const char* ini =
      "[Palette]\nNumberOfColors=2\nNumberOfTapeColors=0\n"
      "[ColorA]\nName=Black\nNonPunch=1\nRibbonID=3\n"
      "[ColorB]\nName=black\nNonPunch=1\nRibbonID=6\n";
  const CCatalogue withPn = ReadText(ini, true);
  EXPECT_EQ(1u << 6, withPn.nonPunchMask);
  const CCatalogue withoutPn = ReadText(ini, false);
  EXPECT_EQ((1u << 6) | (1u << 3), withoutPn.nonPunchMask);
}

TEST(Catalogue, RibbonIdsBeyond31UseTheirBitModulo32) {
  const CCatalogue c = ReadText(
      "[Palette]\nNumberOfColors=2\nNumberOfTapeColors=0\n[ColorA]\nNonPunch=1\nRibbonID=33\n"
      "[ColorB]\nNonPunch=1\nRibbonID=-1\n");
  EXPECT_EQ((1u << 1) | (1u << 31), c.nonPunchMask);
  EXPECT_EQ(1u << 1, RibbonBit(33));
}

TEST(Catalogue, MissingFileGivesTheDefaultSections) {
  CIniFile nothing;
  CCatalogue c;
  EXPECT_EQ(45, c.Read(nothing, false, CLanguageText()));
  EXPECT_EQ(15u, c.ribbons.size());
  EXPECT_EQ(30u, c.tapes.size());
  EXPECT_EQ(L"UNDEFINED", c.ribbons[0].name);
  EXPECT_EQ("UNDEFINED", c.ribbons[0].ribbonName);
  EXPECT_EQ(L"undefined", c.tapes[29].className);
  EXPECT_EQ(50000, c.palette.packetWeightInPixels);
  EXPECT_EQ(50, c.palette.grayExcerptPercent);
  EXPECT_EQ(100, c.palette.colorAngleWeight);
  EXPECT_EQ(1, c.palette.showPixelDistributed);
}

TEST(Catalogue, HugeAndNegativeCountsAreBounded) {
  const CCatalogue c = ReadText("[Palette]\nNumberOfColors=2000000000\nNumberOfTapeColors=-4\n");
  EXPECT_EQ(static_cast<std::size_t>(kMaxCatalogueSections), c.ribbons.size());
  EXPECT_TRUE(c.tapes.empty());
}

TEST(Catalogue, LongNamesAreCutToTheirBuffers) {
  const std::string longName(200, 'N');
  const std::string ini = "[Palette]\nNumberOfColors=1\nNumberOfTapeColors=0\n[ColorA]\nName=" + longName +
                          "\nQZPLName=" + longName + "\nItemID=" + longName + "\n";
  const CCatalogue c = ReadText(ini.c_str());
  EXPECT_EQ(63u, c.ribbons[0].name.size());
  EXPECT_EQ(63u, c.ribbons[0].ribbonName.size());
  EXPECT_EQ(31u, c.ribbons[0].itemId.size());
}

TEST(Catalogue, LookUpsAndTheRibbonColourTable) {
  const CCatalogue c = ReadText(
      "[Palette]\nNumberOfColors=3\nNumberOfTapeColors=2\n"
      "[ColorA]\nName=Gold\nRedVal=200\nGreenVal=160\nBlueVal=40\nRibbonID=2\nDisplayColor=65535\n"
      "[ColorB]\nName=Black\nRedVal=0\nGreenVal=0\nBlueVal=0\nRibbonID=9\n"
      "[ColorC]\nName=Gold2\nRedVal=10\nGreenVal=10\nBlueVal=10\nRibbonID=2\n"
      "[TapeColor.01]\nName=Yellow\nClass=Light\nTapeID=4\n"
      "[TapeColor.02]\nName=White\nClass=Light\nTapeID=0\n");
  const auto table = c.RibbonColourTable();
  ASSERT_EQ(32u, table.size());
  EXPECT_EQ(65535, table[2]);  // the first ribbon with id 2, by its display colour
  EXPECT_EQ(0, table[9]);
  EXPECT_EQ(-1, table[0]);
  EXPECT_EQ(static_cast<std::int64_t>(200 | (160 << 8) | (40 << 16)), c.ColourOfRibbonId(2, false));
  EXPECT_EQ(-1, c.ColourOfRibbonId(5, true));
  EXPECT_EQ(0, c.IndexOfRibbonId(2));
  EXPECT_EQ(-1, c.IndexOfRibbonId(3));
  EXPECT_EQ(9, c.BlackRibbonId());
  EXPECT_EQ(-1, c.WhiteRibbonIndex());
  EXPECT_EQ(0, c.WhiteTapeId());
  EXPECT_EQ(L"Light", c.TapeClass(1));
  EXPECT_EQ(L"undefined", c.TapeClass(0));
  EXPECT_EQ(L"undefined", c.TapeClass(3));
  EXPECT_EQ(-1, c.RibbonIdAt(3));
}

TEST(Catalogue, BlackTapeLetsTheBlackRibbonPrintThrough) {
  CCatalogue c = ReadText(
      "[Palette]\nNumberOfColors=1\nNumberOfTapeColors=2\n"
      "[ColorA]\nName=Black\nNonPunch=1\nRibbonID=8\n"
      "[TapeColor.01]\nClass=Light\n[TapeColor.02]\nClass=Black\n");
  CQzplJobData job;
  EXPECT_EQ(1u << 8, c.nonPunchMask);
  EXPECT_FALSE(c.ApplyBlackTapeRule(1, job));
  EXPECT_TRUE(c.ApplyBlackTapeRule(2, job));
  EXPECT_EQ(0u, c.nonPunchMask);
  EXPECT_FALSE(c.ApplyBlackTapeRule(2, job));  // already printing through
}

TEST(Catalogue, TheSampleCatalogueIsComplete) {
  CIniFile file;
  ASSERT_TRUE(file.Load(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini"));
  CCatalogue c;
  const int count = c.Read(file, true, CLanguageText());
  EXPECT_EQ(static_cast<int>(c.ribbons.size() + c.tapes.size()), count);
  EXPECT_GE(c.ribbons.size(), 8u);
  EXPECT_GE(c.tapes.size(), 12u);
  for (const CColorRibbon& r : c.ribbons) {
    EXPECT_NE(L"UNDEFINED", r.name);
    EXPECT_NE("UNDEFINED", r.ribbonName);
    EXPECT_GE(r.ribbonId, 0);
    EXPECT_LT(r.ribbonId, 20);  // the language library names ribbon ids 0 to 19
  }
  for (const CColor& t : c.tapes) {
    EXPECT_NE(L"UNDEFINED", t.name);
    EXPECT_GE(t.tapeId, 0);
    EXPECT_LT(t.tapeId, 12);  // and tape ids 0 to 11
  }
  EXPECT_GE(c.BlackRibbonId(), 0);
  EXPECT_GE(c.WhiteRibbonIndex(), 0);
  EXPECT_GE(c.WhiteTapeId(), 0);
}

}  // namespace
}  // namespace vyx
