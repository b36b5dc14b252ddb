// Number entry rules of the main window's edits; values are read digit by digit, so no text can overflow them.
#include "manager/app/number_entry.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vyx {

namespace {

constexpr double kMmPerDotValue = 0.08466666666666667;
constexpr double kInchPerDotValue = 0.0033333333333333335;
// Digits before the point that a length may have at all (the largest entry has 6).
constexpr std::size_t kMaxIntegerDigits = 9;

double LargestEntry(int unit) {
  return IsInchUnit(unit) ? kLargestEntryInch : kLargestEntryMm;
}

std::int32_t RoundToInt32(double v) {
  const double r = std::floor(v + 0.5);
  if (!(r > -2147483648.0)) return INT32_MIN;
  if (r > 2147483647.0) return INT32_MAX;
  return static_cast<std::int32_t>(r);
}

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

}  // namespace

bool IsInchUnit(int unit) {
  return unit == 1;
}

int UnitDecimals(int unit) {
  return IsInchUnit(unit) ? 2 : 1;
}

double UnitPerDot(int unit) {
  return IsInchUnit(unit) ? kInchPerDotValue : kMmPerDotValue;
}

double SpinStepOf(int unit) {
  return IsInchUnit(unit) ? 0.01 : 0.1;
}

std::wstring FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return L"0";
  return std::wstring(buffer, result.ptr);
}

std::wstring FormatLength(double value, int unit) {
  return FormatFixed(value, UnitDecimals(unit));
}

CLengthEntry CheckLengthText(const std::wstring& typed, int unit, double previous) {
  CLengthEntry entry;
  std::wstring text = typed;
  for (wchar_t& c : text) {
    if (c == L',') {
      c = L'.';
      entry.rewrite = true;
    }
  }
  entry.text = text;
  auto refuse = [&] {
    entry.accepted = false;
    entry.rewrite = true;
    entry.text = FormatLength(previous, unit);
    entry.value = previous;
    return entry;
  };
  if (text.empty() || text == L".") {
    entry.accepted = true;
    entry.value = 0.0;
    return entry;
  }
  if (text[0] == L'0' && text.size() > 1 && text[1] != L'.') return refuse();
  std::int64_t whole = 0, fraction = 0;
  std::size_t wholeDigits = 0, decimals = 0;
  bool point = false;
  for (wchar_t c : text) {
    if (c == L'.') {
      if (point) return refuse();
      point = true;
    } else if (!IsDigit(c)) {
      return refuse();
    } else if (point) {
      if (++decimals > static_cast<std::size_t>(UnitDecimals(unit))) return refuse();
      fraction = fraction * 10 + (c - L'0');
    } else {
      if (++wholeDigits > kMaxIntegerDigits) return refuse();
      whole = whole * 10 + (c - L'0');
    }
  }
  double value = static_cast<double>(whole);
  if (decimals > 0) value += static_cast<double>(fraction) / (decimals == 1 ? 10.0 : 100.0);
  if (value > LargestEntry(unit)) return refuse();
  entry.accepted = true;
  entry.value = value;
  return entry;
}

CCountEntry CheckCountText(const std::wstring& text, std::int32_t minimum, std::int32_t maximum) {
  CCountEntry entry;
  if (text.empty()) {
    entry.kind = CCountEntry::kEmpty;
    return entry;
  }
  std::int64_t value = 0;
  for (wchar_t c : text) {
    if (!IsDigit(c)) return entry;
    value = value * 10 + (c - L'0');
    if (value > maximum) return entry;  // also stops thousands of digits at the first one too many
  }
  if (value < minimum) return entry;
  entry.kind = CCountEntry::kValue;
  entry.value = static_cast<std::int32_t>(value);
  return entry;
}

double StepLength(double value, int unit, bool up) {
  const double step = SpinStepOf(unit);
  const int decimals = UnitDecimals(unit);
  const double scale = decimals == 1 ? 10.0 : 100.0;
  // Steps are taken on the shown digits, so that repeated steps never drift off the display grid.
  const double steps = std::floor(value * scale + 0.5);
  if (up) return std::min((steps + 1.0) / scale, LargestEntry(unit));
  if (value < step) return value;
  return (steps - 1.0) / scale;
}

std::int32_t LengthToDots(double value, int unit) {
  return RoundToInt32(IsInchUnit(unit) ? value * 300.0 : value * 300.0 / 25.4);
}

std::int32_t LengthToPathUnits(double value, int unit) {
  return RoundToInt32(IsInchUnit(unit) ? value * 4.0 * 300.0 : value * 4.0 / kMmPerDotValue);
}

double DotsToLength(std::int64_t dots, int unit) {
  const double d = static_cast<double>(dots);
  if (IsInchUnit(unit)) return std::floor(d * 100.0 * kInchPerDotValue + 0.5) / 100.0;
  return std::floor(d * 10.0 * kMmPerDotValue + 0.5) / 10.0;
}

double CutToDisplayStep(double value, int unit) {
  if (IsInchUnit(unit)) return std::floor(value * 100.0) / 100.0;
  return std::floor(value * 10.0) / 10.0;
}

std::wstring IntegerRangeMessage(std::int32_t minimum, std::int32_t maximum) {
  return L"Enter an integer between " + std::to_wstring(minimum) + L" and " + std::to_wstring(maximum) + L".";
}

}  // namespace vyx
