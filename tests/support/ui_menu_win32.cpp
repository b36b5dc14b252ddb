// Pop-up menus of another process. The agent reads the items inside the program (Wine keeps a menu in the
// process that made it); a choice is a click on the item, which the menu's own loop reads from the message queue.
#include <memory>

#include "tests/support/ui_agent_protocol.h"
#include "tests/support/ui_driver_detail_win32.h"
#include "tests/support/ui_driver_win32.h"

namespace vyx::testing {

using namespace detail;

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU: the menu a pop-up menu window shows

struct CShownMenu {
  HWND window = nullptr;
  std::vector<CMenuEntry> entries;
  std::vector<RECT> rects;
};

// The pop-up menu the process shows (the innermost one when a submenu is open).
CShownMenu ReadShownMenu(DWORD pid, DWORD timeoutMs) {
  CShownMenu shown;
  shown.window = WaitForTopWindow(pid, {L"", L"#32768"}, timeoutMs);
  if (!shown.window) return shown;
  const auto menu = reinterpret_cast<HMENU>(SendBounded(shown.window, kGetMenuHandle, 0, 0));
  CRemoteBuffer buffer(shown.window, sizeof(CAgentMenuRequest));
  auto request = std::make_unique<CAgentMenuRequest>();
  request->menu = menu;
  request->window = shown.window;
  if (!menu || !buffer.Write(*request)) return shown;
  bool ended = true;
  const DWORD read = CallAgent(buffer.Process(), kAgentReadMenu, buffer.At(), timeoutMs, &ended);
  if (!ended) buffer.Abandon();
  if (read != 1 || !buffer.Read(request.get())) return shown;
  for (UINT i = 0; i < request->count && i < kAgentMenuItems; ++i) {
    const CAgentMenuItem& item = request->items[i];
    CMenuEntry entry;
    entry.id = item.id;
    entry.text.assign(item.text, wcsnlen(item.text, sizeof item.text / sizeof item.text[0]));
    entry.enabled = !(item.state & MFS_DISABLED);  // MFS_DISABLED covers grayed items too
    entry.checked = (item.state & MFS_CHECKED) != 0;
    entry.separator = (item.type & MFT_SEPARATOR) != 0;
    entry.submenu = item.hasSubmenu != 0;
    shown.entries.push_back(entry);
    shown.rects.push_back(item.rect);
  }
  return shown;
}

template <typename Match>
bool Choose(DWORD pid, DWORD timeoutMs, Match match) {
  const CShownMenu shown = ReadShownMenu(pid, timeoutMs);
  for (size_t i = 0; i < shown.entries.size(); ++i) {
    const CMenuEntry& entry = shown.entries[i];
    if (entry.separator || !match(entry)) continue;
    if (!entry.enabled || entry.submenu) return false;
    // The menu loop takes synthetic mouse messages in screen coordinates.
    const RECT& r = shown.rects[i];
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return PostSettled(shown.window, {{WM_LBUTTONDOWN, MK_LBUTTON, at}, {WM_LBUTTONUP, 0, at}}, timeoutMs) &&
           WaitForWindowGone(shown.window, timeoutMs);
  }
  return false;
}

}  // namespace

std::vector<CMenuEntry> ReadPopupMenu(DWORD pid, DWORD timeoutMs) {
  return ReadShownMenu(pid, timeoutMs).entries;
}

bool ChoosePopupMenuEntry(DWORD pid, UINT id, DWORD timeoutMs) {
  return Choose(pid, timeoutMs, [id](const CMenuEntry& entry) { return entry.id == id; });
}

bool ChoosePopupMenuEntry(DWORD pid, const std::wstring& text, DWORD timeoutMs) {
  // An entry's shortcut, after a tab, is not part of its name.
  return Choose(pid, timeoutMs, [&text](const CMenuEntry& entry) {
    return SameLabel(entry.text.substr(0, entry.text.find(L'\t')), text);
  });
}

bool CancelPopupMenu(DWORD pid, DWORD timeoutMs) {
  const HWND window = WaitForTopWindow(pid, {L"", L"#32768"}, timeoutMs);
  return window && PostSettled(window, KeyStroke(VK_ESCAPE), timeoutMs) && WaitForWindowGone(window, timeoutMs);
}

}  // namespace vyx::testing
