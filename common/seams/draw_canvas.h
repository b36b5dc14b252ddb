// Drawing canvas seam for Draw: single pixels and pen lines in device units (GDI on Windows, a raster in tests).
#pragma once

#include <cstdint>
#include <vector>

namespace vyx {

using ColorRef = std::uint32_t;  // Windows RGB: red in the low byte.

constexpr ColorRef MakeRgb(unsigned r, unsigned g, unsigned b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

class CDrawCanvas {
 public:
  virtual ~CDrawCanvas() = default;
  virtual void SetPixel(int x, int y, ColorRef color) = 0;
  virtual void SelectPen(ColorRef color, int width) = 0;
  virtual void MoveTo(int x, int y) = 0;
  // Draws from the current position to (x, y), excluding the end point as GDI does, and moves there.
  virtual void LineTo(int x, int y) = 0;
  // Fills [left, right) x [top, bottom) with the colour. This version draws pen lines and leaves a pen of that
  // colour selected; canvases that can fill faster do so.
  virtual void FillRect(int left, int top, int right, int bottom, ColorRef color);
};

// A raster image in memory; pixels outside it are ignored. Pen width is honoured as a square brush.
class CRasterCanvas : public CDrawCanvas {
 public:
  CRasterCanvas(int width, int height, ColorRef background = MakeRgb(255, 255, 255));

  void SetPixel(int x, int y, ColorRef color) override;
  void SelectPen(ColorRef color, int width) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void FillRect(int left, int top, int right, int bottom, ColorRef color) override;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  ColorRef GetPixel(int x, int y) const;
  // Row y (0 to height - 1) of width pixels.
  const ColorRef* Row(int y) const { return m_pixels.data() + static_cast<std::size_t>(y) * Stride(); }
  // Pixels that differ from the background.
  std::size_t CountInk() const;

 private:
  void Plot(int x, int y);
  std::size_t Stride() const { return static_cast<std::size_t>(m_width); }

  int m_width;
  int m_height;
  ColorRef m_background;
  std::vector<ColorRef> m_pixels;
  ColorRef m_pen = 0;
  int m_penWidth = 1;
  int m_x = 0;
  int m_y = 0;
};

}  // namespace vyx
