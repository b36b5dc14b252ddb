// Paths in Win32 tests: the folder of the test program (where every deliverable is built) and the Linux paths of
// the source and build trees as Wine's Z: drive shows them.
#pragma once

#include <windows.h>

#include <string>

namespace vyx::testing {

inline std::wstring ProgramDirectory() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring full(path, n);
  return full.substr(0, full.find_last_of(L"\\/") + 1);
}

inline std::wstring WinePath(const std::string& unixPath) {
  std::wstring w = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
  for (wchar_t& c : w)
    if (c == L'/') c = L'\\';
  return w;
}

}  // namespace vyx::testing
