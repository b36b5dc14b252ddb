// Paths in Win32 tests: the folder of the test program (where every deliverable is built), the Linux paths of
// the source and build trees as Wine's Z: drive shows them, and where screenshots go.
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

// build/win64/screenshots/<name>.png: what a user sees, kept for people to look at.
inline std::wstring ScreenshotPath(const std::string& name) {
  const std::string folder = std::string(VYX_BINARY_DIR) + "/screenshots";
  CreateDirectoryW(WinePath(folder).c_str(), nullptr);
  return WinePath(folder + "/" + name + ".png");
}

}  // namespace vyx::testing
