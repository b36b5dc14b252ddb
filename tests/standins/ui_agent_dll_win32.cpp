// vyx_ui_agent.dll: loaded by the UI driver into a program under test, it does what only that process can do
// under Wine: read the items of the pop-up menu the program shows, and tell when the program's message loop has
// taken the driver's posted input from its queue.
#include <windows.h>

#include "tests/support/ui_agent_protocol.h"

using vyx::testing::CAgentMenuRequest;

// The number of the last marker a watched message loop took from its queue. Each marker the driver posts carries
// a larger number than the one before.
extern "C" {
__declspec(dllexport) volatile LONG VyxAgentTakenMarker = 0;
}

namespace {

HINSTANCE g_module = nullptr;
UINT g_marker = 0;
DWORD g_watched[32] = {};
int g_watchedCount = 0;

LRESULT CALLBACK OnGetMessage(int code, WPARAM removal, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && g_marker && msg->message == g_marker) {
    const auto number = static_cast<LONG>(msg->wParam);
    if (number > VyxAgentTakenMarker) InterlockedExchange(&VyxAgentTakenMarker, number);
    msg->message = WM_NULL;  // nothing for the program itself
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) g_module = module;
  return TRUE;
}

// Runs on a thread the driver starts in this process: watches the message queue of thread `argument`.
extern "C" __declspec(dllexport) DWORD WINAPI VyxAgentWatchQueue(void* argument) {
  const auto thread = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(argument));
  for (int i = 0; i < g_watchedCount; ++i)
    if (g_watched[i] == thread) return 1;
  if (g_watchedCount == 32) return 0;
  g_marker = RegisterWindowMessageW(vyx::testing::kAgentMarkerMessage);
  if (!g_marker || !SetWindowsHookExW(WH_GETMESSAGE, OnGetMessage, g_module, thread)) return 0;
  g_watched[g_watchedCount++] = thread;
  return 1;
}

// Runs on a thread the driver starts in this process; returns 1 when the menu was read.
extern "C" __declspec(dllexport) DWORD WINAPI VyxAgentReadMenu(void* argument) {
  auto* request = static_cast<CAgentMenuRequest*>(argument);
  const int count = GetMenuItemCount(request->menu);
  if (count < 0) return 0;
  request->count = static_cast<UINT>(count) < vyx::testing::kAgentMenuItems ? static_cast<UINT>(count)
                                                                            : vyx::testing::kAgentMenuItems;
  for (UINT i = 0; i < request->count; ++i) {
    auto& item = request->items[i];
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = item.text;
    info.cch = sizeof item.text / sizeof item.text[0];
    item.text[0] = 0;
    if (!GetMenuItemInfoW(request->menu, i, TRUE, &info)) return 0;
    item.id = info.wID;
    item.type = info.fType;
    item.state = info.fState;
    item.hasSubmenu = info.hSubMenu != nullptr;
    if (!GetMenuItemRect(request->window, request->menu, i, &item.rect)) SetRectEmpty(&item.rect);
  }
  return 1;
}
