// Each row is filtered the way that leaves the smallest bytes (none, left or up), so flat screen areas become runs
// of zeros; one fixed-Huffman deflate block then codes each run as a match at distance one.
#include "tests/support/png_writer.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace vyx::testing {
namespace {

std::uint32_t Crc32(const std::string& bytes, std::size_t from) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = from; i < bytes.size(); ++i)
    crc = table[(crc ^ static_cast<std::uint8_t>(bytes[i])) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t v : bytes) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBig32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out += type;
  out += data;
  PutBig32(out, Crc32(out, typeAt));
}

// Deflate's bit order: values least significant bit first, Huffman codes most significant bit first.
class CBitWriter {
 public:
  void Bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  void Code(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  std::string Finish() {
    if (used_) bytes_ += static_cast<char>(current_);
    return std::move(bytes_);
  }

 private:
  void Bit(std::uint32_t bit) {
    current_ |= bit << used_;
    if (++used_ == 8) {
      bytes_ += static_cast<char>(current_);
      current_ = 0;
      used_ = 0;
    }
  }
  std::string bytes_;
  std::uint32_t current_ = 0;
  int used_ = 0;
};

// The fixed literal/length code of deflate.
void PutSymbol(CBitWriter& bits, int symbol) {
  if (symbol < 144)
    bits.Code(0x30 + symbol, 8);
  else if (symbol < 256)
    bits.Code(0x190 + symbol - 144, 9);
  else if (symbol < 280)
    bits.Code(symbol - 256, 7);
  else
    bits.Code(0xC0 + symbol - 280, 8);
}

// A match of `length` (3..258) bytes at distance one.
void PutRun(CBitWriter& bits, int length) {
  static constexpr int kBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr int kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  int code = 28;
  while (kBase[code] > length) --code;
  PutSymbol(bits, 257 + code);
  bits.Bits(static_cast<std::uint32_t>(length - kBase[code]), kExtra[code]);
  bits.Code(0, 5);  // distance code 0: one byte back
}

std::string Deflate(const std::vector<std::uint8_t>& data) {
  CBitWriter bits;
  bits.Bits(1, 1);  // the last block
  bits.Bits(1, 2);  // fixed Huffman codes
  std::size_t i = 0;
  while (i < data.size()) {
    PutSymbol(bits, data[i]);
    std::size_t run = 0;
    while (i + 1 + run < data.size() && data[i + 1 + run] == data[i]) ++run;
    ++i;
    while (run >= 3) {
      const int length = run > 258 ? 258 : static_cast<int>(run);
      PutRun(bits, length);
      run -= static_cast<std::size_t>(length);
      i += static_cast<std::size_t>(length);
    }
  }
  PutSymbol(bits, 256);
  return bits.Finish();
}

// The filtered scanlines: each row starts with the filter that gives it the smallest sum of signed bytes.
std::vector<std::uint8_t> FilterRows(const std::uint8_t* rgb, std::uint32_t width, std::uint32_t height) {
  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> out;
  out.reserve((stride + 1) * height);
  std::vector<std::uint8_t> candidate[3];
  for (std::uint32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = rgb + stride * y;
    const std::uint8_t* up = y ? row - stride : nullptr;
    long best = -1;
    int bestFilter = 0;
    for (int filter = 0; filter < 3; ++filter) {
      candidate[filter].resize(stride);
      long cost = 0;
      for (std::size_t x = 0; x < stride; ++x) {
        std::uint8_t predicted = 0;
        if (filter == 1 && x >= 3) predicted = row[x - 3];
        if (filter == 2 && up) predicted = up[x];
        const auto value = static_cast<std::uint8_t>(row[x] - predicted);
        candidate[filter][x] = value;
        cost += std::abs(static_cast<int>(static_cast<std::int8_t>(value)));
      }
      if (best < 0 || cost < best) {
        best = cost;
        bestFilter = filter;
      }
    }
    out.push_back(static_cast<std::uint8_t>(bestFilter));
    out.insert(out.end(), candidate[bestFilter].begin(), candidate[bestFilter].end());
  }
  return out;
}

}  // namespace

std::string EncodePng(const std::uint8_t* rgb, std::uint32_t width, std::uint32_t height) {
  if (!rgb || width == 0 || height == 0 || static_cast<std::uint64_t>(width) * height > kMaxPixels) return {};
  const std::vector<std::uint8_t> scanlines = FilterRows(rgb, width, height);
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutBig32(header, width);
  PutBig32(header, height);
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits per sample, RGB, deflate, adaptive filters, no interlace
  PutChunk(png, "IHDR", header);
  std::string zlib("\x78\x01", 2);
  zlib += Deflate(scanlines);
  PutBig32(zlib, Adler32(scanlines));
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace vyx::testing
