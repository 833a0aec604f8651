// JPEG reading paths: threaded stripes, one-pass fallbacks, progressive and CMYK files, DCT
// scaling for thumbnails. Files are written here with libjpeg so each layout is certain.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;
using imagetest::At;

struct Layout {
  bool progressive = false;
  int restartRows = 0;      // restart marker every n rows of blocks
  int restartInterval = 0;  // or every n blocks
  bool gray = false;
  bool cmyk = false;  // written inverted, with an Adobe marker, as Photoshop does
};

Bytes WriteJpeg(const CxImage& img, const Layout& layout) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  const uint32_t w = img.GetWidth(), h = img.GetHeight();
  c.image_width = w;
  c.image_height = h;
  c.input_components = layout.gray ? 1 : layout.cmyk ? 4 : 3;
  c.in_color_space = layout.gray ? JCS_GRAYSCALE : layout.cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  if (layout.progressive) jpeg_simple_progression(&c);
  c.restart_in_rows = layout.restartRows;
  c.restart_interval = unsigned(layout.restartInterval);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t(w) * 4);
  while (c.next_scanline < h) {
    for (uint32_t x = 0; x < w; ++x) {
      const RGBQUAD p = At(img, x, c.next_scanline);
      if (layout.gray) {
        row[x] = p.rgbGreen;
      } else if (layout.cmyk) {
        row[4 * x] = p.rgbRed, row[4 * x + 1] = p.rgbGreen, row[4 * x + 2] = p.rgbBlue;
        row[4 * x + 3] = 255;  // inverted: 255 means no black ink
      } else {
        row[3 * x] = p.rgbRed, row[3 * x + 1] = p.rgbGreen, row[3 * x + 2] = p.rgbBlue;
      }
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(mem, mem + size);
  std::free(mem);
  return out;
}

CxImage Decode(const Bytes& file) {
  CxImage img;
  EXPECT_TRUE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_JPG)) << img.GetLastError();
  return img;
}

