// The preview pane of the main window: painter threads, the off-screen picture, the bars and the timer.
#include "manager/app/preview_pane_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "manager/app/main_window_model.h"
#include "manager/app/progress_dlg_win32.h"
#include "manager/app/resource.h"

namespace vyx {

namespace {

constexpr UINT_PTR kFrameSubclass = 1060;

volatile LONG g_shown = 0;
volatile LONG g_running = 0;

std::uint32_t ToDib(ColorRef c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

ColorRef FromDib(std::uint32_t c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

LONG PreviewPaintingsShown() {
  return InterlockedCompareExchange(&g_shown, 0, 0);
}

LONG PreviewPaintersRunning() {
  return InterlockedCompareExchange(&g_running, 0, 0);
}

struct CPreviewPane::CPaintJob {
  CPreviewPane* pane = nullptr;
  CPreviewScene scene;
  CPreviewView view;
};

CPreviewPane::CPreviewPane(CDebugOutput& debug) : m_debug(debug) {
  InitializeCriticalSection(&m_shownLock);
}

CPreviewPane::~CPreviewPane() {
  Close();
  DeleteCriticalSection(&m_shownLock);
}

void CPreviewPane::Attach(HWND dialog) {
  m_dialog = dialog;
  m_frame = GetDlgItem(dialog, IDC_PREVIEW);
  m_vbar = GetDlgItem(dialog, IDC_PREVIEW_VSCROLL);
  m_hbar = GetDlgItem(dialog, IDC_PREVIEW_HSCROLL);
  if (m_frame) SetWindowSubclass(m_frame, FrameProc, kFrameSubclass, reinterpret_cast<DWORD_PTR>(this));
}

void CPreviewPane::Close() {
  if (m_dialog) KillTimer(m_dialog, kPreviewTimerId);
  if (m_open) {
    m_painters.WaitForAll();
    CloseHandle(m_abort);
    m_abort = nullptr;
    DeleteCriticalSection(&m_lock);
    m_open = false;
  }
  if (m_frame && IsWindow(m_frame)) RemoveWindowSubclass(m_frame, FrameProc, kFrameSubclass);
  m_frame = nullptr;
}

void CPreviewPane::Schedule(int delayMs, bool burst) {
  if (!m_dialog) return;
  if (m_timer.Request(GetTickCount(), burst) == CRepaintTimerRule::kOmitReset) {
    m_debug.Print(L"Omitted timer reset\n");
    return;
  }
  SetTimer(m_dialog, kPreviewTimerId, static_cast<UINT>(std::max(delayMs, static_cast<int>(USER_TIMER_MINIMUM))),
           nullptr);
}

void CPreviewPane::TimerFired() {
  KillTimer(m_dialog, kPreviewTimerId);
  m_timer.Fired();
}

CPreviewView CPreviewPane::View() const {
  const SIZE size = m_frame ? ClientSize(m_frame) : SIZE{0, 0};
  return {static_cast<int>(size.cx), static_cast<int>(size.cy), m_bars.horizontal.pos, m_bars.vertical.pos};
}

void CPreviewPane::SetBars(const CPreviewBars& bars) {
  m_bars = bars;
  const auto set = [](HWND bar, const CScrollBarState& s) {
    if (!bar) return;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, s.max, static_cast<UINT>(s.page), s.pos, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    EnableWindow(bar, s.enabled);
  };
  set(m_vbar, bars.vertical);
  set(m_hbar, bars.horizontal);
  if (m_vbar) ShowWindow(m_vbar, bars.vertical.visible ? SW_SHOWNA : SW_HIDE);
}

void CPreviewPane::Start(const CPreviewScene& scene) {
  if (!m_frame) return;
  if (!m_open) {
    InitializeCriticalSectionAndSpinCount(&m_lock, 1024);
    m_abort = CreateEventW(nullptr, TRUE, FALSE, kAbortPaintEventName);
    m_open = true;
  }
  m_layout = scene.layout;
  m_hasLayout = true;
  SetBars(MeasureBars(m_layout, View()));
  auto job = std::make_unique<CPaintJob>();
  job->pane = this;
  job->scene = scene;
  job->view = View();
  m_painters.Start([&job] {
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, PaintThread, job.get(), 0, &id);
    if (!thread) return CPaintPreviewThread{};
    job.release();  // the thread owns it now
    return CPaintPreviewThread{thread, id};
  });
}

void CPreviewPane::StopPainters() {
  if (m_open) m_painters.WaitForOlderPainters(0, 0);
}

DWORD WINAPI CPreviewPane::PaintThread(void* param) {
  InterlockedIncrement(&g_running);
  {
    const std::unique_ptr<CPaintJob> job(static_cast<CPaintJob*>(param));
    job->pane->Paint(*job);
  }
  InterlockedDecrement(&g_running);
  return 0;
}

void CPreviewPane::Paint(const CPaintJob& job) {
  if (m_painters.WaitForOlderPainters(1, GetCurrentThreadId()) != kPaintGoAhead) return;
  const CPreviewView& view = job.view;
  if (view.width < 1 || view.height < 1) return;
  CRasterCanvas canvas(view.width, view.height, kPreviewGrey);
  HANDLE abort = m_abort;
  const int result =
      PaintPreview(canvas, job.scene, view, [abort] { return WaitForSingleObject(abort, 0) == WAIT_OBJECT_0; });
  if (result != kPaintGoAhead) return;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(view.width) * static_cast<std::size_t>(view.height));
  for (int y = 0; y < view.height; ++y) {
    const ColorRef* row = canvas.Row(y);
    std::uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(view.width);
    for (int x = 0; x < view.width; ++x) out[x] = ToDib(row[x]);
  }
  EnterCriticalSection(&m_shownLock);
  m_shown.swap(pixels);
  m_shownView = view;
  m_shownGeometry = MeasurePreview(job.scene.layout, view);
  m_shownPending = true;
  LeaveCriticalSection(&m_shownLock);
  // The frame's own thread copies the whole picture in one go: what other threads draw into a window does not
  // always reach the screen under Wine, and the window's thread may be waiting for this one.
  InvalidateRect(m_frame, nullptr, FALSE);
}

void CPreviewPane::Show(HDC dc) {
  const SIZE size = ClientSize(m_frame);
  EnterCriticalSection(&m_shownLock);
  const int w = m_shownView.width, h = m_shownView.height;
  if (!m_shown.empty()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, 0, 0, w, h, 0, 0, w, h, m_shown.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  }
  const bool first = m_shownPending;
  m_shownPending = false;
  LeaveCriticalSection(&m_shownLock);
  if (first) {
    GdiFlush();
    InterlockedIncrement(&m_paints);
    InterlockedIncrement(&g_shown);
  }
  // What the last painting did not cover (none yet, or the frame grew since) is grey until the next one.
  HBRUSH grey = CreateSolidBrush(kPreviewGrey);
  const RECT right{m_shown.empty() ? 0 : w, 0, size.cx, size.cy};
  const RECT below{0, m_shown.empty() ? 0 : h, m_shown.empty() ? size.cx : w, size.cy};
  if (right.left < right.right) FillRect(dc, &right, grey);
  if (below.top < below.bottom) FillRect(dc, &below, grey);
  DeleteObject(grey);
}

LRESULT CALLBACK
CPreviewPane::FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* pane = reinterpret_cast<CPreviewPane*>(data);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (HDC dc = BeginPaint(window, &ps)) {
        pane->Show(dc);
        EndPaint(window, &ps);
      }
      return 0;
    }
    default:
      return DefSubclassProc(window, message, wparam, lparam);
  }
}

