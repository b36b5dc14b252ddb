// The screenshot PNG writer: libpng must read back exactly the pixels written, whatever the image holds.
#include <png.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/png_writer.h"

namespace vyx::testing {
namespace {

std::vector<std::uint8_t> Image(std::uint32_t w, std::uint32_t h, const std::function<std::uint8_t(std::size_t)>& at) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = at(i);
  return rgb;
}

struct CPngCase {
  const char* name;
  std::uint32_t width, height;
  std::function<std::uint8_t(std::size_t)> at;
};

TEST(PngWriter, LibpngReadsBackEveryPixel) {
  std::uint32_t seed = 12345;
  const CPngCase cases[] = {
      {"one pixel", 1, 1, [](std::size_t) { return std::uint8_t{200}; }},
      {"flat dialog grey", 300, 200, [](std::size_t) { return std::uint8_t{0xF0}; }},
      {"vertical stripes", 257, 31, [](std::size_t i) { return static_cast<std::uint8_t>((i / 3) % 7 * 30); }},
      {"runs longer than one match", 1000, 3,
       [](std::size_t i) { return static_cast<std::uint8_t>(i < 2000 ? 0 : 9); }},
      {"noise", 97, 41,
       [&seed](std::size_t) {
         seed = seed * 1103515245u + 12345u;
         return static_cast<std::uint8_t>(seed >> 16);
       }},
  };
  for (const CPngCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> rgb = Image(c.width, c.height, c.at);
    const std::string png = EncodePng(rgb.data(), c.width, c.height);
    ASSERT_FALSE(png.empty());
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size())) << image.message;
    EXPECT_EQ(c.width, image.width);
    EXPECT_EQ(c.height, image.height);
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> decoded(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr)) << image.message;
    EXPECT_TRUE(decoded == rgb);
  }
}

TEST(PngWriter, FlatScreenAreasShrink) {
  const std::vector<std::uint8_t> rgb =
      Image(640, 480, [](std::size_t i) { return static_cast<std::uint8_t>(i % 3 * 80); });
  EXPECT_LT(EncodePng(rgb.data(), 640, 480).size(), rgb.size() / 50);
}

TEST(PngWriter, EmptyOrHugeImagesGiveNothing) {
  const std::uint8_t pixel[3] = {1, 2, 3};
  EXPECT_TRUE(EncodePng(pixel, 0, 1).empty());
  EXPECT_TRUE(EncodePng(nullptr, 1, 1).empty());
  EXPECT_TRUE(EncodePng(pixel, 1u << 16, 1u << 16).empty());
}

}  // namespace
}  // namespace vyx::testing
