// UI robot for tests under Wine: watches the top-level windows of one process, logs every dialog and message box
// (caption, texts, buttons) and answers them from a script, optionally saving a screenshot of each first.
//   vyx_ui_robot --pid N --log FILE [--answers OK,Retry,Cancel,...] [--shots DIR] [--timeout SECONDS]
// Answers are used in order, one per dialog; when they run out, dialogs are answered with OK (or the only button).
// The robot ends when the process ends or after the timeout.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tests/standins/window_shot_win32.h"

namespace {

struct CDialogInfo {
  std::wstring caption;
  std::vector<std::wstring> texts;
  std::vector<std::pair<std::wstring, HWND>> buttons;
};

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[4096] = {};
  GetWindowTextW(hwnd, buf, 4096);
  return buf;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return buf;
}

// Buttons without their accelerator ampersands, so that scripts can say "Retry" for "&Retry".
std::wstring PlainLabel(std::wstring s) {
  std::wstring out;
  for (wchar_t c : s)
    if (c != L'&') out += c;
  return out;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* info = reinterpret_cast<CDialogInfo*>(param);
  if (!IsWindowVisible(child)) return TRUE;
  const std::wstring cls = ClassOf(child);
  const std::wstring text = WindowText(child);
  if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    const LONG style = GetWindowLongW(child, GWL_STYLE) & 0x0F;
    if (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON) {
      // A disabled button is listed as such and never pressed.
      const bool enabled = IsWindowEnabled(child) != FALSE;
      info->buttons.emplace_back(PlainLabel(text) + (enabled ? L"" : L"[disabled]"), enabled ? child : nullptr);
    }
  } else if (!text.empty()) {
    info->texts.push_back(text);
  }
  return TRUE;
}

struct CWatch {
  DWORD pid = 0;
  std::vector<HWND> found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM param) {
  auto* watch = reinterpret_cast<CWatch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == watch->pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") watch->found.push_back(hwnd);
  return TRUE;
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// One line per dialog: caption | texts joined with " / " | buttons joined with ",". Line breaks become "\n".
std::string LogLine(const CDialogInfo& info) {
  auto clean = [](const std::wstring& w) {
    std::string s;
    for (char c : Utf8(w)) {
      if (c == '\r') continue;
      if (c == '\n')
        s += "\\n";
      else
        s += c;
    }
    return s;
  };
  std::string line = "caption=" + clean(info.caption) + " | text=";
  for (size_t i = 0; i < info.texts.size(); ++i) {
    if (i) line += " / ";
    line += clean(info.texts[i]);
  }
  line += " | buttons=";
  for (size_t i = 0; i < info.buttons.size(); ++i) {
    if (i) line += ",";
    line += clean(info.buttons[i].first);
  }
  return line;
}

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
    CWatch watch{pid, {}};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&watch));
    for (HWND dialog : watch.found) {
      if (answered.count(dialog)) continue;
      Sleep(150);  // let the dialog finish painting before it is read and photographed
      CDialogInfo info;
      info.caption = WindowText(dialog);
      EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&info));
      if (info.buttons.empty()) continue;  // not built up yet
      if (!logged.count(dialog)) {
        logged.insert(dialog);
        std::fprintf(log, "%s\n", LogLine(info).c_str());
        std::fflush(log);
        if (!shotsDir.empty()) SaveWindowBitmap(dialog, shotsDir + L"\\dialog" + std::to_wstring(++shot) + L".bmp");
      }
      bool anyEnabled = false;
      for (auto& entry : info.buttons) anyEnabled = anyEnabled || entry.second != nullptr;
      if (!anyEnabled) continue;  // a window that waits on its own, such as the progress window
      std::wstring want = nextAnswer < answers.size() ? answers[nextAnswer++] : L"OK";
      HWND button = nullptr;
      for (auto& [label, hwnd] : info.buttons)
        if (_wcsicmp(label.c_str(), want.c_str()) == 0) button = hwnd;
      if (!button && info.buttons.size() == 1) button = info.buttons[0].second;
      if (!button) {
        std::fprintf(log, "robot: no button '%s'\n", Utf8(want).c_str());
        std::fflush(log);
        continue;
      }
      answered.insert(dialog);
      const int id = GetDlgCtrlID(button);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    Sleep(50);
  }
  std::fclose(log);
  if (process) CloseHandle(process);
  return 0;
}
