// Job text as the reader keeps it, for tests of objects that parse themselves: the data followed by two zero bytes,
// with the limit at the data's end.
#pragma once

#include <cstddef>
#include <string>

namespace vyx::testing {

struct CJobText {
  explicit CJobText(const std::string& text) : bytes(text + std::string(2, '\0')), size(text.size()) {}
  char* begin() { return bytes.data(); }
  char* limit() { return bytes.data() + size; }
  std::string bytes;
  std::size_t size;
};

}  // namespace vyx::testing
