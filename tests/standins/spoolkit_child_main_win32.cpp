// A program the session helper starts in tests: writes its command line and current folder to "child.report" in
// its own folder (UTF-16, each ended by a NUL), then
//   --wait EVENT   waits up to 30 s for the named event (so tests can find it running),
//   --exit N       exits with N.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  wchar_t self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring report(self, length);
  report = report.substr(0, report.find_last_of(L'\\') + 1) + L"child.report";
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring content = GetCommandLineW();
  content.push_back(L'\0');
  content.append(folder).push_back(L'\0');
  HANDLE file = CreateFileW(report.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
  }
  int code = 0;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::wcscmp(argv[i], L"--wait") == 0) {
      HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, argv[i + 1]);
      if (event != nullptr) {
        WaitForSingleObject(event, 30000);
        CloseHandle(event);
      }
    } else if (std::wcscmp(argv[i], L"--exit") == 0) {
      code = _wtoi(argv[i + 1]);
    }
  }
  return code;
}
