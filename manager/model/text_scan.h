// Lines, searches and numbers of the job text.
//
// Every function is bounded: nothing at or beyond `limit` is read as content. The job buffer has two zero
// bytes after its data, so its limit is the data end; objects with buffers of their own pass their buffer end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vyx {

// Command prefix test: pos holds '^' followed by exactly `name` (two or three letters).
bool IsCommand(const char* pos, const char* limit, std::string_view name);

// Plain search: the first occurrence of `needle` in [pos, limit) (the whole needle must lie before limit);
// nullptr when there is none.
char* PlainSearch(char* pos, char* limit, std::string_view needle);
inline const char* PlainSearch(const char* pos, const char* limit, std::string_view needle) {
  return PlainSearch(const_cast<char*>(pos), const_cast<char*>(limit), needle);
}

// Line search: like the plain search, but when the scan reaches "^GFB," it reads the decimal byte count that
// follows, skips past three further commas and then jumps over that many payload bytes, so that bytes of a
// binary bitmap are never taken for commands. The search fails (nullptr) when fewer than three commas follow,
// when a payload runs past `limit`, or when the scan meets a zero byte outside a payload.
char* LineSearch(char* pos, char* limit, std::string_view needle);

// The end of the line that starts at or before pos: the first "\r\n" in [pos, limit), or limit when none.
char* LineEnd(char* pos, char* limit);

// A decimal integer as the C library reads it: optional blanks (space, tab), optional sign, digits up to the
// first non-digit; no digits read as 0. Values beyond the int32 range are clamped. `after` (optional) receives
// the position after the last character used.
std::int32_t ReadInt(const char* pos, const char* limit, const char** after = nullptr);

// A list of values separated by ',' starting at pos: the first value always counts, every further value only
// when its comma lies before lineEnd. Reads at most maxCount values into out; returns how many counted.
int ReadValues(const char* pos, const char* lineEnd, const char* limit, std::int32_t* out, int maxCount);

}  // namespace vyx
