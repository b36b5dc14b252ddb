// The preview's scroll bars and repaint timing without the window: bar ranges and pages from the layout and the
// frame, the scroll and wheel requests, and when a request may move the repaint timer again.
#pragma once

#include <cstdint>

#include "manager/app/preview_painter.h"

namespace vyx {

// Repaint delays of timer 234, in ms.
inline constexpr int kRepaintFirstReduced = 200;  // first paint when the window had to be reduced
inline constexpr int kRepaintWheel = 150;
inline constexpr int kRepaintLineScrollEnd = 200;
inline constexpr int kRepaintResize = 150;
// Wheel and line events within this time of the first one of a burst move the timer again; later ones do not.
inline constexpr std::uint32_t kTimerResetWindowMs = 500;
// Scroll bar values beyond this are not taken from the bar's information.
inline constexpr std::int64_t kMaxScrollValue = 1000000;

struct CScrollBarState {
  int max = 0;  // the range is 0 to max
  int page = 0;
  int pos = 0;
  bool visible = true;  // hidden bars are not shown at all
  bool enabled = true;  // a bar that is not needed is disabled rather than removed
  bool operator==(const CScrollBarState&) const = default;
};

struct CPreviewBars {
  CScrollBarState vertical, horizontal;
};

// The bars for the layout in a frame of `view`'s size, keeping the positions of `view` within their ranges.
CPreviewBars MeasureBars(const CPreviewLayout& layout, const CPreviewView& view);

// Scroll bar requests, as the bars send them.
enum EScrollRequest : int {
  kScrollLineUp = 0,
  kScrollLineDown = 1,
  kScrollPageUp = 2,
  kScrollPageDown = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollTop = 6,
  kScrollBottom = 7,
  kScrollEnd = 8,
};

// The new position of a bar after a request (`thumb` is the bar's track position); values outside 0 to 1000000
// leave the position as it is.
int ScrollTo(const CScrollBarState& bar, int request, std::int64_t thumb);
// The vertical position after a wheel turn of `delta` (a notch is 120): -delta / 4 dots, within the bar's range.
int WheelTo(const CScrollBarState& bar, int delta);

// When timer 234 is set again. Settings changes, resizes and the like always set it; wheel and line events of a
// burst move it only within 500 ms of the burst's first event, so that steady scrolling still paints.
class CRepaintTimerRule {
 public:
  enum EAnswer : int { kSetTimer, kOmitReset };
  // A repaint request at `nowMs`; `burst` for wheel and line events.
  EAnswer Request(std::uint32_t nowMs, bool burst);
  // The timer fired (or was stopped): the next event starts a new burst.
  void Fired() { m_pending = false; }
  bool Pending() const { return m_pending; }

 private:
  bool m_pending = false;
  bool m_burst = false;
  std::uint32_t m_burstStart = 0;
};

// The delay after a scroll bar request: line moves wait until the drag ends and then 200 ms, the rest paints at
// once when the drag ends; none while it goes on (-1).
class CScrollEndDelay {
 public:
  int After(int request);

 private:
  bool m_lineMoves = false;
};

}  // namespace vyx
