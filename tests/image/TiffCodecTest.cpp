// The TIFF reader: strips and tiles read once each, every orientation, alpha over white, and
// files whose sizes would make a careless reader allocate or decode far too much.
#include <gtest/gtest.h>

#include <tiffio.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;
using imagetest::At;

struct Layout {
  uint32_t width, height;
  uint16_t samples = 3;
  uint16_t photometric = PHOTOMETRIC_RGB;
  uint16_t compression = COMPRESSION_NONE;
  uint16_t orientation = ORIENTATION_TOPLEFT;
  uint32_t rowsPerStrip = 0;  // 0: one strip
  uint32_t tile = 0;          // tile edge; 0: strips
  uint16_t extra = 0;         // extra sample kind when samples carry alpha
};

// Writes a TIFF with libtiff; `pixel(x, y, s)` gives sample s of the pixel in file order.
Bytes WriteTiff(const Layout& l,
                const std::function<uint8_t(uint32_t, uint32_t, uint32_t)>& pixel) {
  testsupport::TempDir dir;
  const std::string path = (dir / "t.tif").string();
  TIFF* t = TIFFOpen(path.c_str(), "w");
  EXPECT_NE(t, nullptr);
  if (!t) return {};
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, l.width);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, l.height);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, l.samples);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, l.photometric);
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(t, TIFFTAG_COMPRESSION, l.compression);
  TIFFSetField(t, TIFFTAG_ORIENTATION, l.orientation);
  if (l.extra) {
    const uint16_t kinds[1] = {l.extra};
    TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, kinds);
  }
  const size_t pixelBytes = l.samples;
  if (l.tile) {
    TIFFSetField(t, TIFFTAG_TILEWIDTH, l.tile);
    TIFFSetField(t, TIFFTAG_TILELENGTH, l.tile);
    Bytes tile(size_t(l.tile) * l.tile * pixelBytes);
    for (uint32_t ty = 0; ty < l.height; ty += l.tile)
      for (uint32_t tx = 0; tx < l.width; tx += l.tile) {
        std::fill(tile.begin(), tile.end(), 0);
        for (uint32_t y = ty; y < std::min(ty + l.tile, l.height); ++y)
          for (uint32_t x = tx; x < std::min(tx + l.tile, l.width); ++x)
            for (uint32_t s = 0; s < l.samples; ++s)
              tile[(size_t(y - ty) * l.tile + (x - tx)) * pixelBytes + s] = pixel(x, y, s);
        EXPECT_GT(TIFFWriteTile(t, tile.data(), tx, ty, 0, 0), 0);
      }
  } else {
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, l.rowsPerStrip ? l.rowsPerStrip : l.height);
    Bytes row(size_t(l.width) * pixelBytes);
    for (uint32_t y = 0; y < l.height; ++y) {
      for (uint32_t x = 0; x < l.width; ++x)
        for (uint32_t s = 0; s < l.samples; ++s) row[size_t(x) * pixelBytes + s] = pixel(x, y, s);
      EXPECT_EQ(TIFFWriteScanline(t, row.data(), y, 0), 1);
    }
  }
  TIFFClose(t);
  return imagetest::Bytes(testsupport::ReadFile(path));
}

CxImage DecodeTiff(const Bytes& file) {
  CxImage img;
  img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_TIF);
  return img;
}

// File pixel (x, y) carries red 5x, green y, blue 7, so a swapped row or column shows.
uint8_t Pattern(uint32_t x, uint32_t y, uint32_t s) {
  return s == 0 ? uint8_t(5 * x) : s == 1 ? uint8_t(y) : 7;
}

struct OrientationCase {
  const char* name;
  uint16_t orientation;
  bool mirrored, bottomUp;
  uint32_t rowsPerStrip, tile;
};

class TiffOrientation : public ::testing::TestWithParam<OrientationCase> {};

