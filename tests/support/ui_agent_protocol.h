// What the UI driver and `vyx_ui_agent.dll` exchange through memory of the program under test.
#pragma once

#include <windows.h>

namespace vyx::testing {

constexpr char kAgentLibrary[] = "vyx_ui_agent.dll";
constexpr char kAgentReadMenu[] = "VyxAgentReadMenu";
constexpr char kAgentWatchQueue[] = "VyxAgentWatchQueue";
constexpr char kAgentTakenMarker[] = "VyxAgentTakenMarker";
// The registered message the driver posts after input; the agent notes when the program's loop takes it.
constexpr wchar_t kAgentMarkerMessage[] = L"VyxUiDriverMarker";
constexpr UINT kAgentMenuItems = 64;

struct CAgentMenuItem {
  UINT id;
  UINT type;   // MFT_*
  UINT state;  // MFS_*
  UINT hasSubmenu;
  RECT rect;  // on the screen
  wchar_t text[96];
};

// The driver fills `menu` and `window` (the pop-up menu window); the agent fills the rest.
struct CAgentMenuRequest {
  HMENU menu;
  HWND window;
  UINT count;
  CAgentMenuItem items[kAgentMenuItems];
};

}  // namespace vyx::testing
