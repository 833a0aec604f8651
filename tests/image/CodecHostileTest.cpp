// Broken, truncated and absurd files: every one fails with a text, none crashes or allocates
// past the picture limit (the sanitizer build runs these too).
#include <gtest/gtest.h>

#include <zlib.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

struct Sample {
  const char* name;
  uint32_t format;
};

std::vector<uint8_t> Encode(const CxImage& img, uint32_t format) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(img.Encode(out, format));
  return out;
}

std::vector<uint8_t> ValidFile(uint32_t format) {
  CxImage img = imagetest::MakePattern(23, 17);
  if (format == CXIMAGE_FORMAT_GIF) img.DecreaseBpp(8, false);
  return Encode(img, format);
}

class Truncated : public ::testing::TestWithParam<Sample> {};

TEST_P(Truncated, EveryPrefixFailsCleanly) {
  const std::vector<uint8_t> file = ValidFile(GetParam().format);
  for (size_t n = 0; n < file.size(); ++n) {
    CxImage img;
    const bool ok = img.Decode(file.data(), n, GetParam().format);
    // Only trailing bytes that carry no pixels (padding, end markers) may be missing.
    if (ok) {
      EXPECT_GT(n, file.size() * 9 / 10) << n;
      EXPECT_EQ(img.GetWidth(), 23u);
    } else {
      EXPECT_FALSE(img.IsValid());
      EXPECT_STRNE(img.GetLastError(), "") << n;
    }
  }
}

TEST_P(Truncated, RandomCorruptionNeverCrashes) {
  const std::vector<uint8_t> file = ValidFile(GetParam().format);
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<uint8_t> bad = file;
    const int flips = 1 + int(rng() % 8);
    for (int i = 0; i < flips; ++i) bad[rng() % bad.size()] = uint8_t(rng());
    CxImage img;
    if (img.Decode(bad.data(), bad.size(), GetParam().format)) {
      EXPECT_LE(uint64_t(img.GetWidth()) * img.GetHeight() * img.GetBpp() / 8,
                uint64_t(kCxImageMaxMemory));
    } else {
      EXPECT_STRNE(img.GetLastError(), "");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, Truncated,
                         ::testing::Values(Sample{"bmp", CXIMAGE_FORMAT_BMP},
                                           Sample{"gif", CXIMAGE_FORMAT_GIF},
                                           Sample{"jpg", CXIMAGE_FORMAT_JPG}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Hostile, EmptyInputFailsForEveryFormatCode) {
  for (uint32_t code = 0; code <= 20; ++code) {
    CxImage img;
    const uint8_t nothing = 0;
    EXPECT_FALSE(img.Decode(&nothing, 0, code)) << code;
    EXPECT_STRNE(img.GetLastError(), "") << code;
  }
}

TEST(Hostile, GarbageIsUnknown) {
  const std::string text = "Just some words, no picture in here.";
  CxImage img;
  EXPECT_FALSE(img.Decode(reinterpret_cast<const uint8_t*>(text.data()), text.size(), 0));
  EXPECT_STREQ(img.GetLastError(), "Decode: Unknown format");
}

TEST(Hostile, HugeBmpHeaderHitsTheMemoryLimit) {
  std::vector<uint8_t> file = ValidFile(CXIMAGE_FORMAT_BMP);
  const uint32_t huge = 100000;
  std::memcpy(&file[14 + 4], &huge, 4);
  std::memcpy(&file[14 + 8], &huge, 4);
  CxImage img;
  EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_BMP));
  EXPECT_STREQ(img.GetLastError(), "CXIMAGE_MAX_MEMORY exceeded");
}

TEST(Hostile, HugeJpegFrameHitsTheMemoryLimit) {
  std::vector<uint8_t> file = ValidFile(CXIMAGE_FORMAT_JPG);
  for (size_t i = 2; i + 9 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      file[i + 5] = file[i + 7] = 0xEA;  // 60000 × 60000, inside what JPEG allows
      file[i + 6] = file[i + 8] = 0x60;
      break;
    }
  CxImage img;
  EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_JPG));
  EXPECT_STREQ(img.GetLastError(), "CXIMAGE_MAX_MEMORY exceeded");
}

TEST(Hostile, HugeGifScreenHitsTheMemoryLimit) {
  std::vector<uint8_t> file = ValidFile(CXIMAGE_FORMAT_GIF);
  file[6] = file[7] = file[8] = file[9] = 0xFF;
  CxImage img;
  EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_GIF));
  EXPECT_STREQ(img.GetLastError(), "CXIMAGE_MAX_MEMORY exceeded");
}

TEST(Hostile, HugePngHeaderHitsTheMemoryLimit) {
  // Signature, an IHDR of 100000 × 100000 RGB and an empty IDAT, with correct checksums.
  std::vector<uint8_t> file = {0x89, 'P', 'N',  'G',  0x0D, 0x0A, 0x1A, 0x0A, 0,    0,
                               0,    13,  'I',  'H',  'D',  'R',  0,    1,    0x86, 0xA0,
                               0,    1,   0x86, 0xA0, 8,    2,    0,    0,    0};
  const uLong crc = crc32(0, file.data() + 12, 17);
  for (int i = 3; i >= 0; --i) file.push_back(uint8_t(crc >> (8 * i)));
  const uint8_t idat[8] = {0, 0, 0, 0, 'I', 'D', 'A', 'T'};
  file.insert(file.end(), idat, idat + 8);
  const uLong idatCrc = crc32(0, idat + 4, 4);
  for (int i = 3; i >= 0; --i) file.push_back(uint8_t(idatCrc >> (8 * i)));
  CxImage img;
  EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_PNG));
  EXPECT_STREQ(img.GetLastError(), "CXIMAGE_MAX_MEMORY exceeded");
}

// Found by fuzzing: a 285-byte JBIG file declaring 16.7 million × 73 pixels kept the decoder
// busy for seconds; such sizes are refused before decoding.
TEST(Hostile, JbigDeclaringHugeRowsIsRefusedQuickly) {
  const std::string bytes = testsupport::ReadFile(IMAGE_TEST_DATA "/jbig-wide-slow.jbg");
  ASSERT_FALSE(bytes.empty());
  const auto start = std::chrono::steady_clock::now();
  CxImage img;
  EXPECT_FALSE(img.Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_STRNE(img.GetLastError(), "");
}

}  // namespace
