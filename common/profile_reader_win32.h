// The profile seam on Windows: GetPrivateProfileIntW and GetPrivateProfileStringW on one file.
#pragma once

#include <string>

#include "common/seams/profile_reader.h"

namespace vyx {

class CWin32ProfileReader : public CProfileReader {
 public:
  explicit CWin32ProfileReader(std::wstring path) : m_path(std::move(path)) {}
  int GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) override;
  std::wstring GetString(const std::wstring& section,
                         const std::wstring& key,
                         const std::wstring& defaultValue,
                         std::size_t capacity) override;

 private:
  std::wstring m_path;
};

}  // namespace vyx
