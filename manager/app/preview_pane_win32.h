// The label preview in the main window: frame 1060 with its scroll bars 1061 and 1084, painter threads drawing
// into an off-screen bitmap that is copied to the frame at once, the abort event and the painter list, the
// repaint timer 234, scrolling, the wheel and the colour under a click.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "common/seams/debug_output.h"
#include "manager/app/painter_sync.h"
#include "manager/app/preview_painter.h"
#include "manager/app/preview_scroll.h"

namespace vyx {

inline constexpr UINT_PTR kPreviewTimerId = 234;

// Paintings that reached the screen and painter threads not yet ended, over every pane of the process.
LONG PreviewPaintingsShown();
LONG PreviewPaintersRunning();

class CPreviewPane : private CPainterPlatform {
 public:
  explicit CPreviewPane(CDebugOutput& debug);
  ~CPreviewPane() override;
  CPreviewPane(const CPreviewPane&) = delete;
  CPreviewPane& operator=(const CPreviewPane&) = delete;

  // Takes the frame and its bars from the dialog and starts drawing the frame from the last painting.
  void Attach(HWND dialog);
  // At closing: waits for every painter, then closes the abort event and the lock.
  void Close();

  // Timer 234: a repaint after `delayMs` (0 at once); wheel and line events are a burst (see CRepaintTimerRule).
  void Schedule(int delayMs, bool burst = false);
  // The timer fired: it is stopped; the caller starts a painting.
  void TimerFired();
  // A painting of `scene` as the frame shows it now; the bars are set first. The first call creates the abort event
  // and the lock.
  void Start(const CPreviewScene& scene);
  // Stops every running painter and waits until it has ended: no painter reads the job after this returns, until
  // the next Start.
  void StopPainters();

  // WM_VSCROLL / WM_HSCROLL from one of the bars; whether it was one of them.
  bool OnScroll(HWND bar, int request);
  // A wheel turn over the frame.
  void OnWheel(int delta);
  // The colour the frame shows at a point of its client area, or -1 outside the laid-out labels or before the first
  // painting.
  std::int64_t ColourAt(POINT frameClientPoint) const;

  HWND Frame() const { return m_frame; }
  // Paintings that reached the screen.
  LONG Paints() const { return m_paints; }
  CPreviewView View() const;

 private:
  struct CPaintJob;
  static DWORD WINAPI PaintThread(void* param);
  static LRESULT CALLBACK FrameProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void Paint(const CPaintJob& job);
  void Show(HDC dc);
  void SetBars(const CPreviewBars& bars);

  // CPainterPlatform
  void Lock() override { EnterCriticalSection(&m_lock); }
  void Unlock() override { LeaveCriticalSection(&m_lock); }
  void SetAbort() override { SetEvent(m_abort); }
  void ResetAbort() override { ResetEvent(m_abort); }
  bool HasEnded(void* thread) override { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }
  void CloseThread(void* thread) override { CloseHandle(thread); }
  void YieldTimeSlice() override { Sleep(0); }

  CDebugOutput& m_debug;
  HWND m_dialog = nullptr, m_frame = nullptr, m_vbar = nullptr, m_hbar = nullptr;
  bool m_open = false;
  CRITICAL_SECTION m_lock{};
  HANDLE m_abort = nullptr;
  CPainterList m_painters{*this};

  CRepaintTimerRule m_timer;
  CScrollEndDelay m_vEnd, m_hEnd;
  CPreviewLayout m_layout;  // of the last painting asked for
  CPreviewBars m_bars;
  bool m_hasLayout = false;

  // The last painting that reached the screen, as 32-bit BGR rows, and the view it was made for.
  mutable CRITICAL_SECTION m_shownLock{};
  std::vector<std::uint32_t> m_shown;
  CPreviewView m_shownView;
  CPreviewGeometry m_shownGeometry;
  bool m_shownPending = false;  // a painting not yet copied to the frame
  volatile LONG m_paints = 0;
};

}  // namespace vyx
