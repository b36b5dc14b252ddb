// Input posted through the program's message queue, and knowing when the program's loop has taken it: the agent
// watches the thread's queue for a marker posted after the input.
#include <utility>

#include "tests/support/ui_agent_protocol.h"
#include "tests/support/ui_driver_detail_win32.h"
#include "tests/support/ui_driver_win32.h"

namespace vyx::testing::detail {

namespace {

LONG ReadTakenMarker(HANDLE process, LPARAM address) {
  LONG value = -1;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(address), &value, sizeof value, &read) ||
      read != sizeof value)
    return -1;
  return value;
}

// Has the agent watch the queue of `thread` (once per thread: the agent keeps its hook).
bool Watch(HANDLE process, DWORD thread, DWORD timeoutMs) {
  static std::vector<std::pair<CProcessIdentity, DWORD>> watched;
  const CProcessIdentity identity = IdentityOf(process);
  for (const auto& [who, id] : watched)
    if (who == identity && id == thread) return true;
  if (CallAgent(process, kAgentWatchQueue, thread, timeoutMs) != 1) return false;
  watched.emplace_back(identity, thread);
  return true;
}

}  // namespace

std::vector<CPosted> KeyStroke(UINT virtualKey) {
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  const bool extended = virtualKey == VK_DELETE || virtualKey == VK_INSERT || virtualKey == VK_HOME ||
                        virtualKey == VK_END || virtualKey == VK_PRIOR || virtualKey == VK_NEXT ||
                        (virtualKey >= VK_LEFT && virtualKey <= VK_DOWN);
  const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16) | (extended ? (1 << 24) : 0);
  const LPARAM up = down | (static_cast<LPARAM>(3) << 30);  // previous state down, key being released
  return {{WM_KEYDOWN, virtualKey, down}, {WM_KEYUP, virtualKey, up}};
}

bool PostSettled(HWND window, const std::vector<CPosted>& messages, DWORD timeoutMs) {
  static const UINT marker = RegisterWindowMessageW(kAgentMarkerMessage);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  HANDLE process = OpenProcessOf(window);
  if (!process || !marker) {
    if (process) CloseHandle(process);
    return false;
  }
  const LPARAM taken = AgentExport(process, kAgentTakenMarker, timeoutMs);
  const LONG last = taken ? ReadTakenMarker(process, taken) : -1;
  bool settled = last >= 0 && Watch(process, thread, timeoutMs);
  for (const CPosted& m : messages) settled = settled && PostMessageW(window, m.message, m.wParam, m.lParam);
  // A thread message: it stays in the queue even when the input closes the window. Its number is new even when an
  // earlier marker was never taken.
  static LONG posted = 0;
  const LONG number = (last > posted ? last : posted) + 1;
  posted = number;
  settled = settled && PostThreadMessageW(thread, marker, static_cast<WPARAM>(number), 0);
  if (settled) {
    const DWORD start = GetTickCount();
    while (ReadTakenMarker(process, taken) < number && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
      if (GetTickCount() - start >= timeoutMs) {
        settled = false;
        break;
      }
      Sleep(5);
    }
  }
  CloseHandle(process);
  return settled;
}

}  // namespace vyx::testing::detail

namespace vyx::testing {

bool WaitForIdle(HWND window, DWORD timeoutMs) {
  return detail::PostSettled(window, {}, timeoutMs);
}

}  // namespace vyx::testing
