// The printer's material replies, including replies without terminator or comma.
#include <gtest/gtest.h>

#include <cstring>

#include "manager/app/printer_materials.h"

namespace vyx {
namespace {

TEST(PrinterMaterials, TapeIsTheLeadingNumber) {
  const char reply[] = "6,1250\r\n0,300\r\n";
  EXPECT_EQ(6, ParseLoadedTape(reply, sizeof reply));
  EXPECT_EQ(0, ParseLoadedTape("none", 5));
  EXPECT_EQ(0, ParseLoadedTape(nullptr, 0));
}

TEST(PrinterMaterials, TapeLineThenRibbonLine) {
  const char reply[] = "6,1250\r\n9,300\r\n4,7\r\n";
  const auto m = ParseLoadedMaterials(reply, sizeof reply);
  ASSERT_EQ(2u, m.size());
  EXPECT_EQ(6, m[0].id);
  EXPECT_EQ(1250, m[0].remainingCm);
  EXPECT_EQ(9, m[1].id);
  EXPECT_EQ(300, m[1].remainingCm);
}

TEST(PrinterMaterials, StopsAtALineWithoutComma) {
  const char reply[] = "READY\r\n9,300\r\n";
  EXPECT_TRUE(ParseLoadedMaterials(reply, sizeof reply).empty());
  const char one[] = "2,55\r\nERR\r\n";
  EXPECT_EQ(1u, ParseLoadedMaterials(one, sizeof one).size());
}

TEST(PrinterMaterials, UnterminatedReplyIsReadOnlyWithinItsBuffer) {
  char reply[kMaterialsReplyBytes];
  std::memset(reply, '7', sizeof reply);
  reply[1] = ',';
  const auto m = ParseLoadedMaterials(reply, sizeof reply);
  ASSERT_EQ(1u, m.size());
  EXPECT_EQ(7, m[0].id);
  EXPECT_EQ(INT32_MAX, m[0].remainingCm);  // 258 sevens saturate
  EXPECT_EQ(INT32_MAX, ParseLoadedTape(reply + 2, sizeof reply - 2));
}

}  // namespace
}  // namespace vyx
