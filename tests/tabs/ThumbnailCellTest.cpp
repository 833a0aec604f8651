#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "app/image/CxImage.h"
#include "app/image/ReducedLoad.h"
#include "app/tabs/ThumbnailCell.h"
#include "tests/support/TempDir.h"

using testsupport::TempDir;

namespace {

struct Placement {
  uint32_t w, h;
  int x, y, width, height;
};

class CellPlacement : public ::testing::TestWithParam<Placement> {};

TEST_P(CellPlacement, SinglePrecisionRatioAndIntegerCentring) {
  const Placement& c = GetParam();
  const tabs::CellPlacement p = tabs::PlaceInCell(c.w, c.h);
  EXPECT_EQ(p.x, c.x);
  EXPECT_EQ(p.y, c.y);
  EXPECT_EQ(p.width, c.width);
  EXPECT_EQ(p.height, c.height);
}

INSTANTIATE_TEST_SUITE_P(Pictures, CellPlacement,
                         ::testing::Values(Placement{200, 100, 0, 20, 100, 50},
                                           Placement{90, 100, 10, 0, 80, 90},
                                           Placement{100, 90, 0, 0, 100, 89},
                                           Placement{800, 600, 0, 7, 100, 75},
                                           Placement{1, 5000, 50, 0, 0, 90},
                                           Placement{0, 10, 0, 0, 0, 0}));

TEST(PhotoPane, ScalesDownBySinglePrecisionFactorAndCentres) {
  // 804 × 404 client less the 2-pixel margin.
  tabs::CellPlacement p = tabs::PlaceInArea(4000, 1000, 800, 400);
  EXPECT_EQ(p.width, 800);
  EXPECT_EQ(p.height, 200);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 100);
  // Fits: natural size, never enlarged.
  p = tabs::PlaceInArea(301, 100, 800, 400);
  EXPECT_EQ(p.width, 301);
  EXPECT_EQ(p.height, 100);
  EXPECT_EQ(p.x, 249);
  EXPECT_EQ(p.y, 150);
}

// A smooth picture, as photographs mostly are; grey, or coloured with every channel moving
// differently.
CxImage Gradient(uint32_t w, uint32_t h, bool colour = false) {
  CxImage img;
  EXPECT_TRUE(img.Create(w, h, 24));
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = img.GetBits(h - 1 - y);
    for (uint32_t x = 0; x < w; ++x) {
      const double v = 40 + 150.0 * x / w + 60.0 * y / h;
      row[3 * x] = uint8_t(v);
      row[3 * x + 1] = uint8_t(colour ? 255.0 * y / h : v);
      row[3 * x + 2] = uint8_t(colour ? 127.5 + 100 * std::sin(3.0 * (x + y) / (w + h)) : v);
    }
  }
  return img;
}

double MeanDifference(const tabs::ThumbnailCell& a, const tabs::ThumbnailCell& b) {
  double sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(a.rgb[i] - b.rgb[i]);
  return sum / double(a.rgb.size());
}

int LargestDifference(const tabs::ThumbnailCell& a, const tabs::ThumbnailCell& b) {
  int most = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) most = std::max(most, std::abs(a.rgb[i] - b.rgb[i]));
  return most;
}

class FastThumbnail : public ::testing::TestWithParam<std::pair<uint32_t, uint32_t>> {};

// The reduced decode stands in for the full picture: the cell must match a full decode
// stretched into the cell within 2 per channel.
TEST_P(FastThumbnail, MatchesFullDecodeStretchedWithinTwo) {
  const auto [w, h] = GetParam();
  TempDir dir;
  const std::string file = (dir / "p.jpg").string();
  CxImage source = Gradient(w, h);
  source.SetJpegQuality(100);
  ASSERT_TRUE(source.Save(file, CXIMAGE_FORMAT_JPG));

  tabs::ThumbnailCell fast;
  ASSERT_TRUE(tabs::MakeThumbnailCell(file, CXIMAGE_FORMAT_JPG, fast));
  CxImage full;
  ASSERT_TRUE(full.Load(file, CXIMAGE_FORMAT_JPG));
  const tabs::ThumbnailCell reference = tabs::ComposeCell(full, w, h);
  ASSERT_EQ(fast.rgb.size(), reference.rgb.size());
  EXPECT_LE(LargestDifference(fast, reference), 2);
  // The cell is not blank: the picture was drawn.
  EXPECT_NE(LargestDifference(fast, tabs::BlankCell()), 0);
}

