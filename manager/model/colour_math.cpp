// Colour arithmetic of the colour consolidation.
#include "manager/model/colour_math.h"

#include <algorithm>
#include <cmath>

namespace vyx {

namespace {

struct CRgb {
  double r, g, b;
};

CRgb Channels(ColorRef c) {
  return {static_cast<double>(c & 0xFF), static_cast<double>((c >> 8) & 0xFF), static_cast<double>((c >> 16) & 0xFF)};
}

double Length(const CRgb& c) {
  return std::sqrt(c.r * c.r + c.g * c.g + c.b * c.b);
}

unsigned RoundChannel(double v) {
  const double t = std::trunc(v + 0.49);
  return static_cast<unsigned>(std::clamp(t, 0.0, 255.0));
}

}  // namespace

ColorRef PurifiedColour(ColorRef rgb, int grayExcerptPercent) {
  const CRgb in = Channels(rgb);
  const double k = std::trunc(std::min({in.r, in.g, in.b}) * grayExcerptPercent / 100.0 + 0.49);
  const CRgb rest{in.r - k, in.g - k, in.b - k};
  const double restLength = Length(rest);
  if (restLength < 0.0001) return rgb;
  double scale = Length(in) / restLength;
  const double top = std::max({rest.r, rest.g, rest.b});
  // A percentage above 100 can leave no positive channel; then only the length decides.
  if (top > 0) scale = std::min(scale, 255.0 / top);
  return MakeRgb(RoundChannel(rest.r * scale), RoundChannel(rest.g * scale), RoundChannel(rest.b * scale));
}

double ColourAngle(ColorRef a, ColorRef b) {
  // Only the channels count: a value whose channels are all 0 is black, whatever its high byte holds.
  CRgb x = Channels(a), y = Channels(b);
  if (Length(x) == 0) x = {255, 255, 255};
  if (Length(y) == 0) y = {255, 255, 255};
  const double cosine = (x.r * y.r + x.g * y.g + x.b * y.b) / (Length(x) * Length(y));
  if (cosine > 0.9999) return 0;
  return std::acos(std::clamp(cosine, -1.0, 1.0));
}

double ColourDistance(ColorRef a, ColorRef b) {
  const CRgb x = Channels(a), y = Channels(b);
  return Length({x.r - y.r, x.g - y.g, x.b - y.b});
}

double ColourBrightness(ColorRef rgb) {
  const CRgb c = Channels(rgb);
  return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

}  // namespace vyx
