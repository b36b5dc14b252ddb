// Loads user32 and waits until the Wine server ends it, so the Wine desktop stays up for every test program.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  GetDesktopWindow();
  Sleep(INFINITE);
  return 0;
}
