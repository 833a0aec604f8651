#include <gtest/gtest.h>

#include "app/image/ColorTables.h"
#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"

namespace {

using imagetest::At;

TEST(GrayScale, TrueColourUsesTheIntegerWeights) {
  CxImage img;
  ASSERT_TRUE(img.Create(4, 1, 24));
  const uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 200, 31}};
  for (uint32_t x = 0; x < 4; ++x) {
    uint8_t* p = img.GetBits(0) + 3 * x;
    p[2] = colours[x][0], p[1] = colours[x][1], p[0] = colours[x][2];
  }
  ASSERT_TRUE(img.GrayScale());
  EXPECT_EQ(img.GetBpp(), 8u);
  const int expected[4] = {(255 * 306) >> 10, (255 * 601) >> 10, (255 * 117) >> 10,
                           (10 * 306 + 200 * 601 + 31 * 117) >> 10};
  for (uint32_t x = 0; x < 4; ++x) {
    const uint8_t index = img.GetPixelIndex(x, 0);
    EXPECT_EQ(index, expected[x]) << x;
    EXPECT_EQ(img.GetPaletteColor(index).rgbRed, index);  // grey table: entry i is (i, i, i)
  }
  EXPECT_EQ(img.GetTransIndex(), -1);
}

TEST(GrayScale, PaletteOneBitExpandsToEightAndCarriesTransparency) {
  CxImage img;
  ASSERT_TRUE(img.Create(9, 2, 1));
  img.SetPaletteColor(0, 200, 100, 50);
  img.SetPaletteColor(1, 0, 0, 255);
  img.SetPixelIndex(8, 1, 1);
  img.SetTransIndex(1);
  ASSERT_TRUE(img.GrayScale());
  EXPECT_EQ(img.GetBpp(), 8u);
  const int g0 = (200 * 306 + 100 * 601 + 50 * 117) >> 10, g1 = (255 * 117) >> 10;
  EXPECT_EQ(img.GetPixelIndex(0, 0), g0);
  EXPECT_EQ(img.GetPixelIndex(8, 1), g1);
  EXPECT_EQ(img.GetTransIndex(), g1);
}

TEST(DecreaseBpp, TargetAboveSourceFailsWithText) {
  CxImage img;
  ASSERT_TRUE(img.Create(2, 2, 8));
  EXPECT_FALSE(img.DecreaseBpp(24, false));
  EXPECT_STREQ(img.GetLastError(), "DecreaseBpp: target BPP greater than source BPP");
  EXPECT_EQ(img.GetBpp(), 8u);
}

TEST(DecreaseBpp, EqualTargetLeavesPictureUnchanged) {
  CxImage img = imagetest::MakePattern(5, 5);
  const auto before = img.CopyToHandle();
  EXPECT_TRUE(img.DecreaseBpp(24, false));
  EXPECT_EQ(img.CopyToHandle(), before);
}

TEST(DecreaseBpp, StandardTableAndNearestColourWithoutDiffusion) {
  CxImage img;
  ASSERT_TRUE(img.Create(3, 1, 24));
  const uint8_t colours[3][3] = {{255, 255, 255}, {250, 5, 3}, {128, 128, 128}};
  for (uint32_t x = 0; x < 3; ++x) {
    uint8_t* p = img.GetBits(0) + 3 * x;
    p[2] = colours[x][0], p[1] = colours[x][1], p[0] = colours[x][2];
  }
  ASSERT_TRUE(img.DecreaseBpp(8, false, nullptr, 0));
  EXPECT_EQ(img.GetBpp(), 8u);
  const auto standard = StandardPalette(8);
  for (uint32_t i = 0; i < 256; ++i) {
    ASSERT_EQ(img.GetPalette()[i].rgbRed, standard[i].rgbRed);
    ASSERT_EQ(img.GetPalette()[i].rgbBlue, standard[i].rgbBlue);
  }
  const RGBQUAD white = img.GetPixelColor(0, 0), red = img.GetPixelColor(1, 0),
                gray = img.GetPixelColor(2, 0);
  EXPECT_EQ(white.rgbRed + white.rgbGreen + white.rgbBlue, 3 * 255);
  EXPECT_EQ(red.rgbRed, 255);
  EXPECT_EQ(red.rgbGreen, 0);
  EXPECT_EQ(gray.rgbRed, gray.rgbBlue);
  EXPECT_NEAR(gray.rgbRed, 128, 4);
}

TEST(DecreaseBpp, NoDiffusionMapsEqualColoursToEqualIndexes) {
  // A flat mid colour that is not in the table: with diffusion off every pixel gets the same
  // entry; with diffusion on the error spreads and entries alternate.
  CxImage flat;
  ASSERT_TRUE(flat.Create(16, 16, 24));
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 16; ++x) {
      uint8_t* p = flat.GetBits(y) + 3 * x;
      p[0] = 20, p[1] = 140, p[2] = 77;
    }
  CxImage plain = flat, dithered = flat;
  ASSERT_TRUE(plain.DecreaseBpp(4, false));
  ASSERT_TRUE(dithered.DecreaseBpp(4, true));
  int plainDistinct = 0, ditherDistinct = 0;
  bool seen[2][16] = {};
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 16; ++x) {
      seen[0][plain.GetPixelIndex(x, y)] = true;
      seen[1][dithered.GetPixelIndex(x, y)] = true;
    }
  for (int i = 0; i < 16; ++i) plainDistinct += seen[0][i], ditherDistinct += seen[1][i];
  EXPECT_EQ(plainDistinct, 1);
  EXPECT_GT(ditherDistinct, 1);
}

TEST(DecreaseBpp, UsesTheGivenPalette) {
  CxImage img = imagetest::MakePattern(4, 4);
  const RGBQUAD pal[2] = {{0, 0, 255, 0}, {255, 0, 0, 0}};  // red, blue
  ASSERT_TRUE(img.DecreaseBpp(1, false, pal, 2));
  EXPECT_EQ(img.GetPaletteColor(0).rgbRed, 255);
  EXPECT_EQ(img.GetPaletteColor(1).rgbBlue, 255);
}

TEST(IncreaseBpp, ExpandsThroughTheColourTable) {
  CxImage img;
  ASSERT_TRUE(img.Create(10, 3, 4));
  for (uint32_t i = 0; i < 16; ++i) img.SetPaletteColor(i, uint8_t(i * 16), uint8_t(255 - i), 7);
  for (uint32_t x = 0; x < 10; ++x) img.SetPixelIndex(x, 1, uint8_t(x));
  img.SetTransIndex(5);
  CxImage eight = img;
  ASSERT_TRUE(eight.IncreaseBpp(8));
  EXPECT_EQ(eight.GetBpp(), 8u);
  EXPECT_EQ(eight.GetTransIndex(), 5);
  ASSERT_TRUE(img.IncreaseBpp(24));
  EXPECT_EQ(img.GetBpp(), 24u);
  for (uint32_t x = 0; x < 10; ++x) {
    EXPECT_EQ(img.GetPixelColor(x, 1).rgbRed, x * 16);
    EXPECT_EQ(img.GetPixelColor(x, 1).rgbGreen, 255 - x);
    EXPECT_EQ(eight.GetPixelIndex(x, 1), x);
  }
  const auto before = img.CopyToHandle();
  EXPECT_TRUE(img.IncreaseBpp(8));  // not larger: unchanged
  EXPECT_EQ(img.CopyToHandle(), before);
}

}  // namespace