// The picture is taller than any band of rows a reader might use, so a flip done band by band
// instead of over the whole picture shows up as rows out of order.
TEST_P(TiffOrientation, RowsAndColumnsLandWhereTheOrientationSays) {
  const OrientationCase& c = GetParam();
  Layout l{40, 150};
  l.orientation = c.orientation;
  l.rowsPerStrip = c.rowsPerStrip;
  l.tile = c.tile;
  l.compression = COMPRESSION_ADOBE_DEFLATE;
  const CxImage img = DecodeTiff(WriteTiff(l, Pattern));
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  ASSERT_EQ(img.GetWidth(), 40u);
  ASSERT_EQ(img.GetHeight(), 150u);
  int wrong = 0;
  for (uint32_t y = 0; y < 150; ++y)
    for (uint32_t x = 0; x < 40; ++x) {
      const uint32_t fx = c.mirrored ? 39 - x : x, fy = c.bottomUp ? 149 - y : y;
      const RGBQUAD p = At(img, x, y);
      if (p.rgbRed != Pattern(fx, fy, 0) || p.rgbGreen != Pattern(fx, fy, 1) || p.rgbBlue != 7)
        ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TiffOrientation,
    ::testing::Values(OrientationCase{"TopLeftStrips", ORIENTATION_TOPLEFT, false, false, 7, 0},
                      OrientationCase{"BotLeftOneStrip", ORIENTATION_BOTLEFT, false, true, 0, 0},
                      OrientationCase{"BotLeftStrips", ORIENTATION_BOTLEFT, false, true, 7, 0},
                      OrientationCase{"BotRightStrips", ORIENTATION_BOTRIGHT, true, true, 64, 0},
                      OrientationCase{"TopRightStrips", ORIENTATION_TOPRIGHT, true, false, 9, 0},
                      OrientationCase{"TopLeftTiles", ORIENTATION_TOPLEFT, false, false, 0, 16},
                      OrientationCase{"BotLeftTiles", ORIENTATION_BOTLEFT, false, true, 0, 16},
                      OrientationCase{"BotRightTiles", ORIENTATION_BOTRIGHT, true, true, 0, 16},
                      OrientationCase{"TopRightTiles", ORIENTATION_TOPRIGHT, true, false, 0, 16}),
    [](const auto& info) { return std::string(info.param.name); });

// One colour channel of the only pixel of a 1 × 1 picture, alpha blended over white.
RGBQUAD OnePixel(uint16_t photometric, uint16_t samples, uint16_t extra, const Bytes& values) {
  Layout l{1, 1};
  l.photometric = photometric;
  l.samples = samples;
  l.extra = extra;
  const CxImage img =
      DecodeTiff(WriteTiff(l, [&](uint32_t, uint32_t, uint32_t s) { return values[s]; }));
  EXPECT_TRUE(img.IsValid()) << img.GetLastError();
  return img.IsValid() ? At(img, 0, 0) : RGBQUAD{};
}

TEST(TiffAlpha, PremultipliedAndStraightAlphaBlendOnceOverWhite) {
  // Premultiplied: the colour already carries the alpha, so only the white shows through.
  RGBQUAD p = OnePixel(PHOTOMETRIC_RGB, 4, EXTRASAMPLE_ASSOCALPHA, {100, 50, 0, 128});
  EXPECT_EQ(p.rgbRed, 227);
  EXPECT_EQ(p.rgbGreen, 177);
  EXPECT_EQ(p.rgbBlue, 127);
  // Straight alpha: 200 at half cover over white is about 227 as well.
  p = OnePixel(PHOTOMETRIC_RGB, 4, EXTRASAMPLE_UNASSALPHA, {200, 100, 0, 128});
  EXPECT_NEAR(p.rgbRed, 227, 1);
  EXPECT_NEAR(p.rgbGreen, 177, 1);
  EXPECT_NEAR(p.rgbBlue, 127, 1);
  // Grey with alpha, both kinds.
  p = OnePixel(PHOTOMETRIC_MINISBLACK, 2, EXTRASAMPLE_UNASSALPHA, {200, 128});
  EXPECT_NEAR(p.rgbRed, 227, 1);
  p = OnePixel(PHOTOMETRIC_MINISBLACK, 2, EXTRASAMPLE_ASSOCALPHA, {100, 128});
  EXPECT_NEAR(p.rgbRed, 227, 1);
  // Fully opaque and fully transparent.
  EXPECT_EQ(OnePixel(PHOTOMETRIC_RGB, 4, EXTRASAMPLE_ASSOCALPHA, {10, 20, 30, 255}).rgbRed, 10);
  EXPECT_EQ(OnePixel(PHOTOMETRIC_RGB, 4, EXTRASAMPLE_ASSOCALPHA, {0, 0, 0, 0}).rgbRed, 255);
}

// A compressed single strip holding the whole picture is decoded once, not once per band of
// rows: a 1024 × 32768 page in one deflate strip opens in well under a second.
TEST(TiffHostile, TallSingleCompressedStripDecodesOnce) {
  Layout l{1024, 32768};
  l.samples = 1;
  l.photometric = PHOTOMETRIC_MINISBLACK;
  l.compression = COMPRESSION_ADOBE_DEFLATE;
  const Bytes file = WriteTiff(
      l, [](uint32_t x, uint32_t y, uint32_t) { return uint8_t(x == 0 ? y / 128 : 200); });
  ASSERT_LT(file.size(), 1024u * 1024);
  const auto start = std::chrono::steady_clock::now();
  const CxImage img = DecodeTiff(file);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  EXPECT_EQ(At(img, 0, 0).rgbRed, 0);
  EXPECT_EQ(At(img, 0, 32767).rgbRed, 255);
  EXPECT_EQ(At(img, 1023, 20000).rgbRed, 200);
}

// A hand-made little-endian TIFF: one directory of short or long entries and no pixel data.
Bytes TinyTiff(const std::vector<std::pair<uint16_t, uint32_t>>& tags) {
  Bytes f = {'I', 'I', 42, 0, 8, 0, 0, 0};
  f.push_back(uint8_t(tags.size()));
  f.push_back(0);
  for (const auto& [tag, value] : tags) {
    const uint16_t type = value > 0xFFFF ? 4 : 3;  // LONG or SHORT
    const uint8_t entry[12] = {uint8_t(tag),
                               uint8_t(tag >> 8),
                               uint8_t(type),
                               0,
                               1,
                               0,
                               0,
                               0,
                               uint8_t(value),
                               uint8_t(value >> 8),
                               uint8_t(value >> 16),
                               uint8_t(value >> 24)};
    f.insert(f.end(), entry, entry + 12);
  }
  f.insert(f.end(), {0, 0, 0, 0});
  f.resize(f.size() + 16, 0x55);
  return f;
}

// A one-row picture 89 million pixels wide: buffers sized for more rows than the picture has
// would ask for gigabytes. The file holds no pixels, so it fails, cleanly and quickly.
TEST(TiffHostile, WideOneRowPictureAllocatesOnlyWhatItHas) {
  for (const uint32_t rowsPerStrip : {1u, 0xFFFFFFFFu}) {
    const Bytes file = TinyTiff({{TIFFTAG_IMAGEWIDTH, 89000000},
                                 {TIFFTAG_IMAGELENGTH, 1},
                                 {TIFFTAG_BITSPERSAMPLE, 8},
                                 {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE},
                                 {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
                                 {TIFFTAG_STRIPOFFSETS, 8},
                                 {TIFFTAG_ROWSPERSTRIP, rowsPerStrip},
                                 {TIFFTAG_STRIPBYTECOUNTS, 16}});
    CxImage img;
    EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_TIF));
    EXPECT_FALSE(img.IsValid());
    EXPECT_STRNE(img.GetLastError(), "");
  }
}

// Tiles whose own size is absurd are refused before anything is allocated for them.
TEST(TiffHostile, HugeTilesOnASmallPictureAreRefused) {
  const Bytes file = TinyTiff({{TIFFTAG_IMAGEWIDTH, 16},
                               {TIFFTAG_IMAGELENGTH, 16},
                               {TIFFTAG_BITSPERSAMPLE, 8},
                               {TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE},
                               {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
                               {TIFFTAG_TILEWIDTH, 65520},
                               {TIFFTAG_TILELENGTH, 65520},
                               {TIFFTAG_TILEOFFSETS, 8},
                               {TIFFTAG_TILEBYTECOUNTS, 16}});
  CxImage img;
  EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_TIF));
  EXPECT_STRNE(img.GetLastError(), "");
}

}  // namespace
