// Entry point of VyxSetup, the setup wizard.
#include <windows.h>

#include "setup/wizard_sheet_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  vyx::CVYXSetupApp app(instance);
  return app.Run();
}
