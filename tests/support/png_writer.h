// PNG files of 8-bit RGB images, deflated with a small run-length coder: enough for screenshots, no zlib needed.
#pragma once

#include <cstdint>
#include <string>

namespace vyx::testing {

// `rgb` holds `height` rows of `width` pixels, three bytes each (red, green, blue), top row first. Returns the
// bytes of the file, or an empty string for an empty image or one of more than `kMaxPixels` pixels.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;
std::string EncodePng(const std::uint8_t* rgb, std::uint32_t width, std::uint32_t height);

}  // namespace vyx::testing
