// Raster canvas: the native drawing target for tests and the command-line tool.
#include "common/seams/draw_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace vyx {

void CDrawCanvas::FillRect(int left, int top, int right, int bottom, ColorRef color) {
  if (right <= left || bottom <= top) return;
  SelectPen(color, 1);
  for (int y = top; y < bottom; ++y) {
    MoveTo(left, y);
    LineTo(right, y);
  }
}

void CRasterCanvas::FillRect(int left, int top, int right, int bottom, ColorRef color) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, m_width);
  bottom = std::min(bottom, m_height);
  if (right <= left || bottom <= top) return;
  for (int y = top; y < bottom; ++y) {
    ColorRef* row = m_pixels.data() + static_cast<std::size_t>(y) * Stride();
    std::fill(row + left, row + right, color);
  }
}

CRasterCanvas::CRasterCanvas(int width, int height, ColorRef background)
    : m_width(width > 0 ? width : 0),
      m_height(height > 0 ? height : 0),
      m_background(background),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), background) {}

void CRasterCanvas::SetPixel(int x, int y, ColorRef color) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = color;
}

ColorRef CRasterCanvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return m_background;
  return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

std::size_t CRasterCanvas::CountInk() const {
  std::size_t n = 0;
  for (ColorRef c : m_pixels) n += c != m_background;
  return n;
}

void CRasterCanvas::SelectPen(ColorRef color, int width) {
  m_pen = color;
  m_penWidth = width < 1 ? 1 : width;
}

void CRasterCanvas::MoveTo(int x, int y) {
  m_x = x;
  m_y = y;
}

void CRasterCanvas::Plot(int x, int y) {
  const int lo = -(m_penWidth - 1) / 2;
  for (int dy = lo; dy < lo + m_penWidth; ++dy)
    for (int dx = lo; dx < lo + m_penWidth; ++dx) SetPixel(x + dx, y + dy, m_pen);
}

namespace {

// Liang-Barsky clip of the segment to [lo, hi] on both axes; false when nothing is left.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double lo, double hiX, double hiY) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - lo, hiX - x0, y0 - lo, hiY - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const double ox = x0, oy = y0;
  x0 = ox + t0 * dx;
  y0 = oy + t0 * dy;
  x1 = ox + t1 * dx;
  y1 = oy + t1 * dy;
  return true;
}

}  // namespace

void CRasterCanvas::LineTo(int x, int y) {
  double fx0 = m_x, fy0 = m_y, fx1 = x, fy1 = y;
  const double margin = m_penWidth + 1.0;
  const bool clipped = !(fx0 >= -margin && fy0 >= -margin && fx0 < m_width + margin && fy0 < m_height + margin &&
                         fx1 >= -margin && fy1 >= -margin && fx1 < m_width + margin && fy1 < m_height + margin);
  const bool visible = !clipped || ClipSegment(fx0, fy0, fx1, fy1, -margin, m_width + margin, m_height + margin);
  m_x = x;
  m_y = y;
  if (!visible) return;
  // Bresenham over the visible part; the end point is left out only where the real line ends.
  long long x0 = static_cast<long long>(fx0), y0 = static_cast<long long>(fy0);
  const long long x1 = static_cast<long long>(fx1), y1 = static_cast<long long>(fy1);
  const long long dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  long long err = dx + dy;
  long long steps = (dx > -dy ? dx : -dy) + (clipped ? 1 : 0);
  while (steps-- > 0) {
    Plot(static_cast<int>(x0), static_cast<int>(y0));
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

}  // namespace vyx
