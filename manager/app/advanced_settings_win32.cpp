// The advanced settings dialog is not part of the program yet: the button changes nothing.
#include "manager/app/advanced_settings_win32.h"

namespace vyx {

bool ShowAdvancedSettings(const CAdvancedSettingsContext&, CAdvancedSettingsValues&) {
  return false;
}

}  // namespace vyx
