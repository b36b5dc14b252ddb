// Number entry of the main window: the checks of typed lengths and counts, spin steps and the unit conversions.
#include <gtest/gtest.h>

#include <string>

#include "manager/app/number_entry.h"

namespace vyx {
namespace {

constexpr int kMm = 0;
constexpr int kInch = 1;

struct CLengthCase {
  const wchar_t* typed;
  int unit;
  bool accepted;
  double value;            // accepted: the value; refused: the previous value, shown again
  const wchar_t* rewrite;  // what the edit shows afterwards when it is rewritten, else null
};

TEST(NumberEntry, TypedLengthsAreCheckedAndRefusedOnesGoBack) {
  const std::wstring thousandDigits(1000, L'7');
  const CLengthCase cases[] = {
      {L"1,5", kMm, true, 1.5, L"1.5"},    // a comma becomes a point
      {L"1.55", kMm, false, 2.0, L"2.0"},  // two decimals in mm
      {L"1.55", kInch, true, 1.55, nullptr},
      {L"1.555", kInch, false, 2.0, L"2.00"},
      {L"", kMm, true, 0.0, nullptr},  // empty and a lone point count as 0
      {L".", kMm, true, 0.0, nullptr},
      {L"0", kMm, true, 0.0, nullptr},
      {L"0.5", kMm, true, 0.5, nullptr},
      {L"05", kMm, false, 2.0, L"2.0"},  // a leading zero only before the point
      {L"1.", kMm, true, 1.0, nullptr},
      {L"1.2.3", kMm, false, 2.0, L"2.0"},
      {L"-1", kMm, false, 2.0, L"2.0"},
      {L"+1", kMm, false, 2.0, L"2.0"},
      {L"1e9", kMm, false, 2.0, L"2.0"},
      {L"12 ", kMm, false, 2.0, L"2.0"},
      {L"abc", kInch, false, 2.0, L"2.00"},
      {thousandDigits.c_str(), kMm, false, 2.0, L"2.0"},
      {L"100000", kMm, true, 100000.0, nullptr},  // 100 m is the largest length
      {L"100000.1", kMm, false, 2.0, L"2.0"},
      {L"3937", kInch, true, 3937.0, nullptr},
      {L"3937.01", kInch, false, 2.0, L"2.00"},
  };
  for (const CLengthCase& c : cases) {
    SCOPED_TRACE(std::wstring(c.typed).substr(0, 20));
    const CLengthEntry e = CheckLengthText(c.typed, c.unit, 2.0);
    EXPECT_EQ(c.accepted, e.accepted);
    EXPECT_DOUBLE_EQ(c.value, e.value);
    EXPECT_EQ(c.rewrite != nullptr, e.rewrite);
    if (c.rewrite) {
      EXPECT_EQ(c.rewrite, e.text);
    }
  }
}

TEST(NumberEntry, CountsTakeDigitsWithinTheirRange) {
  const std::wstring manyDigits(5000, L'9');
  EXPECT_EQ(CCountEntry::kEmpty, CheckCountText(L"", 1, 99999999).kind);
  EXPECT_EQ(CCountEntry::kRefused, CheckCountText(L"0", 1, 99999999).kind);
  EXPECT_EQ(CCountEntry::kValue, CheckCountText(L"0", 0, 10000).kind);
  EXPECT_EQ(99999999, CheckCountText(L"99999999", 1, 99999999).value);
  EXPECT_EQ(7, CheckCountText(L"007", 1, 99999999).value);
  for (const wchar_t* bad : {L"100000000", L"12a", L"-3", L"1e9", L" 5", L"3.0"})
    EXPECT_EQ(CCountEntry::kRefused, CheckCountText(bad, 1, 99999999).kind) << bad;
  EXPECT_EQ(CCountEntry::kRefused, CheckCountText(manyDigits, 1, 99999999).kind);
  EXPECT_EQ(L"Enter an integer between 1 and 99999999.", IntegerRangeMessage(1, 99999999));
}

TEST(NumberEntry, ConversionsRoundAsTheWindowShowsThem) {
  EXPECT_EQ(18, LengthToDots(1.5, kMm));  // 17.72
  EXPECT_EQ(150, LengthToDots(0.5, kInch));
  EXPECT_EQ(94, LengthToPathUnits(2.0, kMm));  // 94.49
  EXPECT_EQ(96, LengthToPathUnits(0.08, kInch));
  EXPECT_DOUBLE_EQ(5.0, DotsToLength(59, kMm));  // 4.995
  EXPECT_DOUBLE_EQ(0.2, DotsToLength(59, kInch));
  EXPECT_DOUBLE_EQ(14.8, CutToDisplayStep(14.8166, kMm));
  EXPECT_DOUBLE_EQ(0.49, CutToDisplayStep(0.4999, kInch));
  EXPECT_EQ(INT32_MAX, LengthToDots(1e300, kMm));  // never wraps
  EXPECT_EQ(L"1.5", FormatLength(1.5, kMm));
  EXPECT_EQ(L"0.08", FormatLength(0.08, kInch));
}

TEST(NumberEntry, SpinStepsStayOnTheDisplayGrid) {
  EXPECT_DOUBLE_EQ(0.2, StepLength(0.1, kMm, true));
  EXPECT_DOUBLE_EQ(0.0, StepLength(0.1, kMm, false));
  EXPECT_DOUBLE_EQ(0.05, StepLength(0.05, kMm, false));  // below one step: going down stops
  EXPECT_DOUBLE_EQ(0.03, StepLength(0.02, kInch, true));
  double v = 0;
  for (int i = 0; i < 1000; ++i) v = StepLength(v, kMm, true);
  EXPECT_EQ(L"100.0", FormatLength(v, kMm));
  EXPECT_DOUBLE_EQ(kLargestEntryMm, StepLength(kLargestEntryMm, kMm, true));
}

}  // namespace
}  // namespace vyx
