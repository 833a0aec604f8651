// Pictures written by CxImage and read back, pixel by pixel.
#include <gtest/gtest.h>

#include <png.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

using imagetest::At;
using imagetest::MakePattern;
using imagetest::MaxChannelDiff;

CxImage PalettePicture(uint32_t bpp, uint32_t w, uint32_t h) {
  CxImage img;
  img.Create(w, h, bpp);
  for (uint32_t i = 0; i < img.GetNumColors(); ++i)
    img.SetPaletteColor(i, uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 3));
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      img.SetPixelIndex(x, y, uint8_t((x * 5 + y) % img.GetNumColors()));
  return img;
}

CxImage SaveAndLoad(const CxImage& img, uint32_t format, const char* name) {
  testsupport::TempDir dir;
  CxImage copy = img;
  EXPECT_TRUE(copy.Save((dir / name).string(), format)) << copy.GetLastError();
  return CxImage((dir / name).string(), format);
}

class BmpRoundTrip : public ::testing::TestWithParam<uint32_t> {};

TEST_P(BmpRoundTrip, EveryDepthComesBackIdentical) {
  const uint32_t bpp = GetParam();
  // Odd widths exercise the row padding.
  const CxImage img = bpp == 24 ? MakePattern(13, 7) : PalettePicture(bpp, 13, 7);
  const CxImage back = SaveAndLoad(img, CXIMAGE_FORMAT_BMP, "a.bmp");
  ASSERT_TRUE(back.IsValid()) << back.GetLastError();
  EXPECT_EQ(back.GetBpp(), bpp);
  EXPECT_EQ(back.GetType(), uint32_t(CXIMAGE_FORMAT_BMP));
  ASSERT_EQ(back.GetDIBSize(), img.GetDIBSize());
  EXPECT_EQ(std::memcmp(back.GetDIB() + 40, img.GetDIB() + 40, img.GetDIBSize() - 40), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip, ::testing::Values(1u, 4u, 8u, 24u));

TEST(GifRoundTrip, PalettePictureIsExactAndKeepsTransparency) {
  CxImage img = PalettePicture(8, 21, 9);
  img.SetTransIndex(7);
  const CxImage back = SaveAndLoad(img, CXIMAGE_FORMAT_GIF, "a.gif");
  ASSERT_TRUE(back.IsValid()) << back.GetLastError();
  EXPECT_EQ(back.GetBpp(), 8u);
  EXPECT_EQ(back.GetTransIndex(), 7);
  EXPECT_EQ(MaxChannelDiff(back, img), 0);
}

TEST(GifRoundTrip, FourBitPictureIsExact) {
  const CxImage img = PalettePicture(4, 10, 10);
  const CxImage back = SaveAndLoad(img, CXIMAGE_FORMAT_GIF, "a.gif");
  ASSERT_TRUE(back.IsValid());
  EXPECT_EQ(MaxChannelDiff(back, img), 0);
}

TEST(GifRoundTrip, TrueColourWithFewColoursIsExact) {
  CxImage img;
  ASSERT_TRUE(img.Create(40, 30, 24));
  for (uint32_t y = 0; y < 30; ++y)
    for (uint32_t x = 0; x < 40; ++x) {
      uint8_t* p = img.GetBits(y) + 3 * x;
      p[0] = uint8_t((x / 4) * 25), p[1] = uint8_t((y / 3) * 25), p[2] = 200;  // 100 colours
    }
  const CxImage back = SaveAndLoad(img, CXIMAGE_FORMAT_GIF, "a.gif");
  ASSERT_TRUE(back.IsValid());
  EXPECT_EQ(MaxChannelDiff(back, img), 0);
}

TEST(GifRoundTrip, TrueColourWithManyColoursStaysClose) {
  const CxImage img = MakePattern(64, 64);  // thousands of colours
  const CxImage back = SaveAndLoad(img, CXIMAGE_FORMAT_GIF, "a.gif");
  ASSERT_TRUE(back.IsValid());
  double total = 0;
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      const RGBQUAD a = img.GetPixelColor(x, y), b = back.GetPixelColor(x, y);
      total += std::abs(a.rgbRed - b.rgbRed) + std::abs(a.rgbGreen - b.rgbGreen) +
               std::abs(a.rgbBlue - b.rgbBlue);
    }
  EXPECT_LT(total / (64 * 64 * 3), 8.0);
}

