// Number entry of the main window: how lengths are shown and typed in millimetres or inches, the checks a typed
// text must pass, spin steps, and the conversions between the shown unit, printer dots and path units.
#pragma once

#include <cstdint>
#include <string>

namespace vyx {

// A unit setting of 1 means inches; every other value millimetres.
bool IsInchUnit(int unit);
// Decimals shown: 1 in mm, 2 in inch.
int UnitDecimals(int unit);
// One dot in the unit: 0.08466666666666667 mm or 0.0033333333333333335 inch.
double UnitPerDot(int unit);
// One spin step: 0.1 mm or 0.01 inch.
double SpinStepOf(int unit);

// The largest length the edits take: 100 m (3937 inch). Larger texts are refused, so that no conversion overflows.
inline constexpr double kLargestEntryMm = 100000.0;
inline constexpr double kLargestEntryInch = 3937.0;

// `value` with exactly `decimals` decimals and correct rounding ("%.*f"), the same on every platform.
std::wstring FormatFixed(double value, int decimals);
// A length as its edit shows it: "%.1f" in mm, "%.2f" in inch.
std::wstring FormatLength(double value, int unit);

// What a typed text of a length edit comes to.
struct CLengthEntry {
  bool accepted = false;
  double value = 0.0;  // accepted: the value the text means (an empty text or a lone "." is 0)
  bool rewrite = false;
  std::wstring text;  // rewrite: what the edit must show instead (commas made points, or the previous value)
};

// Checks a typed text: "," becomes "."; only digits and one "." with at most 1 (mm) or 2 (inch) decimals; a text
// that starts with "0" followed by anything but "." is refused, and so is a value above the largest entry. A refused
// text is replaced by `previous`.
CLengthEntry CheckLengthText(const std::wstring& text, int unit, double previous);

// What a typed text of a count edit (copies, labels per set) comes to.
struct CCountEntry {
  enum EKind { kValue, kEmpty, kRefused } kind = kRefused;
  std::int32_t value = 0;
};
// Digits only, within minimum..maximum (leading zeros allowed); an empty text is kEmpty.
CCountEntry CheckCountText(const std::wstring& text, std::int32_t minimum, std::int32_t maximum);

// One spin step up or down. Going down stops when the value is below one step; going up stops at the largest entry.
double StepLength(double value, int unit, bool up);

// round(v x 300 / 25.4) in mm, round(v x 300) in inch; round = floor of v + 0.5.
std::int32_t LengthToDots(double value, int unit);
// Corner radius in path units (quarter dots): round(v x 4 / 0.08466666666666667) in mm, round(v x 4 x 300) in inch.
std::int32_t LengthToPathUnits(double value, int unit);
// floor(d x 10 x mm per dot + 0.5) / 10 in mm, floor(d x 100 x inch per dot + 0.5) / 100 in inch.
double DotsToLength(std::int64_t dots, int unit);
// floor(v x 10) / 10 in mm, floor(v x 100) / 100 in inch.
double CutToDisplayStep(double value, int unit);

// The framework's range message of a count edit: "Enter an integer between %1 and %2."
std::wstring IntegerRangeMessage(std::int32_t minimum, std::int32_t maximum);

}  // namespace vyx
