#include "app/image/DibFunctions.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"

namespace {

std::vector<uint8_t> InfoHeader(int32_t w, int32_t h, uint16_t bpp, uint32_t used) {
  std::vector<uint8_t> dib(40 + 1024 + 64, 0);
  const auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&dib[at], &v, 4); };
  put32(0, 40);
  put32(4, uint32_t(w));
  put32(8, uint32_t(h));
  dib[12] = 1;
  std::memcpy(&dib[14], &bpp, 2);
  put32(32, used);
  return dib;
}

std::vector<uint8_t> CoreHeader(uint16_t w, uint16_t h, uint16_t bpp) {
  std::vector<uint8_t> dib(12 + 768 + 64, 0);
  dib[0] = 12;
  std::memcpy(&dib[4], &w, 2);
  std::memcpy(&dib[6], &h, 2);
  dib[8] = 1;
  std::memcpy(&dib[10], &bpp, 2);
  return dib;
}

struct CountCase {
  uint16_t bpp;
  uint32_t used;
  uint32_t colors;
};

class DibColourCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(DibColourCount, FromUsedCountOrDepth) {
  const auto dib = InfoHeader(4, 4, GetParam().bpp, GetParam().used);
  EXPECT_EQ(DibNumColors(dib.data()), GetParam().colors);
  EXPECT_EQ(DibPaletteSize(dib.data()), GetParam().colors * 4);
  EXPECT_EQ(DibBits(dib.data()), dib.data() + 40 + GetParam().colors * 4);
}

INSTANTIATE_TEST_SUITE_P(Depths, DibColourCount,
                         ::testing::Values(CountCase{8, 17, 17}, CountCase{24, 0, 0},
                                           CountCase{1, 0, 2}, CountCase{4, 0, 16},
                                           CountCase{8, 0, 256}, CountCase{16, 0, 0},
                                           CountCase{32, 0, 0}, CountCase{24, 5, 5}));

TEST(DibFunctions, CoreHeaderUsesThreeBytePaletteEntries) {
  const auto dib = CoreHeader(7, 9, 4);
  EXPECT_EQ(DibHeight(dib.data()), 9);
  EXPECT_EQ(DibNumColors(dib.data()), 16u);
  EXPECT_EQ(DibPaletteSize(dib.data()), 48u);
  EXPECT_EQ(DibBits(dib.data()), dib.data() + 12 + 48);
}

TEST(DibFunctions, HeightIsTheHeadersSignedHeight) {
  EXPECT_EQ(DibHeight(InfoHeader(3, 120, 24, 0).data()), 120);
  EXPECT_EQ(DibHeight(InfoHeader(3, -5, 24, 0).data()), -5);
}

TEST(DibFunctions, CopyMemoryBlock) {
  EXPECT_FALSE(CopyMemoryBlock(nullptr).has_value());
  const std::vector<uint8_t> block = {1, 2, 3, 0, 9};
  const auto copy = CopyMemoryBlock(&block);
  ASSERT_TRUE(copy.has_value());
  EXPECT_EQ(*copy, block);
  EXPECT_NE(copy->data(), block.data());
}

TEST(PaintDibPlan, EqualSizesCopyUnscaledOtherwiseStretch) {
  CxImage img = imagetest::MakePattern(100, 50);
  const CxRect src{10, 5, 40, 25};
  const DibPaintPlan copy = PlanPaintDib(img.GetDIB(), {0, 0, 30, 20}, src);
  EXPECT_EQ(copy.mode, DibPaintMode::kCopy);
  EXPECT_EQ(copy.srcYFromBottom, 50 - 25);  // rows are stored bottom-up
  EXPECT_EQ(PlanPaintDib(img.GetDIB(), {0, 0, 31, 20}, src).mode, DibPaintMode::kStretch);
  EXPECT_EQ(PlanPaintDib(img.GetDIB(), {0, 0, 30, 40}, src).mode, DibPaintMode::kStretch);
  EXPECT_EQ(PlanPaintDib(nullptr, {0, 0, 30, 20}, src).mode, DibPaintMode::kNothing);
}

