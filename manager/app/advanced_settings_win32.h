// CVyxAdvDlg, the advanced settings dialog (resource dialog 152) of the main window's Advanced... button: it binds
// the controls to CAdvancedSettingsModel, stores language and unit on OK and sends firmware files to the printer.
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
  int unitCode = 0;  // the stored unit setting
  std::wstring printerName;
};

// The installed driver's version ("DriverVersion" of the x86 driver "VYX - Q5"); empty when it is missing.
std::wstring ReadDriverVersion();

// Shows the dialog modally; true on OK with `values` holding the choice, false when nothing changes.
bool ShowAdvancedSettings(const CAdvancedSettingsContext& context, CAdvancedSettingsValues& values);

}  // namespace vyx
