// Shows one message box and exits with the button pressed: the UI robot's own test subject.
//   vyx_msgbox_probe CAPTION TEXT STYLE
#include <windows.h>

#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 100;
  return MessageBoxW(nullptr, argv[2], argv[1], static_cast<UINT>(_wtoi(argv[3])));
}
