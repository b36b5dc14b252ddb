// Screenshots: the screen under a window copied with BitBlt (PrintWindow gives a blank image under Wine) and
// written as PNG.
#include <cstdio>
#include <vector>

#include "tests/support/png_writer.h"
#include "tests/support/ui_driver_win32.h"

namespace vyx::testing {

namespace {

BOOL CALLBACK FindUnpainted(HWND child, LPARAM found) {
  if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

bool NeedsPainting(HWND window) {
  bool found = GetUpdateRect(window, nullptr, FALSE) != FALSE;
  if (!found) EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

bool SaveWindowPng(HWND window, const std::wstring& path) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  // The program paints when its queue is otherwise empty, then hands the picture to the display as it waits.
  WaitUntil([window] { return !NeedsPainting(window); }, 1000);
  Sleep(50);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top row first, as PNG stores it
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::string png;
  if (dib && bits) {
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const std::uint8_t*>(bits);
    std::vector<std::uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
      rgb[i * 3] = bgrx[i * 4 + 2];
      rgb[i * 3 + 1] = bgrx[i * 4 + 1];
      rgb[i * 3 + 2] = bgrx[i * 4];
    }
    png = EncodePng(rgb.data(), static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h));
    SelectObject(memory, old);
  }
  if (dib) DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (png.empty()) return false;
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace vyx::testing
