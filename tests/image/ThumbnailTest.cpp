// Thumbnails of pictures with extreme shapes: a row millions of pixels long shrunk to one
// pixel, a column into a box wider than it, and boxes of every odd size in between.
#include <gtest/gtest.h>

#include <string>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

// A plain white 1-bit picture as a packed PNM bitmap (0 bits are white).
std::string WhiteBitmap(uint32_t w, uint32_t h) {
  std::string file = "P4 " + std::to_string(w) + " " + std::to_string(h) + "\n";
  file.append(size_t((w + 7) / 8) * h, '\0');
  return file;
}

struct ShapeCase {
  uint32_t width, height, boxWidth, boxHeight;
  uint32_t expectWidth, expectHeight;
};

class ThumbnailShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ThumbnailShape, KeepsProportionsAndTheAverageColour) {
  const ShapeCase& c = GetParam();
  testsupport::TempDir dir;
  const std::string path = (dir / "p.pbm").string();
  testsupport::WriteFile(path, WhiteBitmap(c.width, c.height));
  CxImage img;
  ASSERT_TRUE(img.LoadThumbnail(path, CXIMAGE_FORMAT_PNM, c.boxWidth, c.boxHeight))
      << img.GetLastError();
  EXPECT_EQ(img.GetWidth(), c.expectWidth);
  EXPECT_EQ(img.GetHeight(), c.expectHeight);
  // Every source pixel is white, so every averaged pixel is too, however many it covers.
  for (uint32_t y = 0; y < img.GetHeight(); ++y)
    for (uint32_t x = 0; x < img.GetWidth(); ++x) {
      const RGBQUAD p = img.GetPixelColor(x, y);
      ASSERT_EQ(p.rgbRed + p.rgbGreen + p.rgbBlue, 3 * 255) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ThumbnailShape,
    ::testing::Values(
        // 17 million pixels into one: 255 × the count no longer fits 32 bits.
        ShapeCase{17000000, 1, 1, 1, 1, 1}, ShapeCase{17000000, 1, 3, 200, 3, 1},
        ShapeCase{1, 17000000, 1, 1, 1, 1}, ShapeCase{1, 17000000, 100, 2, 1, 2},
        // Boxes larger than the picture leave it as it is.
        ShapeCase{1, 5000, 1, 100000, 1, 5000}, ShapeCase{5000, 1, 0xFFFFFFFF, 1, 5000, 1},
        // A box of zero means no limit.
        ShapeCase{300, 2, 0, 0, 300, 2}, ShapeCase{7, 3, 2, 2, 2, 1}));

}  // namespace