bool CPreviewPane::OnScroll(HWND bar, int request) {
  const bool vertical = bar == m_vbar && m_vbar;
  if (!vertical && !(bar == m_hbar && m_hbar)) return false;
  CScrollBarState& state = vertical ? m_bars.vertical : m_bars.horizontal;
  SCROLLINFO si{sizeof si, SIF_ALL};
  GetScrollInfo(bar, SB_CTL, &si);
  const int pos = ScrollTo(state, request, si.nTrackPos);
  if (pos != state.pos) {
    state.pos = pos;
    SetScrollPos(bar, SB_CTL, pos, TRUE);
  }
  const int delay = (vertical ? m_vEnd : m_hEnd).After(request);
  if (delay != kNoRepaint) Schedule(delay, delay == kRepaintLineScrollEnd);
  return true;
}

void CPreviewPane::OnWheel(int delta) {
  if (!m_hasLayout || !m_bars.vertical.visible) return;
  const int pos = WheelTo(m_bars.vertical, delta);
  if (pos == m_bars.vertical.pos) return;
  m_bars.vertical.pos = pos;
  SetScrollPos(m_vbar, SB_CTL, pos, TRUE);
  Schedule(kRepaintWheel, true);
}

std::int64_t CPreviewPane::ColourAt(POINT p) const {
  EnterCriticalSection(&m_shownLock);
  std::int64_t colour = -1;
  if (!m_shown.empty() && p.x >= 0 && p.y >= 0 && p.x < m_shownView.width && p.y < m_shownView.height &&
      m_shownGeometry.InsideLayout(p.x, p.y))
    colour = FromDib(m_shown[static_cast<std::size_t>(p.y) * static_cast<std::size_t>(m_shownView.width) +
                             static_cast<std::size_t>(p.x)]);
  LeaveCriticalSection(&m_shownLock);
  return colour;
}

}  // namespace vyx