TEST(RenderDib, NearestNeighbourRepeatsAndDropsWithoutBlending) {
  CxImage img;
  ASSERT_TRUE(img.Create(2, 1, 8));
  img.SetPaletteColor(1, 255, 0, 0);
  img.SetPaletteColor(2, 0, 0, 255);
  img.SetPixelIndex(0, 0, 1);
  img.SetPixelIndex(1, 0, 2);
  std::vector<uint8_t> rgb(5 * 2 * 3);
  RenderDibToRgb(img.GetDIB(), {0, 0, 2, 1}, 5, 2, {0, 0, 5, 2}, rgb.data());
  // Columns 0..2 fall on the red pixel, 3..4 on the blue one; no mixed colours anywhere.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) {
      const uint8_t* p = &rgb[(y * 5 + x) * 3];
      EXPECT_EQ(p[0], x < 3 ? 255 : 0) << x;
      EXPECT_EQ(p[2], x < 3 ? 0 : 255) << x;
      EXPECT_EQ(p[1], 0);
    }
}

TEST(RenderDib, VisiblePartMatchesTheSameRegionOfAFullRender) {
  CxImage img = imagetest::MakePattern(37, 23);
  const CxRect all{0, 0, 37, 23};
  std::vector<uint8_t> full(90 * 61 * 3), part(20 * 10 * 3);
  RenderDibToRgb(img.GetDIB(), all, 90, 61, {0, 0, 90, 61}, full.data());
  RenderDibToRgb(img.GetDIB(), all, 90, 61, {30, 40, 50, 50}, part.data());
  for (int y = 0; y < 10; ++y)
    ASSERT_EQ(std::memcmp(&part[y * 20 * 3], &full[((40 + y) * 90 + 30) * 3], 20 * 3), 0) << y;
  // Top-left output pixel is the top-left picture pixel, in RGB order.
  const RGBQUAD c = imagetest::At(img, 0, 0);
  EXPECT_EQ(full[0], c.rgbRed);
  EXPECT_EQ(full[2], c.rgbBlue);
}

// A 1-bit picture 2^31 pixels wide fits the memory limit; its width does not fit a signed
// 32-bit number, and must not turn negative when it is drawn.
TEST(RenderDib, PictureWiderThanTheLargestSignedWidthStillDraws) {
  CxImage img;
  if (!img.Create(0x80000000u, 1, 1)) GTEST_SKIP() << img.GetLastError();
  img.SetPaletteColor(0, 255, 255, 255);
  img.SetPaletteColor(1, 255, 0, 0);
  img.SetPixelIndex(0, 0, 1);
  img.SetPixelIndex(2, 0, 1);
  std::vector<uint8_t> rgb(4 * 3, 0x55);
  RenderDibToRgb(img.GetDIB(), {0, 0, 4, 1}, 4, 1, {0, 0, 4, 1}, rgb.data());
  const uint8_t expected[4][3] = {{255, 0, 0}, {255, 255, 255}, {255, 0, 0}, {255, 255, 255}};
  for (int x = 0; x < 4; ++x)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(rgb[x * 3 + k], expected[x][k]) << x;
  // The far end of the row is where it belongs too.
  img.SetPixelIndex(0x7FFFFFFEu, 0, 1);
  RenderDibToRgb(img.GetDIB(), {0x7FFFFFFD, 0, 0x7FFFFFFF, 1}, 2, 1, {0, 0, 2, 1}, rgb.data());
  EXPECT_EQ(rgb[1], 255);  // white
  EXPECT_EQ(rgb[4], 0);    // red
}

TEST(PaintDibPlan, HeightWithoutAPositiveCounterpartPaintsNothing) {
  const auto dib = InfoHeader(4, INT32_MIN, 24, 0);
  EXPECT_EQ(PlanPaintDib(dib.data(), {0, 0, 4, 4}, {0, 0, 4, 4}).mode, DibPaintMode::kNothing);
  const auto topDown = InfoHeader(4, -4, 24, 0);
  const DibPaintPlan plan = PlanPaintDib(topDown.data(), {0, 0, 4, 2}, {0, 0, 4, 2});
  EXPECT_EQ(plan.mode, DibPaintMode::kCopy);
  EXPECT_EQ(plan.srcYFromBottom, 2);
}

}  // namespace
