// CProgressDlg: the modeless start-up progress window (dialog 104) with its Abort button.
#pragma once

#include <windows.h>

#include "common/seams/progress_sink.h"

namespace vyx {

class CLanguageHolder;

// Set when the user aborts; the preview painters watch it.
inline constexpr wchar_t kAbortPaintEventName[] = L"AbortPaintPreviewEvent";

class CProgressDlg : public CProgressSink {
 public:
  CProgressDlg() = default;
  ~CProgressDlg() override { Destroy(); }
  CProgressDlg(const CProgressDlg&) = delete;
  CProgressDlg& operator=(const CProgressDlg&) = delete;

  // Creates and shows the window without a parent. The Abort button is disabled on the process's first showing,
  // when nothing could be aborted yet, and enabled on every later one.
  bool Create(HINSTANCE instance, CLanguageHolder* language);
  void Destroy();
  HWND Window() const { return m_window; }

  void SetRange(int low, int high) override;
  void SetPos(int pos) override;
  void StepIt() override;
  void SetStep(int step) override;

  static int ShowingsSoFar();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // The work runs without a message loop: let the window paint between updates.
  void Pump();

  HWND m_window = nullptr;
  HWND m_bar = nullptr;
};

}  // namespace vyx
