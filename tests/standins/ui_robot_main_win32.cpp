// UI robot for tests under Wine: watches the top-level windows of one process, logs every dialog and message box
// (caption, texts, buttons) and answers them from a script, optionally saving a screenshot of each first.
//   vyx_ui_robot --pid N --log FILE [--answers OK,Retry,Cancel,...] [--shots DIR] [--timeout SECONDS]
// Answers are used in order, one per dialog; when they run out, dialogs are answered with OK (or the only button).
// The robot ends when the process ends or after the timeout. Screenshots are DIR\dialog1.png, dialog2.png, ...
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tests/support/ui_driver_win32.h"

namespace {

using namespace vyx::testing;

std::vector<std::wstring> SplitComma(const std::wstring& s) {
  std::vector<std::wstring> out;
  size_t start = 0;
  while (start <= s.size() && !s.empty()) {
    const size_t comma = s.find(L',', start);
    out.push_back(s.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
    if (comma == std::wstring::npos) break;
    start = comma + 1;
  }
  return out;
}

// The button `want` names, or the only button; empty when there is none to press.
std::wstring ButtonFor(const CDialogSummary& summary, const std::wstring& want) {
  for (const auto& button : summary.buttons)
    if (button.enabled && _wcsicmp(button.label.c_str(), want.c_str()) == 0) return button.label;
  if (summary.buttons.size() == 1) return summary.buttons[0].label;
  return {};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  DWORD pid = 0;
  std::wstring logPath, shotsDir;
  std::vector<std::wstring> answers;
  DWORD timeoutMs = 120000;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring key = argv[i], value = argv[i + 1];
    if (key == L"--pid")
      pid = static_cast<DWORD>(_wtoi(value.c_str()));
    else if (key == L"--log")
      logPath = value;
    else if (key == L"--answers")
      answers = SplitComma(value);
    else if (key == L"--shots")
      shotsDir = value;
    else if (key == L"--timeout")
      timeoutMs = static_cast<DWORD>(_wtoi(value.c_str())) * 1000;
  }
  if (!pid || logPath.empty()) {
    std::fprintf(stderr, "usage: vyx_ui_robot --pid N --log FILE [--answers A,B] [--shots DIR] [--timeout S]\n");
    return 2;
  }
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  FILE* log = _wfopen(logPath.c_str(), L"ab");
  if (!log) return 3;
  std::set<HWND> answered, logged;
  size_t nextAnswer = 0;
  int shot = 0;
  const DWORD begin = GetTickCount();
  while (GetTickCount() - begin < timeoutMs) {
    if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;
    for (HWND dialog : FindTopWindows(pid, {L"", L"#32770"})) {
      if (answered.count(dialog)) continue;
      Sleep(150);  // let the dialog finish painting before it is read and photographed
      const CDialogSummary summary = ReadDialog(dialog);
      if (summary.buttons.empty()) continue;  // not built up yet
      if (!logged.count(dialog)) {
        logged.insert(dialog);
        std::fprintf(log, "%s\n", FormatDialog(summary).c_str());
        std::fflush(log);
        if (!shotsDir.empty()) SaveWindowPng(dialog, shotsDir + L"\\dialog" + std::to_wstring(++shot) + L".png");
      }
      bool anyEnabled = false;
      for (const auto& button : summary.buttons) anyEnabled = anyEnabled || button.enabled;
      if (!anyEnabled) continue;  // a window that waits on its own, such as the progress window
      const std::wstring want = nextAnswer < answers.size() ? answers[nextAnswer++] : L"OK";
      const std::wstring label = ButtonFor(summary, want);
      if (label.empty() || !PressDialogButton(dialog, label)) {
        std::fprintf(log, "robot: no button '%s'\n", Utf8(want).c_str());
        std::fflush(log);
        continue;
      }
      answered.insert(dialog);
    }
    Sleep(50);
  }
  std::fclose(log);
  if (process) CloseHandle(process);
  return 0;
}
