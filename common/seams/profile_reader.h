// Profile (INI) file seam: GetPrivateProfile* on Windows, an INI reader of our own on other platforms.
#pragma once

#include <cstddef>
#include <string>

namespace vyx {

class CProfileReader {
 public:
  virtual ~CProfileReader() = default;
  // The key's value read as an integer; the default when the key is missing or empty.
  virtual int GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) = 0;
  // The key's value, at most capacity - 1 characters; the default (cut the same way) when the key is missing.
  virtual std::wstring GetString(const std::wstring& section,
                                 const std::wstring& key,
                                 const std::wstring& defaultValue,
                                 std::size_t capacity) = 0;
};

}  // namespace vyx
