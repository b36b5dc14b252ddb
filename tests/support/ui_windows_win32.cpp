// The UI driver's processes, windows and waits, and the bounded ways it sends messages.
#include "tests/support/ui_driver_detail_win32.h"
#include "tests/support/ui_driver_win32.h"

namespace vyx::testing {

using namespace detail;

namespace detail {

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring WindowText(HWND window) {
  // WM_GETTEXT is copied between processes by the system; the bound keeps a hung program from hanging the test.
  wchar_t text[4096] = {};
  SendBounded(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  text[4095] = 0;
  return text;
}

std::wstring PlainLabel(const std::wstring& text) {
  std::wstring plain;
  for (wchar_t c : text)
    if (c != L'&') plain += c;
  return plain;
}

bool SameLabel(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(PlainLabel(a).c_str(), PlainLabel(b).c_str()) == 0;
}

bool Usable(HWND control) {
  return control && IsWindowVisible(control) && IsWindowEnabled(control) &&
         IsWindowEnabled(GetAncestor(control, GA_ROOT));
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* ok, DWORD timeoutMs) {
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result) != 0;
  if (ok) *ok = answered;
  return static_cast<LRESULT>(result);
}

}  // namespace detail

CTestProcess::~CTestProcess() {
  if (process_) {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_, 0xDEAD);
      WaitForSingleObject(process_, kUiWaitMs);
    }
    CloseHandle(process_);
  }
}

bool CTestProcess::Start(std::wstring commandLine) {
  if (process_) return false;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  id_ = pi.dwProcessId;
  return true;
}

DWORD CTestProcess::WaitForExit(DWORD timeoutMs) {
  if (!process_) return 0xDEAD;
  if (WaitForSingleObject(process_, timeoutMs) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 0xDEAD);
    WaitForSingleObject(process_, kUiWaitMs);
  }
  DWORD code = 0xDEAD;
  GetExitCodeProcess(process_, &code);
  return code;
}

namespace {

struct CTopSearch {
  DWORD pid;
  const CWindowMatch* match;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<CTopSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  for (HWND known : search->match->except)
    if (known == window) return TRUE;
  if (!search->match->className.empty() && ClassOf(window) != search->match->className) return TRUE;
  if (!search->match->caption.empty() && WindowText(window) != search->match->caption) return TRUE;
  search->found.push_back(window);
  return TRUE;
}

struct CControlSearch {
  int id;
  HWND visible = nullptr;
  HWND hidden = nullptr;
};

BOOL CALLBACK FindById(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<CControlSearch*>(param);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  if (IsWindowVisible(window)) {
    search->visible = window;
    return FALSE;
  }
  if (!search->hidden) search->hidden = window;
  return TRUE;
}

}  // namespace

std::vector<HWND> FindTopWindows(DWORD pid, const CWindowMatch& match) {
  CTopSearch search{pid, &match, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return condition();
    Sleep(10);
  }
}

HWND WaitForTopWindow(DWORD pid, const CWindowMatch& match, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> windows = FindTopWindows(pid, match);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

HWND FindControl(HWND root, int id) {
  if (!root) return nullptr;
  CControlSearch search{id};
  EnumChildWindows(root, FindById, reinterpret_cast<LPARAM>(&search));
  return search.visible ? search.visible : search.hidden;
}

HWND WaitForControl(HWND root, int id, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindControl(root, id);
        return found && IsWindowVisible(found);
      },
      timeoutMs);
  return found;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace vyx::testing
