// The plotter pen command dialect: line reading, classification, values and the move line format.
#include "manager/model/pen_commands.h"

#include <cstring>

namespace vyx {

namespace {

bool HasPrefix(const char* start, const char* end, const char* name) {
  const std::size_t n = std::strlen(name);
  return static_cast<std::size_t>(end - start) >= n && std::memcmp(start, name, n) == 0;
}

// Decimal value in the manner of atoi: blanks, one sign, digits; stops at the first other byte or at end.
std::int32_t ReadValue(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) {
    negative = *p == '-';
    ++p;
  }
  std::int64_t v = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    // Saturate early: anything beyond 2^31 is clamped below anyway and must not overflow here.
    if (v < (std::int64_t{1} << 32)) v = v * 10 + (*p - '0');
    ++p;
  }
  return SaturateToInt32(negative ? -v : v);
}

char* SkipBinaryPayload(char* p, char* limit) {
  // p is just after "^GFB,": the binary byte count, then three commas, then the payload.
  const std::int32_t count = ReadValue(p, limit);
  int commas = 0;
  while (p < limit && *p != '\0' && commas < 3) {
    if (*p == ',') ++commas;
    ++p;
  }
  if (commas < 3) return nullptr;
  const std::int64_t skip = count > 0 ? count : 0;
  if (skip > limit - p) return nullptr;
  return p + skip;
}

}  // namespace

char* FindPenLineEnd(char* pos, char* limit, char** stop) {
  char* p = pos;
  char* found = nullptr;
  while (p != nullptr && p < limit && *p != '\0') {
    if (*p == '\r' && p + 1 < limit && p[1] == '\n') {
      found = p;
      break;
    }
    if (*p == '^' && limit - p >= 5 && std::memcmp(p, "^GFB,", 5) == 0) {
      char* after = SkipBinaryPayload(p + 5, limit);
      if (after == nullptr) break;
      p = after;
      continue;
    }
    ++p;
  }
  if (stop != nullptr) *stop = p;
  return found;
}

bool ReadPenLine(char* pos, char* limit, CPenLine& line) {
  char* cr = FindPenLineEnd(pos, limit);
  if (cr == nullptr) return false;
  line.start = pos;
  line.contentEnd = cr;
  line.end = cr + 2;
  line.kind = ClassifyPenLine(pos, cr);
  return true;
}

EPenLineKind ClassifyPenLine(const char* start, const char* contentEnd) {
  if (!HasPrefix(start, contentEnd, "^RP")) return kPenLineNotPen;
  if (HasPrefix(start, contentEnd, "^RPU")) return kPenLineUp;
  if (HasPrefix(start, contentEnd, "^RPD")) return kPenLineDown;
  if (HasPrefix(start, contentEnd, "^RPM")) return kPenLineMove;
  if (HasPrefix(start, contentEnd, "^RPB")) return kPenLineBezier;
  return kPenLineOther;
}

int ReadPenValues(const char* values, const char* lineEnd, std::int32_t* out, int max) {
  if (max <= 0 || values == nullptr || values > lineEnd) return 0;
  const char* p = values;
  int count = 0;
  for (;;) {
    out[count++] = ReadValue(p, lineEnd);
    if (count == max) return count;
    const void* comma = std::memchr(p, ',', static_cast<std::size_t>(lineEnd - p));
    if (comma == nullptr) return count;
    p = static_cast<const char*>(comma) + 1;
  }
}

bool ReadPenMove(const CPenLine& line, CQuarterPoint& to) {
  std::int32_t v[2] = {0, 0};
  if (ReadPenValues(line.start + 4, line.contentEnd, v, 2) < 2) return false;
  to = {v[0], v[1]};
  return true;
}

bool ReadPenBezier(const CPenLine& line, CQuarterPoint controls[3]) {
  std::int32_t v[6] = {};
  if (ReadPenValues(line.start + 4, line.contentEnd, v, 6) < 6) return false;
  for (int i = 0; i < 3; ++i) controls[i] = {v[2 * i], v[2 * i + 1]};
  return true;
}

namespace {

// Writes v in decimal at dst (which has room for 11 characters) and returns the length.
std::size_t FormatDecimal(char* dst, std::int32_t v) {
  char digits[11];
  std::size_t n = 0;
  // Work on the negative magnitude so that INT32_MIN needs no special case.
  std::int32_t rest = v < 0 ? v : -v;
  do {
    digits[n++] = static_cast<char>('0' - rest % 10);
    rest /= 10;
  } while (rest != 0);
  std::size_t len = 0;
  if (v < 0) dst[len++] = '-';
  while (n > 0) dst[len++] = digits[--n];
  return len;
}

std::size_t DecimalLength(std::int32_t v) {
  char scratch[11];
  return FormatDecimal(scratch, v);
}

}  // namespace

std::size_t PenMoveLineLength(CQuarterPoint to) {
  return 4 + DecimalLength(to.x) + 1 + DecimalLength(to.y) + 2;
}

std::size_t FormatPenMove(char* dst, std::size_t room, CQuarterPoint to) {
  char line[kMaxPenMoveLineBytes];
  std::size_t len = 0;
  std::memcpy(line, "^RPM", 4);
  len = 4;
  len += FormatDecimal(line + len, to.x);
  line[len++] = ',';
  len += FormatDecimal(line + len, to.y);
  line[len++] = '\r';
  line[len++] = '\n';
  if (dst == nullptr || len > room) return 0;
  std::memcpy(dst, line, len);
  return len;
}

}  // namespace vyx
