// Measures of one bitmap field used by the colour consolidation: density, window density, stroke count, the
// line-like, pattern and solid-block tests and the largest solid square.
#pragma once

#include <cstdint>

#include "manager/model/bitmap_field.h"

namespace vyx {

// The stroke count limit that means "count in full".
inline constexpr std::int32_t kStrokeLimitFull = 2147483647;

// Results of the pattern and solid-block tests.
enum : int { kPatternDense = 1, kPatternTint = 0, kPatternNeither = -2 };
enum : int { kSolidBlockFound = 1, kSolidBlockNone = -2 };

// Pixel count / ink box area; -1 when the area is 0.
double Density(const CGraphicField& f);

// Set pixels inside r / area of r; -1 unless r lies wholly inside the field extent, -1 for area 0.
double WindowDensity(const CGraphicField& f, const CDotRect& r);
double WindowDensity(const CGraphicField& f,
                     std::int64_t left,
                     std::int64_t top,
                     std::int64_t right,
                     std::int64_t bottom);

// Stroke count over the ink box with the rows pass and the columns pass; stops as soon as `limit` is reached
// (a limit below 1 counts as 1). The result and the limit are stored in the field; a stored result is reused when
// its limit is at least the one asked for.
std::int32_t StrokeCount(CGraphicField& f, std::int32_t limit);

// Line-like test from a stroke count, the pixel count and the ink box sides.
bool IsLineLike(const CGraphicField& f, std::int32_t strokes);

// 1 dense, 0 uniform tint, -2 neither.
int PatternTest(const CGraphicField& f);

// 1 when a 6 x 6 window of the cell grid is more than 0.83334 set, else -2.
int SolidBlockTest(const CGraphicField& f);

// Side of the largest solid square (search ends at side 6), stored in f.largestSolidSquare; 0 without set pixels.
int LargestSolidSquare(CGraphicField& f);

}  // namespace vyx
