// GDI implementation of the drawing canvas: draws on a device context (preview window, memory bitmap, printer).
#pragma once

#include <windows.h>

#include "common/seams/draw_canvas.h"

namespace vyx {

class CGdiCanvas : public CDrawCanvas {
 public:
  explicit CGdiCanvas(HDC dc) : m_dc(dc) {}
  ~CGdiCanvas() override;
  CGdiCanvas(const CGdiCanvas&) = delete;
  CGdiCanvas& operator=(const CGdiCanvas&) = delete;

  void SetPixel(int x, int y, ColorRef color) override;
  void SelectPen(ColorRef color, int width) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;

 private:
  HDC m_dc;
  HPEN m_pen = nullptr;
  HGDIOBJ m_oldPen = nullptr;
};

}  // namespace vyx