TEST(JpegRoundTrip, PixelsCloseAndDpiKept) {
  CxImage img = MakePattern(48, 40);
  img.SetXDPI(150);
  img.SetYDPI(150);
  const CxImage back = SaveAndLoad(img, CXIMAGE_FORMAT_JPG, "a.jpg");
  ASSERT_TRUE(back.IsValid());
  EXPECT_EQ(back.GetBpp(), 24u);
  EXPECT_EQ(back.GetXDPI(), 150u);
  double total = 0;
  for (uint32_t y = 0; y < 40; ++y)
    for (uint32_t x = 0; x < 48; ++x)
      total += std::abs(At(img, x, y).rgbGreen - At(back, x, y).rgbGreen);
  EXPECT_LT(total / (48 * 40), 6.0);
}

TEST(JpegRoundTrip, GreyPictureStaysGrey) {
  CxImage img = MakePattern(16, 16);
  ASSERT_TRUE(img.GrayScale());
  const CxImage back = SaveAndLoad(img, CXIMAGE_FORMAT_JPG, "g.jpg");
  ASSERT_TRUE(back.IsValid());
  EXPECT_EQ(back.GetBpp(), 8u);
}

std::vector<uint8_t> Encoded(CxImage img, float quality) {
  img.SetJpegQuality(quality);
  std::vector<uint8_t> out;
  EXPECT_TRUE(img.Encode(out, CXIMAGE_FORMAT_JPG));
  return out;
}

TEST(JpegQuality, RoundedAndCappedAt100WhenWritten) {
  const CxImage img = MakePattern(32, 32);
  EXPECT_EQ(Encoded(img, 250), Encoded(img, 100));
  EXPECT_EQ(Encoded(img, 100.4f), Encoded(img, 100));
  EXPECT_EQ(Encoded(img, 49.6f), Encoded(img, 50));
  EXPECT_EQ(Encoded(img, 50.4f), Encoded(img, 50));
  EXPECT_NE(Encoded(img, 50.6f), Encoded(img, 50));
  EXPECT_GT(Encoded(img, 95).size(), Encoded(img, 20).size());
  CxImage fresh = MakePattern(32, 32);
  std::vector<uint8_t> byDefault;
  ASSERT_TRUE(fresh.Encode(byDefault, CXIMAGE_FORMAT_JPG));
  EXPECT_EQ(byDefault, Encoded(img, 90));
}

TEST(JpegStripes, ThreadedDecodeEqualsOnePassDecode) {
  // Tall enough for the threaded path; our encoder writes a restart marker per block row.
  testsupport::TempDir dir;
  CxImage img = MakePattern(333, 2100);
  ASSERT_TRUE(img.Save((dir / "tall.jpg").string(), CXIMAGE_FORMAT_JPG));
  CxImage threaded((dir / "tall.jpg").string(), CXIMAGE_FORMAT_JPG);
  CxImage onePass;  // a thumbnail request bigger than the picture decodes in one pass
  ASSERT_TRUE(onePass.LoadThumbnail((dir / "tall.jpg").string(), CXIMAGE_FORMAT_JPG, 5000, 5000));
  ASSERT_TRUE(threaded.IsValid());
  ASSERT_EQ(threaded.GetDIBSize(), onePass.GetDIBSize());
  EXPECT_EQ(std::memcmp(threaded.GetDIB(), onePass.GetDIB(), onePass.GetDIBSize()), 0);
}

TEST(PngDecode, ColourGreyAndAlphaOverWhite) {
  testsupport::TempDir dir;
  // 2×1 RGBA: opaque red, fully transparent black.
  const uint8_t rgba[8] = {255, 0, 0, 255, 0, 0, 0, 0};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&image, (dir / "a.png").c_str(), 0, rgba, 0, nullptr));
  CxImage img((dir / "a.png").string(), CXIMAGE_FORMAT_PNG);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_EQ(img.GetBpp(), 24u);
  EXPECT_EQ(At(img, 0, 0).rgbRed, 255);
  EXPECT_EQ(At(img, 0, 0).rgbGreen, 0);
  EXPECT_EQ(At(img, 1, 0).rgbGreen, 255);  // transparent shows the white page

  const uint8_t gray[6] = {0, 128, 255, 10, 20, 30};
  png_image g{};
  g.version = PNG_IMAGE_VERSION;
  g.width = 3;
  g.height = 2;
  g.format = PNG_FORMAT_GRAY;
  ASSERT_TRUE(png_image_write_to_file(&g, (dir / "g.png").c_str(), 0, gray, 0, nullptr));
  CxImage gi((dir / "g.png").string(), CXIMAGE_FORMAT_PNG);
  ASSERT_TRUE(gi.IsValid());
  EXPECT_EQ(gi.GetBpp(), 8u);
  EXPECT_EQ(At(gi, 1, 0).rgbRed, 128);
  EXPECT_EQ(At(gi, 2, 1).rgbRed, 30);
}

}  // namespace