// What libjpeg itself makes of the file in one pass, as the reference for our paths.
CxImage Reference(const Bytes& file) {
  jpeg_decompress_struct d;
  jpeg_error_mgr err;
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&d, TRUE);
  d.out_color_space = d.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_start_decompress(&d);
  CxImage img;
  img.Create(d.output_width, d.output_height, d.out_color_space == JCS_GRAYSCALE ? 8 : 24);
  if (img.GetBpp() == 8) img.SetGrayPalette();
  while (d.output_scanline < d.output_height) {
    JSAMPROW r = img.GetBits(d.output_height - 1 - d.output_scanline);
    jpeg_read_scanlines(&d, &r, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return img;
}

void ExpectSamePixels(const CxImage& a, const CxImage& b) {
  ASSERT_TRUE(a.IsValid());
  ASSERT_EQ(a.GetDIBSize(), b.GetDIBSize());
  const size_t offset = 40 + a.GetNumColors() * 4;
  EXPECT_EQ(std::memcmp(a.GetDIB() + offset, b.GetDIB() + offset, a.GetDIBSize() - offset), 0);
}

struct LayoutCase {
  const char* name;
  Layout layout;
};

class JpegLayouts : public ::testing::TestWithParam<LayoutCase> {};

// Tall pictures take the threaded path when restart markers fall on block rows, and the one-pass
// path otherwise; both must give exactly libjpeg's own result.
TEST_P(JpegLayouts, DecodeMatchesLibjpegExactly) {
  const CxImage src = imagetest::MakePattern(203, 1500);
  const Bytes file = WriteJpeg(src, GetParam().layout);
  ExpectSamePixels(Decode(file), Reference(file));
}

INSTANTIATE_TEST_SUITE_P(Files, JpegLayouts,
                         ::testing::Values(LayoutCase{"NoRestarts", {}},
                                           LayoutCase{"RestartEveryRow", {false, 1}},
                                           LayoutCase{"RestartEveryThirdRow", {false, 3}},
                                           LayoutCase{"RestartMidRow", {false, 0, 7}},
                                           LayoutCase{"GrayRestartEveryRow", {false, 1, 0, true}},
                                           LayoutCase{"Progressive", {true, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegRead, AdobeCmykBecomesTrueColour) {
  const CxImage src = imagetest::MakePattern(32, 16);
  Layout cmyk;
  cmyk.cmyk = true;
  const CxImage img = Decode(WriteJpeg(src, cmyk));
  ASSERT_EQ(img.GetBpp(), 24u);
  int worst = 0;
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 32; ++x)
      worst = std::max(worst, std::abs(At(img, x, y).rgbRed - At(src, x, y).rgbRed));
  EXPECT_LE(worst, 12);
}

TEST(JpegRead, ThumbnailUsesDctScaling) {
  const CxImage src = imagetest::MakePattern(800, 600);
  const Bytes file = WriteJpeg(src, {});
  testsupport::TempDir dir;
  const std::string path = (dir / "t.jpg").string();
  testsupport::WriteFile(path, std::string(file.begin(), file.end()));
  CxImage img;
  // 800 × 600 into 200 × 200: a quarter-size decode (200 × 150) already fits.
  ASSERT_TRUE(img.LoadThumbnail(path, CXIMAGE_FORMAT_JPG, 200, 200));
  EXPECT_EQ(img.GetWidth(), 200u);
  EXPECT_EQ(img.GetHeight(), 150u);
}

TEST(JpegRead, EndOfFileMissingFails) {
  const Bytes file = WriteJpeg(imagetest::MakePattern(64, 64), {});
  CxImage img;
  EXPECT_FALSE(img.Decode(file.data(), file.size() / 2, CXIMAGE_FORMAT_JPG));
  EXPECT_STREQ(img.GetLastError(), "Premature end of JPEG file");
}

// Splits a file into its marker segments up to the scan; the last entry runs from the scan
// header to the end of the file.
std::vector<Bytes> Segments(const Bytes& file) {
  std::vector<Bytes> out;
  size_t pos = 2;
  while (pos + 4 <= file.size()) {
    const size_t length = size_t(file[pos + 2]) << 8 | file[pos + 3];
    if (file[pos + 1] == 0xDA) {
      out.emplace_back(file.begin() + long(pos), file.end());
      break;
    }
    out.emplace_back(file.begin() + long(pos), file.begin() + long(pos + 2 + length));
    pos += 2 + length;
  }
  return out;
}

// Stand-alone markers (TEM, RSTn) carry no length. A reader that takes the next two bytes for
// one walks another marker chain than libjpeg: here it takes a frame header that libjpeg never
// sees, and the height it writes into each stripe's copy of that header lands on the length of
// a comment of libjpeg's chain, which then leads every stripe decoder to a frame 4000 pixels
// wide. The whole-file decoder sees an 8 x 2048 picture. Built for two stripes.
Bytes StripesDisagreeFile() {
  CxImage src;
  src.Create(8, 2048, 8);
  src.SetGrayPalette();
  Layout gray;
  gray.gray = true;
  gray.restartRows = 1;
  const Bytes plain = WriteJpeg(src, gray);
  Bytes file(1067, 0);
  const auto put = [&](size_t at, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + long(at));
  };
  put(0, {0xFF, 0xD8});
  put(2, {0xFF, 0x01, 0x00, 0x0D});    // TEM, then garbage libjpeg skips
  put(6, {0xFF, 0xFE, 0x00, 0x0C});    // libjpeg: comment over the fake frame header
  put(17, {0xFF, 0xC0, 0x00});         // the misled reader's frame header, "length" 255
  put(20, {0xFF, 0xFE, 0x03, 0xF7});   // libjpeg: comment to the real frame (1037)
  put(274, {0xFF, 0xFE, 0x03, 0x17});  // the misled reader: comment to the tables (1067)
  put(1037, {0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x08, 0x00, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00});
  put(1050, {0xFF, 0xFE, 0x00, 0x0F});  // hides the wide frame from the whole-file decoder
  put(1054, {0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x04, 0x08, 0x0F, 0xA0, 0x01, 0x01, 0x11, 0x00});
  for (const Bytes& segment : Segments(plain))
    if (segment[1] != 0xC0) file.insert(file.end(), segment.begin(), segment.end());
  return file;
}

TEST(JpegStripes, MarkerChainsThatDisagreeNeverWritePastTheRows) {
  const Bytes file = StripesDisagreeFile();
  const CxImage img = Decode(file);
  EXPECT_EQ(img.GetWidth(), 8u);
  EXPECT_EQ(img.GetHeight(), 2048u);
  ExpectSamePixels(img, Reference(file));
}

// Stand-alone markers and fill bytes between the header segments are legal; such files still
// decode exactly as libjpeg does.
TEST(JpegStripes, StandAloneMarkersInTheHeaderAreSkipped) {
  const Bytes plain = WriteJpeg(imagetest::MakePattern(203, 1500), {false, 1});
  Bytes file = {0xFF, 0xD8, 0xFF, 0x01, 0xFF, 0xD3, 0xFF, 0xFF};
  for (const Bytes& segment : Segments(plain)) {
    file.insert(file.end(), segment.begin(), segment.end());
    if (segment[1] != 0xDA) file.insert(file.end(), {0xFF, 0x01});
  }
  ExpectSamePixels(Decode(file), Reference(file));
}

}  // namespace
