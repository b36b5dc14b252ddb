// The debugger output seam on Windows.
#pragma once

#include "common/seams/debug_output.h"

namespace vyx {

class CWin32DebugOutput : public CDebugOutput {
 public:
  void Print(const std::wstring& text) override;
};

}  // namespace vyx
