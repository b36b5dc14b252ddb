// OutputDebugStringW behind the debugger output seam.
#include "common/seams/debug_output_win32.h"

#include <windows.h>

namespace vyx {

void CWin32DebugOutput::Print(const std::wstring& text) {
  OutputDebugStringW(text.c_str());
}

}  // namespace vyx
