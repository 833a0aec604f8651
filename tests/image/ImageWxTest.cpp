// The wx adapter: bitmaps both ways and drawing on a memory DC, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <wx/dcmemory.h>
#include <wx/image.h>

#include "app/image/CxImage.h"
#include "app/image/wx/ImageBitmap.h"
#include "app/image/wx/ImageDraw.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/GuiTest.h"

namespace {

using imagetest::At;

// wx starts once for the whole process and stays up until it ends: tearing GTK down between
// tests buys nothing and has been seen to trap under load.
class WxEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(guitest::EnsureWx()) << "no display (run under xvfb-run)"; }
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new WxEnvironment);

wxImage Canvas(int w, int h, const std::function<void(wxMemoryDC&)>& paint) {
  wxBitmap bitmap(w, h, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    paint(dc);
  }
  return bitmap.ConvertToImage();
}

void ExpectPixel(const wxImage& out, int x, int y, const RGBQUAD& c) {
  EXPECT_EQ(out.GetRed(x, y), c.rgbRed) << x << "," << y;
  EXPECT_EQ(out.GetGreen(x, y), c.rgbGreen) << x << "," << y;
  EXPECT_EQ(out.GetBlue(x, y), c.rgbBlue) << x << "," << y;
}

TEST(ImageBitmap, MakeBitmapKeepsEveryPixel) {
  const CxImage img = imagetest::MakePattern(17, 9);
  const wxBitmap bitmap = MakeBitmap(img);
  ASSERT_TRUE(bitmap.IsOk());
  const wxImage out = bitmap.ConvertToImage();
  ASSERT_EQ(out.GetWidth(), 17);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 17; ++x) ExpectPixel(out, x, y, At(img, x, y));
  EXPECT_FALSE(MakeBitmap(CxImage()).IsOk());
}

TEST(ImageBitmap, CreateFromBitmapReadsPixelsAndFailsOnBadBitmap) {
  const CxImage src = imagetest::MakePattern(11, 6);
  CxImage back;
  ASSERT_TRUE(CreateFromBitmap(back, MakeBitmap(src)));
  EXPECT_EQ(back.GetBpp(), 24u);
  EXPECT_EQ(imagetest::MaxChannelDiff(back, src), 0);
  CxImage none;
  EXPECT_FALSE(CreateFromBitmap(none, wxNullBitmap));
  EXPECT_STREQ(none.GetLastError(), "GetDIBits failed");
}

TEST(ImageDraw, DrawScalesByRepeatingPixels) {
  const CxImage img = imagetest::MakePattern(4, 3);
  const wxImage out = Canvas(20, 12, [&](wxMemoryDC& dc) {
    EXPECT_TRUE(DrawImage(img, dc, wxRect(2, 1, 12, 9)));  // 3× in both directions
  });
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) ExpectPixel(out, 2 + x, 1 + y, At(img, x / 3, y / 3));
  EXPECT_EQ(out.GetRed(0, 0), 255);  // outside the rectangle stays untouched
  EXPECT_EQ(out.GetRed(14, 10), 255);
}

TEST(ImageDraw, ClipRectangleLimitsDrawing) {
  const CxImage img = imagetest::MakePattern(10, 10);
  const wxRect clip(0, 0, 5, 10);
  const wxImage out = Canvas(10, 10, [&](wxMemoryDC& dc) {
    EXPECT_TRUE(DrawImage(img, dc, wxRect(0, 0, 10, 10), &clip));
  });
  ExpectPixel(out, 4, 4, At(img, 4, 4));
  EXPECT_EQ(out.GetRed(7, 4), 255);
  EXPECT_EQ(out.GetGreen(7, 4), 255);
}

