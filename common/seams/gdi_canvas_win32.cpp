// GDI canvas: the pen is created once per colour change and the device context gets its old pen back at the end.
#include "common/seams/gdi_canvas_win32.h"

namespace vyx {

CGdiCanvas::~CGdiCanvas() {
  if (m_oldPen) SelectObject(m_dc, m_oldPen);
  if (m_pen) DeleteObject(m_pen);
}

void CGdiCanvas::SetPixel(int x, int y, ColorRef color) {
  ::SetPixelV(m_dc, x, y, color);
}

void CGdiCanvas::SelectPen(ColorRef color, int width) {
  HPEN pen = CreatePen(PS_SOLID, width < 1 ? 1 : width, color);
  if (!pen) return;
  HGDIOBJ previous = SelectObject(m_dc, pen);
  if (!m_oldPen) m_oldPen = previous;
  if (m_pen) DeleteObject(m_pen);
  m_pen = pen;
}

void CGdiCanvas::MoveTo(int x, int y) {
  MoveToEx(m_dc, x, y, nullptr);
}

void CGdiCanvas::LineTo(int x, int y) {
  ::LineTo(m_dc, x, y);
}

}  // namespace vyx
