// The main window's Advanced... button: the advanced settings dialog opens with the window's values and gives back
// what the user chose.
#pragma once

#include <windows.h>

#include <string>

#include "common/language.h"
#include "manager/app/main_window_model.h"

namespace vyx {

struct CAdvancedSettingsContext {
  HWND owner = nullptr;
  HINSTANCE resources = nullptr;
  CLanguageText language;
  std::wstring printerName;
};

// Shows the dialog modally; true on OK with `values` holding the choice, false when nothing changes.
bool ShowAdvancedSettings(const CAdvancedSettingsContext& context, CAdvancedSettingsValues& values);

}  // namespace vyx
