// The main window's size rules and control layout without the window: the first size reduced to the work area, the
// preview frame and its scroll bars following the lower and right edges, and the upper controls scaling with the
// width.
#pragma once

#include <vector>

#include "manager/app/resource.h"

namespace vyx {

inline constexpr int kFirstWindowWidth = 1290;
inline constexpr int kFirstWindowHeight = 1019;
inline constexpr int kMinWindowHeight = 480;

struct CPixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const CPixelRect&) const = default;
};

// The first size within the work area; `reduced` when it did not fit.
struct CFirstSize {
  int width = kFirstWindowWidth;
  int height = kFirstWindowHeight;
  bool reduced = false;
};
CFirstSize FitFirstSize(int workWidth, int workHeight);

struct CPlacedControl {
  int id = 0;
  CPixelRect rect;
  bool visible = true;
};

class CMainWindowLayout {
 public:
  // The controls as the dialog template places them in a client area of `width` x `height` pixels.
  CMainWindowLayout(int width, int height, std::vector<CPlacedControl> controls);

  // Every control for a client area of `width` x `height`. The preview frame, its scroll bars and nothing else
  // follow the lower edge; the frame is hidden behind no bar once it is as wide as the tape.
  std::vector<CPlacedControl> LayOut(int width, int height) const;
  // Just the preview frame's rectangle.
  CPixelRect Frame(int width, int height) const;

 private:
  const CPlacedControl* Find(int id) const;

  int m_width, m_height;
  std::vector<CPlacedControl> m_controls;
};

}  // namespace vyx