// Colour JPEGs keep their colour at half resolution; their cells must match all the same.
TEST(FastThumbnail, ColourPictureWithHalfResolutionColourMatchesWithinTwo) {
  TempDir dir;
  const std::string file = (dir / "c.jpg").string();
  CxImage source = Gradient(800, 600, true);
  source.SetJpegQuality(95);
  ASSERT_TRUE(source.Save(file, CXIMAGE_FORMAT_JPG));
  tabs::ThumbnailCell fast;
  ASSERT_TRUE(tabs::MakeThumbnailCell(file, CXIMAGE_FORMAT_JPG, fast));
  CxImage full;
  ASSERT_TRUE(full.Load(file, CXIMAGE_FORMAT_JPG));
  const tabs::ThumbnailCell reference = tabs::ComposeCell(full, 800, 600);
  EXPECT_LE(LargestDifference(fast, reference), 2);
  EXPECT_LT(MeanDifference(fast, reference), 0.5);
}

// Only as much of a JPEG is decoded as the cell needs: an eighth of a grey 800 × 600 picture,
// a half of a colour one (its colour is stored at half resolution); the full size is reported.
TEST(FastThumbnail, DecodesJpegsReduced) {
  TempDir dir;
  CxImage grey = Gradient(800, 600), colour = Gradient(800, 600, true);
  ASSERT_TRUE(grey.GrayScale());
  ASSERT_TRUE(grey.Save((dir / "g.jpg").string(), CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(colour.Save((dir / "c.jpg").string(), CXIMAGE_FORMAT_JPG));
  CxImage img;
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(LoadReducedForBox(img, (dir / "g.jpg").string(), CXIMAGE_FORMAT_JPG, 100, 90, w, h));
  EXPECT_EQ(img.GetWidth(), 100u);
  EXPECT_EQ(img.GetHeight(), 75u);
  EXPECT_EQ(w, 800u);
  EXPECT_EQ(h, 600u);
  ASSERT_TRUE(LoadReducedForBox(img, (dir / "c.jpg").string(), CXIMAGE_FORMAT_JPG, 100, 90, w, h));
  EXPECT_EQ(img.GetWidth(), 400u);
  EXPECT_EQ(w, 800u);
  // Not a JPEG: the ordinary load at full size.
  ASSERT_TRUE(grey.Save((dir / "g.bmp").string(), CXIMAGE_FORMAT_BMP));
  ASSERT_TRUE(LoadReducedForBox(img, (dir / "g.bmp").string(), CXIMAGE_FORMAT_BMP, 100, 90, w, h));
  EXPECT_EQ(img.GetWidth(), 800u);
  EXPECT_EQ(w, 800u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FastThumbnail,
                         ::testing::Values(std::pair<uint32_t, uint32_t>{800, 600},
                                           std::pair<uint32_t, uint32_t>{801, 599},
                                           std::pair<uint32_t, uint32_t>{2000, 300},
                                           std::pair<uint32_t, uint32_t>{310, 1700},
                                           std::pair<uint32_t, uint32_t>{150, 120}));

TEST(FastThumbnail, WhiteBackgroundGreyFrameAndPictureInPlace) {
  TempDir dir;
  CxImage red;
  ASSERT_TRUE(red.Create(200, 100, 24));
  for (uint32_t y = 0; y < 100; ++y)
    for (uint32_t x = 0; x < 200; ++x) {
      uint8_t* p = red.GetBits(y) + 3 * x;
      p[0] = 0, p[1] = 0, p[2] = 255;
    }
  const std::string file = (dir / "red.bmp").string();
  ASSERT_TRUE(red.Save(file, CXIMAGE_FORMAT_BMP));
  tabs::ThumbnailCell cell;
  ASSERT_TRUE(tabs::MakeThumbnailCell(file, CXIMAGE_FORMAT_BMP, cell));
  const auto at = [&](int x, int y) {
    const uint8_t* p = &cell.rgb[(size_t(y) * tabs::kCellWidth + x) * 3];
    return (p[0] << 16) | (p[1] << 8) | p[2];
  };
  EXPECT_EQ(at(0, 0), 0xC0C0C0);
  EXPECT_EQ(at(99, 89), 0xC0C0C0);
  EXPECT_EQ(at(50, 10), 0xFFFFFF);  // above the picture (drawn at y 20…69)
  EXPECT_EQ(at(50, 20), 0xFF0000);
  EXPECT_EQ(at(50, 69), 0xFF0000);
  EXPECT_EQ(at(50, 70), 0xFFFFFF);
}

TEST(FastThumbnail, UndecodableFilesAndRejectedNamesMakeNoCell) {
  TempDir dir;
  testsupport::WriteFile(dir / "bad.jpg", std::string("\xFF\xD8\xFF\xE0garbage", 11));
  tabs::ThumbnailCell cell;
  EXPECT_FALSE(tabs::MakeThumbnailCell((dir / "bad.jpg").string(), CXIMAGE_FORMAT_JPG, cell));
  EXPECT_FALSE(tabs::MakeThumbnailCell((dir / "bad.jpg").string(), 0, cell));
  EXPECT_FALSE(tabs::MakeThumbnailCell((dir / "none.jpg").string(), CXIMAGE_FORMAT_JPG, cell));
}

}  // namespace