TEST(ImageDraw, PictureTallerThanAnyBitmapDrawsScaledDown) {
  CxImage tall;
  ASSERT_TRUE(tall.Create(8, 40000, 24));
  for (uint32_t y = 0; y < 40000; ++y) {
    uint8_t* row = tall.GetBits(40000 - 1 - y);
    for (uint32_t x = 0; x < 8; ++x) row[3 * x + 2] = y < 20000 ? 255 : 0;  // red top half
  }
  const wxImage out = Canvas(
      8, 100, [&](wxMemoryDC& dc) { EXPECT_TRUE(DrawImage(tall, dc, wxRect(0, 0, 8, 100))); });
  EXPECT_EQ(out.GetRed(3, 10), 255);
  EXPECT_EQ(out.GetRed(3, 90), 0);
  EXPECT_EQ(out.GetGreen(3, 90), 0);
}

// A 1-bit picture 2^31 pixels wide is within the memory limit; its width must not turn
// negative on the way to the screen.
TEST(ImageDraw, PictureWiderThanTheLargestSignedWidthDraws) {
  CxImage wide;
  if (!wide.Create(0x80000000u, 1, 1)) GTEST_SKIP() << wide.GetLastError();
  wide.SetPaletteColor(0, 255, 255, 255);
  wide.SetPaletteColor(1, 255, 0, 0);
  // Red up to a little past the middle, clear of where the sampled columns fall.
  std::memset(wide.GetBits(0), 0xFF, (0x40000000u + 0x4000000u) / 8);
  const wxImage out = Canvas(8, 2, [&](wxMemoryDC& dc) {
    EXPECT_TRUE(DrawImage(wide, dc, wxRect(0, 0, 8, 1)));
    EXPECT_TRUE(StretchImage(wide, dc, wxRect(0, 1, 8, 1)));
  });
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(out.GetRed(x, y), 255) << x << "," << y;
      EXPECT_EQ(out.GetGreen(x, y), x < 5 ? 0 : 255) << x << "," << y;
    }
}

TEST(ImageDraw, StretchDropsRowsAndColumns) {
  const CxImage img = imagetest::MakePattern(8, 8);
  const wxImage out =
      Canvas(4, 4, [&](wxMemoryDC& dc) { EXPECT_TRUE(StretchImage(img, dc, wxRect(0, 0, 4, 4))); });
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ExpectPixel(out, x, y, At(img, 2 * x, 2 * y));
}

TEST(ImageDraw, PaintDibCopiesOrStretchesTheSourceRectangle) {
  const CxImage img = imagetest::MakePattern(30, 20);
  const wxImage copy = Canvas(10, 10, [&](wxMemoryDC& dc) {
    EXPECT_TRUE(PaintDib(dc, wxRect(1, 2, 6, 4), img.GetDIB(), wxRect(12, 7, 6, 4)));
  });
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) ExpectPixel(copy, 1 + x, 2 + y, At(img, 12 + x, 7 + y));
  const wxImage stretched = Canvas(12, 8, [&](wxMemoryDC& dc) {
    EXPECT_TRUE(PaintDib(dc, wxRect(0, 0, 12, 8), img.GetDIB(), wxRect(12, 7, 6, 4)));
  });
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x) ExpectPixel(stretched, x, y, At(img, 12 + x / 2, 7 + y / 2));
  const wxImage untouched = Canvas(4, 4, [&](wxMemoryDC& dc) {
    EXPECT_FALSE(PaintDib(dc, wxRect(0, 0, 4, 4), nullptr, wxRect(0, 0, 4, 4)));
  });
  EXPECT_EQ(untouched.GetRed(1, 1), 255);
}

TEST(ImageDraw, DibPaletteFromTheColourTable) {
  CxImage img;
  ASSERT_TRUE(img.Create(2, 2, 4));
  img.SetPaletteColor(3, 10, 20, 30);
  wxPalette palette;
  ASSERT_TRUE(DibPalette(img.GetDIB(), palette));
  EXPECT_EQ(palette.GetColoursCount(), 16);
  unsigned char r, g, b;
  ASSERT_TRUE(palette.GetRGB(3, &r, &g, &b));
  EXPECT_EQ(r, 10);
  EXPECT_EQ(g, 20);
  EXPECT_EQ(b, 30);
  CxImage rgb = imagetest::MakePattern(2, 2);
  wxPalette none;
  EXPECT_FALSE(DibPalette(rgb.GetDIB(), none));
  EXPECT_FALSE(DibPalette(nullptr, none));
}

}  // namespace
