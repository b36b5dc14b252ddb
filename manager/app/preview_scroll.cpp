// Scroll bar measures, scroll requests and the repaint timer rule of the preview.
#include "manager/app/preview_scroll.h"

#include <algorithm>

#include "manager/app/main_window_model.h"

namespace vyx {

namespace {

int ClampToRange(std::int64_t v, std::int64_t hi) {
  return static_cast<int>(std::clamp<std::int64_t>(v, 0, std::max<std::int64_t>(hi, 0)));
}

// The largest position a bar takes: the range's end less the page, as the system keeps it.
int LastPosition(const CScrollBarState& bar) {
  return std::max(0, bar.max - std::max(bar.page - 1, 0));
}

}  // namespace

CPreviewBars MeasureBars(const CPreviewLayout& layout, const CPreviewView& view) {
  CPreviewBars bars;
  CScrollBarState& v = bars.vertical;
  v.max = ClampToRange(layout.layoutLength, INT32_MAX);
  v.page = std::max(view.height, 0);
  v.visible = layout.layoutLength > view.height;
  v.enabled = v.visible;
  v.pos = ClampToRange(view.scrollY, LastPosition(v));
  CScrollBarState& h = bars.horizontal;
  h.max = kTapeWidthDots;
  h.page = std::max(view.width, 0);
  h.enabled = kTapeWidthDots > view.width;
  h.pos = ClampToRange(view.scrollX, LastPosition(h));
  return bars;
}

int ScrollTo(const CScrollBarState& bar, int request, std::int64_t thumb) {
  std::int64_t pos = bar.pos;
  switch (request) {
    case kScrollLineUp:
      pos -= 1;
      break;
    case kScrollLineDown:
      pos += 1;
      break;
    case kScrollPageUp:
      pos -= bar.page;
      break;
    case kScrollPageDown:
      pos += bar.page;
      break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
      if (thumb < 0 || thumb > kMaxScrollValue) return bar.pos;
      pos = thumb;
      break;
    case kScrollTop:
      pos = 0;
      break;
    case kScrollBottom:
      pos = LastPosition(bar);
      break;
    default:
      return bar.pos;
  }
  return ClampToRange(pos, LastPosition(bar));
}

int WheelTo(const CScrollBarState& bar, int delta) {
  return ClampToRange(static_cast<std::int64_t>(bar.pos) - delta / 4, LastPosition(bar));
}

CRepaintTimerRule::EAnswer CRepaintTimerRule::Request(std::uint32_t nowMs, bool burst) {
  if (burst && m_pending && m_burst) {
    if (nowMs - m_burstStart >= kTimerResetWindowMs) return kOmitReset;
    return kSetTimer;
  }
  m_pending = true;
  m_burst = burst;
  m_burstStart = nowMs;
  return kSetTimer;
}

int CScrollEndDelay::After(int request) {
  if (request != kScrollEnd) {
    m_lineMoves = request == kScrollLineUp || request == kScrollLineDown;
    return kNoRepaint;
  }
  return m_lineMoves ? kRepaintLineScrollEnd : kRepaintNow;
}

}  // namespace vyx
