// Each reader against a small file built here byte by byte (or by the format's own library),
// so the expected pixels are known exactly.
#include <gtest/gtest.h>

#include <png.h>
#include <tiffio.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

using imagetest::At;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kW = 5, kH = 3;

struct Rgb {
  uint8_t r, g, b;
};
Rgb Expected(uint32_t x, uint32_t y) {
  return {uint8_t(x * 60), uint8_t(y * 100), uint8_t(250 - x * 20 - y * 30)};
}

void Append(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
void Le16(Bytes& b, uint32_t v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); }
void Le32(Bytes& b, uint32_t v) { Le16(b, v & 0xFFFF), Le16(b, v >> 16); }
void Be32(Bytes& b, uint32_t v) {
  for (int i = 3; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}

CxImage Load(const Bytes& file, uint32_t format) {
  CxImage img;
  img.Decode(file.data(), file.size(), format);
  return img;
}

void ExpectPattern(const CxImage& img, int tolerance = 0) {
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  ASSERT_EQ(img.GetWidth(), kW);
  ASSERT_EQ(img.GetHeight(), kH);
  for (uint32_t y = 0; y < kH; ++y)
    for (uint32_t x = 0; x < kW; ++x) {
      const RGBQUAD c = At(img, x, y);
      const Rgb e = Expected(x, y);
      EXPECT_NEAR(c.rgbRed, e.r, tolerance) << x << "," << y;
      EXPECT_NEAR(c.rgbGreen, e.g, tolerance) << x << "," << y;
      EXPECT_NEAR(c.rgbBlue, e.b, tolerance) << x << "," << y;
    }
}

// Top-down RGB bytes of the expected pattern.
Bytes PatternRgb() {
  Bytes b;
  for (uint32_t y = 0; y < kH; ++y)
    for (uint32_t x = 0; x < kW; ++x) {
      const Rgb e = Expected(x, y);
      b.push_back(e.r), b.push_back(e.g), b.push_back(e.b);
    }
  return b;
}

TEST(PnmFormat, BinaryAndPlainColour) {
  Bytes p6;
  Append(p6, "P6\n# made by hand\n5 3\n255\n");
  const Bytes rgb = PatternRgb();
  p6.insert(p6.end(), rgb.begin(), rgb.end());
  ExpectPattern(Load(p6, CXIMAGE_FORMAT_PNM));

  std::string p3 = "P3 5 3 255\n";
  for (uint8_t v : rgb) p3 += std::to_string(v) + " ";
  ExpectPattern(Load(imagetest::Bytes(p3), CXIMAGE_FORMAT_PNM));
}

TEST(PnmFormat, SixteenBitGreyAndBitmaps) {
  Bytes p5;
  Append(p5, "P5 2 1 65535\n");
  p5.insert(p5.end(), {0x80, 0x00, 0xFF, 0xFF});
  const CxImage grey = Load(p5, CXIMAGE_FORMAT_PNM);
  ASSERT_TRUE(grey.IsValid()) << grey.GetLastError();
  EXPECT_EQ(grey.GetBpp(), 8u);
  EXPECT_EQ(At(grey, 0, 0).rgbRed, 0x8000 * 255 / 65535);
  EXPECT_EQ(At(grey, 1, 0).rgbRed, 255);

  const CxImage plain = Load(imagetest::Bytes("P1\n3 2\n101\n0 1 0\n"), CXIMAGE_FORMAT_PNM);
  ASSERT_TRUE(plain.IsValid());
  EXPECT_EQ(plain.GetBpp(), 1u);
  EXPECT_EQ(At(plain, 0, 0).rgbRed, 0);  // 1 is black
  EXPECT_EQ(At(plain, 1, 0).rgbRed, 255);
  EXPECT_EQ(At(plain, 1, 1).rgbRed, 0);

  Bytes p4;
  Append(p4, "P4 10 1\n");
  p4.insert(p4.end(), {0x80, 0x40});  // pixels 0 and 9 black
  const CxImage packed = Load(p4, CXIMAGE_FORMAT_PNM);
  ASSERT_TRUE(packed.IsValid());
  EXPECT_EQ(At(packed, 0, 0).rgbRed, 0);
  EXPECT_EQ(At(packed, 1, 0).rgbRed, 255);
  EXPECT_EQ(At(packed, 9, 0).rgbRed, 0);
}

TEST(PgxFormat, EightAndSixteenBits) {
  Bytes pgx;
  Append(pgx, "PG ML + 8 3 1\n");
  pgx.insert(pgx.end(), {0, 100, 255});
  const CxImage a = Load(pgx, CXIMAGE_FORMAT_PGX);
  ASSERT_TRUE(a.IsValid()) << a.GetLastError();
  EXPECT_EQ(At(a, 1, 0).rgbRed, 100);
  Bytes wide;
  Append(wide, "PG LM +16 2 1\n");
  wide.insert(wide.end(), {0x00, 0x12, 0xFF, 0xFF});  // little-endian 0x1200, 0xFFFF
  const CxImage b = Load(wide, CXIMAGE_FORMAT_PGX);
  ASSERT_TRUE(b.IsValid()) << b.GetLastError();
  EXPECT_EQ(At(b, 0, 0).rgbRed, 0x12);
  EXPECT_EQ(At(b, 1, 0).rgbRed, 0xFF);
}

Bytes SunRaster(uint32_t type) {
  Bytes b;
  Be32(b, 0x59A66A95), Be32(b, kW), Be32(b, kH), Be32(b, 24), Be32(b, 0), Be32(b, type);
  Be32(b, 0), Be32(b, 0);
  Bytes pixels;
  for (uint32_t y = 0; y < kH; ++y) {
    for (uint32_t x = 0; x < kW; ++x) {
      const Rgb e = Expected(x, y);
      pixels.push_back(e.b), pixels.push_back(e.g), pixels.push_back(e.r);
    }
    pixels.push_back(0);  // 15 bytes per row, padded to 16
  }
  if (type != 2) {
    b.insert(b.end(), pixels.begin(), pixels.end());
  } else {
    // Byte-encoded: a run for the first pixel's blue repeated once, 0x80 escaped.
    for (uint8_t v : pixels) {
      if (v == 0x80)
        b.push_back(0x80), b.push_back(0);
      else
        b.push_back(v);
    }
  }
  return b;
}

TEST(SunRasterFormat, PlainAndByteEncoded) {
  ExpectPattern(Load(SunRaster(1), CXIMAGE_FORMAT_RAS));
  ExpectPattern(Load(SunRaster(2), CXIMAGE_FORMAT_RAS));
  Bytes run;
  Be32(run, 0x59A66A95), Be32(run, 6), Be32(run, 1), Be32(run, 8), Be32(run, 0), Be32(run, 2);
  Be32(run, 0), Be32(run, 0);
  run.insert(run.end(), {0x80, 5, 77});  // six copies of 77
  const CxImage grey = Load(run, 0);
  ASSERT_TRUE(grey.IsValid()) << grey.GetLastError();
  EXPECT_EQ(grey.GetType(), uint32_t(CXIMAGE_FORMAT_RAS));
  for (uint32_t x = 0; x < 6; ++x) EXPECT_EQ(At(grey, x, 0).rgbRed, 77);
}

Bytes TgaHeader(uint8_t type, uint8_t bpp, uint8_t descriptor) {
  Bytes b = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Le16(b, kW), Le16(b, kH);
  b.push_back(bpp), b.push_back(descriptor);
  return b;
}

TEST(TgaFormat, BottomUpTopDownAndRunLength) {
  Bytes plain = TgaHeader(2, 24, 0);
  for (uint32_t y = kH; y-- > 0;)  // bottom row first
    for (uint32_t x = 0; x < kW; ++x) {
      const Rgb e = Expected(x, y);
      plain.insert(plain.end(), {e.b, e.g, e.r});
    }
  ExpectPattern(Load(plain, CXIMAGE_FORMAT_TGA));

  Bytes rle = TgaHeader(10, 32, 0x28);  // top-left origin, 8 alpha bits
  for (uint32_t y = 0; y < kH; ++y) {
    rle.push_back(uint8_t(kW - 1));  // one raw packet per row
    for (uint32_t x = 0; x < kW; ++x) {
      const Rgb e = Expected(x, y);
      rle.insert(rle.end(), {e.b, e.g, e.r, 255});
    }
  }
  ExpectPattern(Load(rle, CXIMAGE_FORMAT_TGA));

  Bytes run = TgaHeader(10, 24, 0x20);
  run.insert(run.end(), {0x80 | 14, 1, 2, 3});  // 15 pixels of one colour across rows
  const CxImage r = Load(run, CXIMAGE_FORMAT_TGA);
  ASSERT_TRUE(r.IsValid()) << r.GetLastError();
  EXPECT_EQ(At(r, 4, 2).rgbRed, 3);
  EXPECT_EQ(At(r, 4, 2).rgbBlue, 1);
}

Bytes PcxHeader(uint8_t bits, uint8_t planes, uint16_t bytesPerLine) {
  Bytes b(128, 0);
  b[0] = 0x0A, b[1] = 5, b[2] = 1, b[3] = bits;
  b[8] = kW - 1, b[10] = kH - 1;
  b[65] = planes;
  b[66] = uint8_t(bytesPerLine), b[67] = uint8_t(bytesPerLine >> 8);
  return b;
}

void PcxPut(Bytes& b, uint8_t v) {
  if (v >= 0xC0) b.push_back(0xC1);  // values with the top bits set need a run of one
  b.push_back(v);
}

TEST(PcxFormat, TrueColourPlanesAndPalette) {
  Bytes rgb = PcxHeader(8, 3, 6);  // even bytes per line, as writers do
  for (uint32_t y = 0; y < kH; ++y)
    for (int plane = 0; plane < 3; ++plane) {
      for (uint32_t x = 0; x < kW; ++x) {
        const Rgb e = Expected(x, y);
        PcxPut(rgb, plane == 0 ? e.r : plane == 1 ? e.g : e.b);
      }
      rgb.push_back(0);
    }
  ExpectPattern(Load(rgb, CXIMAGE_FORMAT_PCX));

  Bytes pal = PcxHeader(8, 1, 6);
  for (uint32_t y = 0; y < kH; ++y) {
    pal.insert(pal.end(), {0xC5, 7});  // five pixels of colour 7
    pal.push_back(0);
  }
  pal.push_back(0x0C);
  for (int i = 0; i < 256; ++i) pal.insert(pal.end(), {uint8_t(i), uint8_t(255 - i), 9});
  const CxImage p = Load(pal, CXIMAGE_FORMAT_PCX);
  ASSERT_TRUE(p.IsValid()) << p.GetLastError();
  EXPECT_EQ(p.GetBpp(), 8u);
  EXPECT_EQ(At(p, 4, 2).rgbRed, 7);
  EXPECT_EQ(At(p, 4, 2).rgbGreen, 248);
}

TEST(WbmpFormat, RowsOfBits) {
  const Bytes file = {0, 0, 10, 2, 0xC0, 0x40, 0x00, 0x00};  // 10 × 2, top row 11000000 01
  const CxImage img = Load(file, CXIMAGE_FORMAT_WBMP);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_EQ(At(img, 0, 0).rgbRed, 255);  // 1 is white
  EXPECT_EQ(At(img, 2, 0).rgbRed, 0);
  EXPECT_EQ(At(img, 9, 0).rgbRed, 255);
  EXPECT_EQ(At(img, 9, 1).rgbRed, 0);
  const CxImage found = Load(file, 0);
  EXPECT_EQ(found.GetType(), uint32_t(CXIMAGE_FORMAT_WBMP));
}

Bytes Dib32(uint32_t w, uint32_t h, bool withAlpha) {
  Bytes b;
  Le32(b, 40), Le32(b, w), Le32(b, h * 2), Le16(b, 1), Le16(b, 32), Le32(b, 0), Le32(b, 0);
  Le32(b, 0), Le32(b, 0), Le32(b, 0), Le32(b, 0);
  for (uint32_t y = h; y-- > 0;)
    for (uint32_t x = 0; x < w; ++x) {
      const Rgb e = Expected(x, y);
      b.insert(b.end(), {e.b, e.g, e.r, uint8_t(withAlpha ? (x == 0 ? 0 : 255) : 0)});
    }
  for (uint32_t y = 0; y < h; ++y) Le32(b, 0);  // AND mask: nothing masked
  return b;
}

Bytes Icon(const Bytes& picture, uint8_t w, uint8_t h) {
  Bytes b;
  Le16(b, 0), Le16(b, 1), Le16(b, 1);
  b.insert(b.end(), {w, h, 0, 0});
  Le16(b, 1), Le16(b, 32), Le32(b, uint32_t(picture.size())), Le32(b, 22);
  b.insert(b.end(), picture.begin(), picture.end());
  return b;
}

TEST(IcoFormat, DibWithAlphaOverWhite) {
  const CxImage img = Load(Icon(Dib32(kW, kH, true), kW, kH), CXIMAGE_FORMAT_ICO);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_EQ(img.GetHeight(), kH);
  EXPECT_EQ(At(img, 0, 1).rgbGreen, 255);  // transparent column
  EXPECT_EQ(At(img, 3, 2).rgbRed, Expected(3, 2).r);
  ExpectPattern(Load(Icon(Dib32(kW, kH, false), kW, kH), CXIMAGE_FORMAT_ICO));
}

TEST(IcoFormat, EmbeddedPng) {
  testsupport::TempDir dir;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kW;
  image.height = kH;
  image.format = PNG_FORMAT_RGB;
  const Bytes rgb = PatternRgb();
  ASSERT_TRUE(png_image_write_to_file(&image, (dir / "i.png").c_str(), 0, rgb.data(), 0, nullptr));
  const Bytes png = imagetest::Bytes(testsupport::ReadFile(dir / "i.png"));
  ExpectPattern(Load(Icon(png, kW, kH), CXIMAGE_FORMAT_ICO));
}

Bytes Bmp(uint32_t headerSize, int32_t height, uint16_t bpp, uint32_t compression,
          const Bytes& extra, const Bytes& pixels) {
  Bytes b = {'B', 'M'};
  const uint32_t offset = 14 + headerSize + uint32_t(extra.size());
  Le32(b, offset + uint32_t(pixels.size())), Le32(b, 0), Le32(b, offset);
  if (headerSize == 12) {
    Le32(b, 12), Le16(b, kW), Le16(b, uint32_t(height)), Le16(b, 1), Le16(b, bpp);
  } else {
    Le32(b, 40), Le32(b, kW), Le32(b, uint32_t(height)), Le16(b, 1), Le16(b, bpp);
    Le32(b, compression), Le32(b, 0), Le32(b, 0), Le32(b, 0), Le32(b, 0), Le32(b, 0);
  }
  b.insert(b.end(), extra.begin(), extra.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

TEST(BmpFormat, TopDownSixteenThirtyTwoBitfieldsAndCoreHeader) {
  Bytes top, p565, p32;
  for (uint32_t y = 0; y < kH; ++y) {
    for (uint32_t x = 0; x < kW; ++x) {
      const Rgb e = Expected(x, y);
      top.insert(top.end(), {e.b, e.g, e.r});
      p32.insert(p32.end(), {e.b, e.g, e.r, 0});
    }
    top.push_back(0);  // 15 bytes per row, padded to 16
  }
  ExpectPattern(Load(Bmp(40, -int32_t(kH), 24, 0, {}, top), CXIMAGE_FORMAT_BMP));
  ExpectPattern(Load(Bmp(40, -int32_t(kH), 32, 0, {}, p32), CXIMAGE_FORMAT_BMP));
  // Bit fields 5-6-5: full-intensity fields must come back as 255.
  Bytes masks;
  Le32(masks, 0xF800), Le32(masks, 0x07E0), Le32(masks, 0x001F);
  for (uint32_t y = 0; y < kH; ++y) {
    for (uint32_t x = 0; x < kW; ++x) Le16(p565, x == 0 ? 0xFFFF : 0xF800);
    Le16(p565, 0);
  }
  const CxImage b565 = Load(Bmp(40, kH, 16, 3, masks, p565), CXIMAGE_FORMAT_BMP);
  ASSERT_TRUE(b565.IsValid()) << b565.GetLastError();
  EXPECT_EQ(At(b565, 0, 0).rgbBlue, 255);
  EXPECT_EQ(At(b565, 1, 0).rgbRed, 255);
  EXPECT_EQ(At(b565, 1, 0).rgbGreen, 0);
  // An OS/2 core header with a three-byte palette.
  Bytes pal = {0, 0, 0, 10, 20, 30};
  Bytes rows;
  for (uint32_t y = 0; y < kH; ++y) rows.insert(rows.end(), {0x48, 0, 0, 0});  // 01001 …
  const CxImage core = Load(Bmp(12, kH, 1, 0, pal, rows), CXIMAGE_FORMAT_BMP);
  ASSERT_TRUE(core.IsValid()) << core.GetLastError();
  EXPECT_EQ(At(core, 1, 0).rgbRed, 30);
  EXPECT_EQ(At(core, 0, 0).rgbRed, 0);
}

TEST(BmpFormat, RunLengthEightBit) {
  Bytes pal(256 * 4, 0);
  pal[4 * 9 + 2] = 200;  // colour 9 is red 200
  // Bottom row: run of 2 × colour 9, then an absolute run of 3 (padded to a word); end of
  // line; delta (1, 1); a run of one; end of picture.
  const Bytes rle = {2, 9, 0, 3, 9, 9, 0, 0, 0, 0, 0, 2, 1, 1, 1, 9, 0, 1};
  const CxImage img = Load(Bmp(40, kH, 8, 1, pal, rle), CXIMAGE_FORMAT_BMP);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_EQ(img.GetPixelIndex(0, 0), 9);
  EXPECT_EQ(img.GetPixelIndex(2, 0), 9);
  EXPECT_EQ(img.GetPixelIndex(3, 0), 9);
  EXPECT_EQ(img.GetPixelIndex(4, 0), 0);
  EXPECT_EQ(img.GetPixelIndex(1, 2), 9);  // after the delta (1, 1) from the start of row 1
  EXPECT_EQ(img.GetPixelColor(1, 2).rgbRed, 200);
}

TEST(WmfFormat, RecognisedButNotRendered) {
  Bytes placeable = {0xD7, 0xCD, 0xC6, 0x9A};
  placeable.resize(64, 0);
  for (uint32_t code : {uint32_t(CXIMAGE_FORMAT_WMF), 0u}) {
    const CxImage img = Load(placeable, code);
    EXPECT_FALSE(img.IsValid());
    EXPECT_STREQ(img.GetLastError(), "WMF/EMF pictures are not supported on this system");
  }
}

TEST(TiffFormat, RgbStripsFromLibtiff) {
  testsupport::TempDir dir;
  const std::string path = (dir / "a.tif").string();
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(tif, nullptr);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kW);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kH);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 2);
  Bytes rgb = PatternRgb();
  for (uint32_t y = 0; y < kH; ++y) ASSERT_EQ(TIFFWriteScanline(tif, &rgb[y * kW * 3], y, 0), 1);
  TIFFClose(tif);
  CxImage img(path, CXIMAGE_FORMAT_TIF);
  ExpectPattern(img);
  // Named as something else, it is still found.
  std::filesystem::rename(path, dir / "a.png");
  CxImage renamed((dir / "a.png").string(), CXIMAGE_FORMAT_PNG);
  ExpectPattern(renamed);
  EXPECT_EQ(renamed.GetType(), uint32_t(CXIMAGE_FORMAT_TIF));
}

}  // namespace
