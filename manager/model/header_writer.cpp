// Header text: formatted into a fixed 256-byte buffer, which every combination of 32-bit values fits.
#include "manager/model/header_writer.h"

#include <cstdio>

namespace vyx {

int ChooseDarkness(int overrideValue, int storedDarkness) {
  if (overrideValue >= 0) return overrideValue;
  if (storedDarkness >= 0) return storedDarkness;
  return kDefaultDarkness;
}

std::string FormatCustomHeader(const CCustomQzplHeader& header, int storedDarkness) {
  char text[256];
  const int n =
      std::snprintf(text, sizeof text, "^XA\r\n%s^PW%d\r\n^LL%d\r\n^LH%d,%d\r\n^PQ%d,%d,%d,%d\r\n^RSR%d\r\n^SD%u\r\n",
                    header.laminate ? "^RLL0,0\r\n" : "", header.width, header.length, header.homeX, header.homeY,
                    header.rows, header.rowGap, header.columns, header.columnGap, header.rsrValue,
                    static_cast<unsigned>(ChooseDarkness(header.darknessOverride, storedDarkness)));
  if (n <= 0) return {};
  return std::string(text, static_cast<std::size_t>(n) < sizeof text ? static_cast<std::size_t>(n) : sizeof text - 1);
}

bool WriteCustomHeader(const CCustomQzplHeader& header, int storedDarkness, COutputChannel& out) {
  const std::string text = FormatCustomHeader(header, storedDarkness);
  return !text.empty() && out.Write(text.data(), text.size());
}

bool WriteLaminateEnd(COutputChannel& out) {
  static constexpr char kLine[] = "^RLE\r\n";
  return out.Write(kLine, sizeof kLine - 1);
}

}  // namespace vyx
