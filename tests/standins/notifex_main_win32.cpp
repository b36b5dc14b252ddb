// Stand-in for the message-box program Notifex.exe: shows nothing, writes the arguments it received to
// "Notifex.report" in its own folder (UTF-16, each argument ended by a NUL) and exits with a code made from them:
// (A << 16) | (B << 8) | (length of text 1 + length of text 2) mod 256, or 0xBAD when it did not get four.
//   Notifex "text 1" "text 2" A B
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  wchar_t self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring report(self, length);
  report = report.substr(0, report.find_last_of(L'\\') + 1) + L"Notifex.report";
  std::wstring content;
  for (int i = 1; i < argc; ++i) content.append(argv[i]).push_back(L'\0');
  HANDLE file = CreateFileW(report.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
  }
  if (argc != 5) return 0xBAD;
  const unsigned long a = std::wcstoul(argv[3], nullptr, 10);
  const unsigned long b = std::wcstoul(argv[4], nullptr, 10);
  const std::size_t texts = std::wcslen(argv[1]) + std::wcslen(argv[2]);
  return static_cast<int>(((a & 0xFF) << 16) | ((b & 0xFF) << 8) | (texts & 0xFF));
}
