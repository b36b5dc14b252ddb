// Debugger output seam: developer notes only (OutputDebugStringW on Windows, a list in tests).
#pragma once

#include <string>
#include <vector>

namespace vyx {

class CDebugOutput {
 public:
  virtual ~CDebugOutput() = default;
  virtual void Print(const std::wstring& text) = 0;
};

// Discards everything: the default where nobody listens.
class CNullDebugOutput : public CDebugOutput {
 public:
  void Print(const std::wstring&) override {}
};

class CCollectingDebugOutput : public CDebugOutput {
 public:
  void Print(const std::wstring& text) override { lines.push_back(text); }
  std::vector<std::wstring> lines;
};

}  // namespace vyx
