// The main window's layout rules.
#include "manager/app/main_window_layout.h"

#include <algorithm>

#include "manager/model/qzpl_obj.h"

namespace vyx {

CFirstSize FitFirstSize(int workWidth, int workHeight) {
  CFirstSize size;
  if (workWidth > 0 && workWidth < size.width) size.width = workWidth, size.reduced = true;
  if (workHeight > 0 && workHeight < size.height) size.height = workHeight, size.reduced = true;
  return size;
}

CMainWindowLayout::CMainWindowLayout(int width, int height, std::vector<CPlacedControl> controls)
    : m_width(std::max(width, 1)), m_height(std::max(height, 1)), m_controls(std::move(controls)) {}

const CPlacedControl* CMainWindowLayout::Find(int id) const {
  for (const CPlacedControl& c : m_controls)
    if (c.id == id) return &c;
  return nullptr;
}

std::vector<CPlacedControl> CMainWindowLayout::LayOut(int width, int height) const {
  std::vector<CPlacedControl> out;
  const CPlacedControl* frame = Find(IDC_PREVIEW);
  const CPlacedControl* vbar = Find(IDC_PREVIEW_VSCROLL);
  const CPlacedControl* hbar = Find(IDC_PREVIEW_HSCROLL);
  // Distances kept to the right and lower edges.
  const int dx = width - m_width, dy = height - m_height;
  CPixelRect frameRect;
  bool hbarVisible = true;
  if (frame) {
    frameRect = frame->rect;
    frameRect.right = std::max(frameRect.left, frameRect.right + dx);
    frameRect.bottom = std::max(frameRect.top, frameRect.bottom + dy);
    hbarVisible = frameRect.Width() < kTapeWidthDots;
    if (!hbarVisible && hbar) frameRect.bottom = std::max(frameRect.top, hbar->rect.bottom + dy);
  }
  for (const CPlacedControl& c : m_controls) {
    CPlacedControl placed = c;
    if (&c == frame) {
      placed.rect = frameRect;
    } else if (&c == vbar) {
      placed.rect = {c.rect.left + dx, frameRect.top, c.rect.right + dx, frameRect.bottom};
    } else if (&c == hbar) {
      placed.rect = {frameRect.left, c.rect.top + dy, frameRect.right, c.rect.bottom + dy};
      placed.visible = c.visible && hbarVisible;
    } else {
      // Upper controls keep their relative places across the width and their heights.
      const auto scale = [&](int x) { return static_cast<int>(static_cast<long long>(x) * width / m_width); };
      placed.rect.left = scale(c.rect.left);
      placed.rect.right = scale(c.rect.right);
    }
    out.push_back(placed);
  }
  return out;
}

CPixelRect CMainWindowLayout::Frame(int width, int height) const {
  for (const CPlacedControl& c : LayOut(width, height))
    if (c.id == IDC_PREVIEW) return c.rect;
  return {};
}

}  // namespace vyx
