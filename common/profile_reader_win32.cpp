// Profile reads on Windows.
#include "common/profile_reader_win32.h"

#include <windows.h>

#include <vector>

namespace vyx {

int CWin32ProfileReader::GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) {
  return static_cast<int>(GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, m_path.c_str()));
}

std::wstring CWin32ProfileReader::GetString(const std::wstring& section,
                                            const std::wstring& key,
                                            const std::wstring& defaultValue,
                                            std::size_t capacity) {
  if (capacity == 0) return {};
  std::vector<wchar_t> buffer(capacity, L'\0');
  const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                           static_cast<DWORD>(capacity), m_path.c_str());
  return std::wstring(buffer.data(), n < capacity ? n : capacity - 1);
}

}  // namespace vyx
