// Builds job streams for tests, benchmarks and seed examples: header, pages, hexadecimal and binary bitmap
// fields from pixel predicates, pen paths and the trailer. Header-only; no dependency on the model.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vyx::testing {

// A monochrome bitmap as rows of bytes (most significant bit leftmost).
struct Bitmap {
  int bytesPerRow = 0;
  int rows = 0;
  std::string bytes;  // rows x bytesPerRow

  static Bitmap FromPredicate(int widthPixels, int rows, const std::function<bool(int x, int y)>& set) {
    Bitmap b;
    b.bytesPerRow = (widthPixels + 7) / 8;
    b.rows = rows;
    b.bytes.assign(static_cast<std::size_t>(b.bytesPerRow) * static_cast<std::size_t>(rows), '\0');
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < widthPixels; ++x)
        if (set(x, y))
          b.bytes[static_cast<std::size_t>(y * b.bytesPerRow + x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    return b;
  }
  int TotalBytes() const { return bytesPerRow * rows; }
};

inline std::string HexOf(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// "^RR<index>,<name>\r\n^FO<x>,<y>\r\n^GF<f>,<b>,<c>,<r>,<data>\r\n"
inline std::string Field(unsigned ribbon, const std::string& name, int x, int y, const Bitmap& bm, char format = 'A') {
  std::string s = "^RR" + std::to_string(ribbon) + "," + name + "\r\n";
  s += "^FO" + std::to_string(x) + "," + std::to_string(y) + "\r\n";
  const std::string total = std::to_string(bm.TotalBytes());
  s += std::string("^GF") + format + "," + total + "," + total + "," + std::to_string(bm.bytesPerRow) + ",";
  s += format == 'A' ? HexOf(bm.bytes) : bm.bytes;
  s += "\r\n";
  return s;
}

inline std::string Header(int width = 400, int length = 300, const std::string& pq = "1,0,1,0") {
  return "^XA\r\n^PW" + std::to_string(width) + "\r\n^LL" + std::to_string(length) + "\r\n^LH0,0\r\n^PQ" + pq +
         "\r\n^RSR1\r\n^SD15\r\n";
}

inline std::string PageEnd(int copies, int pageNumber) {
  return "^XPG" + std::to_string(copies) + "," + std::to_string(pageNumber) + "\r\n";
}

// A closed rectangle in quarter dots as a pen path.
inline std::string RectPath(int x0, int y0, int x1, int y1) {
  auto m = [](int x, int y) { return "^RPM" + std::to_string(x) + "," + std::to_string(y) + "\r\n"; };
  return "^RPU\r\n" + m(x0, y0) + "^RPD\r\n" + m(x1, y0) + m(x1, y1) + m(x0, y1) + m(x0, y0) + "^RPU\r\n";
}

inline std::string Trailer() {
  return "^XZ\r\n";
}

}  // namespace vyx::testing
