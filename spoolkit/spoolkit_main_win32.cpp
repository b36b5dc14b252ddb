// Entry point of the session helper library that the printer driver loads inside the spooler. The library keeps
// no state, so there is nothing to set up or tear down.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
