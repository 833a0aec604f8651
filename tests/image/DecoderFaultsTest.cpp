// Corners of the small readers that once went wrong: comments inside plain bitmaps, zero-length
// PCX runs and JBIG files that state their height only at the end.
#include <gtest/gtest.h>

extern "C" {
#include <jbig.h>
}

#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"

namespace {

using Bytes = std::vector<uint8_t>;
using imagetest::At;

CxImage Load(const Bytes& file, uint32_t format) {
  CxImage img;
  img.Decode(file.data(), file.size(), format);
  return img;
}

// Reads back a 1-bit picture as a string of '1' (black) and '0', row by row from the top.
std::string Bits(const CxImage& img) {
  std::string s;
  for (uint32_t y = 0; y < img.GetHeight(); ++y) {
    if (y) s += '/';
    for (uint32_t x = 0; x < img.GetWidth(); ++x) s += At(img, x, y).rgbRed == 0 ? '1' : '0';
  }
  return s;
}

TEST(PnmPlainBitmap, CommentsBetweenSamplesHideNoSamples) {
  struct Case {
    const char* file;
    const char* bits;
  };
  for (const Case& c : {Case{"P1\n4 2\n1 0 # a note\n0 1\n1 1 0 0\n", "1001/1100"},
                        Case{"P1 4 2\n10# right after a digit\n01\n# a line\n1100", "1001/1100"},
                        Case{"P1 4 1 #0000\n1010", "1010"}, Case{"P1 3 1\n1#\r0 1", "101"}}) {
    const CxImage img = Load(imagetest::Bytes(c.file), CXIMAGE_FORMAT_PNM);
    ASSERT_TRUE(img.IsValid()) << c.file << ": " << img.GetLastError();
    EXPECT_EQ(Bits(img), c.bits) << c.file;
  }
  // A comment that runs to the end of the file leaves the picture short.
  const CxImage cut = Load(imagetest::Bytes("P1 3 1\n1 # 0 1"), CXIMAGE_FORMAT_PNM);
  EXPECT_FALSE(cut.IsValid());
  EXPECT_STREQ(cut.GetLastError(), "PNM file is truncated");
}

Bytes PcxHeader(uint16_t width, uint16_t height, uint16_t bytesPerLine) {
  Bytes b(128, 0);
  b[0] = 0x0A, b[1] = 5, b[2] = 1, b[3] = 8;
  b[8] = uint8_t(width - 1), b[10] = uint8_t(height - 1);
  b[65] = 1;
  b[66] = uint8_t(bytesPerLine), b[67] = uint8_t(bytesPerLine >> 8);
  return b;
}

// A run of length zero (0xC0 and a value) stands for no bytes at all: the next code fills the
// byte, so every byte of every row comes from the file.
TEST(PcxRuns, ZeroLengthRunsAddNothing) {
  Bytes file = PcxHeader(4, 2, 4);
  file.insert(file.end(), {0xC0, 0x55, 1, 2, 0xC0, 0x66, 3, 4});        // row 0: 1 2 3 4
  file.insert(file.end(), {0xC2, 9, 0xC0, 0x77, 0xC0, 0x77, 0xC2, 8});  // row 1: 9 9 8 8
  const CxImage img = Load(file, CXIMAGE_FORMAT_PCX);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  const uint8_t expected[2][4] = {{1, 2, 3, 4}, {9, 9, 8, 8}};
  for (uint32_t y = 0; y < 2; ++y)
    for (uint32_t x = 0; x < 4; ++x)
      EXPECT_EQ(img.GetPixelIndex(x, 1 - y), expected[y][x]) << x << "," << y;
  // Zero runs to the end of the data leave the row unfinished: the file is truncated.
  Bytes cut = PcxHeader(4, 1, 4);
  cut.insert(cut.end(), {1, 2, 3, 0xC0, 0x55, 0xC0, 0x55});
  const CxImage bad = Load(cut, CXIMAGE_FORMAT_PCX);
  EXPECT_FALSE(bad.IsValid());
  EXPECT_STREQ(bad.GetLastError(), "PCX file is truncated");
}

void CollectBytes(unsigned char* start, size_t len, void* file) {
  auto* out = static_cast<Bytes*>(file);
  out->insert(out->end(), start, start + len);
}

// A JBIG file as a fax machine sends it: encoded before the page length was known, the header
// gives a placeholder height and a NEWLEN marker after the data gives the real one.
Bytes JbigWithPlaceholderHeight(uint32_t w, uint32_t h, std::vector<unsigned char>& bitmap) {
  unsigned char* planes[1] = {bitmap.data()};
  Bytes file;
  jbg_enc_state enc;
  jbg_enc_init(&enc, w, h, 1, planes, CollectBytes, &file);
  jbg_enc_options(&enc, -1, JBG_TPDON | JBG_TPBON | JBG_DPON | JBG_VLENGTH, 8, -1, -1);
  jbg_enc_out(&enc);
  jbg_enc_free(&enc);
  for (int i = 8; i < 12; ++i) file[i] = 0xFF;  // the placeholder height
  file.insert(file.end(), {0xFF, 0x05});        // NEWLEN with the real height
  for (int i = 3; i >= 0; --i) file.push_back(uint8_t(h >> (8 * i)));
  return file;
}

TEST(JbigHeight, PlaceholderHeightTakesTheNewLengthMarker) {
  const uint32_t w = 20, h = 21;
  std::vector<unsigned char> bitmap((w + 7) / 8 * h, 0);
  bitmap[0] = 0x80;                          // (0, 0) black
  bitmap[(w + 7) / 8 * (h - 1) + 2] = 0x10;  // (19, 20) black
  const Bytes file = JbigWithPlaceholderHeight(w, h, bitmap);
  const CxImage img = Load(file, CXIMAGE_FORMAT_UNKNOWN);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_EQ(img.GetType(), uint32_t(CXIMAGE_FORMAT_JBG));
  EXPECT_EQ(img.GetWidth(), w);
  EXPECT_EQ(img.GetHeight(), h);
  EXPECT_EQ(At(img, 0, 0).rgbRed, 0);
  EXPECT_EQ(At(img, 1, 0).rgbRed, 255);
  EXPECT_EQ(At(img, 19, 20).rgbRed, 0);
  EXPECT_EQ(At(img, 19, 19).rgbRed, 255);

  // Without the marker the placeholder stands, and that many rows are refused.
  const Bytes unended(file.begin(), file.end() - 6);
  const CxImage refused = Load(unended, CXIMAGE_FORMAT_JBG);
  EXPECT_FALSE(refused.IsValid());
  EXPECT_STREQ(refused.GetLastError(), "CXIMAGE_MAX_MEMORY exceeded");
  // A new length past what the picture is allowed to hold is refused the same way.
  Bytes tooTall = file;
  tooTall[tooTall.size() - 4] = 0x7F;
  const CxImage tall = Load(tooTall, CXIMAGE_FORMAT_JBG);
  EXPECT_FALSE(tall.IsValid());
  EXPECT_STRNE(tall.GetLastError(), "");
}

}  // namespace
