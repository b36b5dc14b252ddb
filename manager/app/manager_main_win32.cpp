// Entry point of VyxQ5Manager: one process per print job.
#include <windows.h>

#include "manager/app/startup_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  vyx::CVyxQ5ManagerApp app(instance);
  return app.InitInstance();
}
