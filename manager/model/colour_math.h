// Colour arithmetic of the colour consolidation: the purified colour (grey share taken out), the colour angle and
// the distance between two colours as RGB vectors.
#pragma once

#include "common/seams/draw_canvas.h"

namespace vyx {

// Default of the catalogue setting GrayExcerptPercent (section Palette).
inline constexpr int kDefaultGrayExcerptPercent = 50;
// Default of the catalogue setting ColorAngleWeight (section Palette).
inline constexpr int kDefaultColorAngleWeight = 100;

// Takes `grayExcerptPercent` of the smallest channel out of every channel and scales the rest back towards the
// input's length (at most until a channel reaches 255). Channels end up within 0..255 whatever the percentage.
ColorRef PurifiedColour(ColorRef rgb, int grayExcerptPercent = kDefaultGrayExcerptPercent);

// Angle in radians between two colours as RGB vectors; black counts as white; 0 when the cosine exceeds 0.9999.
double ColourAngle(ColorRef a, ColorRef b);

// Euclidean distance between two colours as RGB vectors (at most sqrt(3) x 255).
double ColourDistance(ColorRef a, ColorRef b);

// 0.299 R + 0.587 G + 0.114 B.
double ColourBrightness(ColorRef rgb);

}  // namespace vyx
