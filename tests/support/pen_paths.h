// Pen paths for tests and benchmarks of the cut collection: open or closed strokes, bars and zigzag bands, in
// quarter dots.
#pragma once

#include <string>
#include <vector>

#include "manager/model/pen_commands.h"

namespace vyx::testing {

// Pen up, a move to the first point, pen down, a move to each further point, pen up.
inline std::string PenPathText(const std::vector<CQuarterPoint>& points) {
  std::string text = "^RPU\r\n";
  for (std::size_t i = 0; i < points.size(); ++i) {
    text += "^RPM" + std::to_string(points[i].x) + "," + std::to_string(points[i].y) + "\r\n";
    if (i == 0) text += "^RPD\r\n";
  }
  return text + "^RPU\r\n";
}

// A closed rectangle (a side bar or a corner piece).
inline std::string BarPath(int x0, int y0, int x1, int y1) {
  return PenPathText({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}});
}

// A closed 27-point zigzag between the corners of the box: the shape an ellipse's quarter arc is drawn with.
inline std::string BandPath(int x0, int y0, int x1, int y1) {
  std::vector<CQuarterPoint> points{{x0, y0}};
  for (int i = 1; i < 26; ++i) points.push_back(i % 2 != 0 ? CQuarterPoint{x1, y1} : CQuarterPoint{x0, y1});
  points.push_back({x0, y0});
  return PenPathText(points);
}

}  // namespace vyx::testing
