// Progress seam: the progress window's bar and its Abort button (CProgressDlg on Windows, counters in tests).
#pragma once

namespace vyx {

class CProgressSink {
 public:
  virtual ~CProgressSink() = default;
  virtual void SetRange(int low, int high) = 0;
  virtual void SetPos(int pos) = 0;
  virtual void StepIt() = 0;
  virtual void SetStep(int step) = 0;
};

class CNullProgressSink : public CProgressSink {
 public:
  void SetRange(int, int) override {}
  void SetPos(int) override {}
  void StepIt() override {}
  void SetStep(int) override {}
};

}  // namespace vyx
