#include "app/image/CxImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "app/image/DibFunctions.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

using imagetest::At;
using imagetest::MakePattern;

struct CreateCase {
  uint32_t w, h, bpp;
  const char* error;  // nullptr when create succeeds
};

class CreateLimits : public ::testing::TestWithParam<CreateCase> {};

TEST_P(CreateLimits, FailsWithExactText) {
  const CreateCase& c = GetParam();
  CxImage img;
  const bool ok = img.Create(c.w, c.h, c.bpp);
  if (c.error) {
    EXPECT_FALSE(ok);
    EXPECT_FALSE(img.IsValid());
    EXPECT_STREQ(img.GetLastError(), c.error);
  } else {
    EXPECT_TRUE(ok) << img.GetLastError();
    EXPECT_TRUE(img.IsValid());
  }
}

constexpr const char* kZero = "CxImage::Create : width and height must be greater than zero";
constexpr const char* kMax = "CXIMAGE_MAX_MEMORY exceeded";

INSTANTIATE_TEST_SUITE_P(
    Sizes, CreateLimits,
    ::testing::Values(CreateCase{0, 10, 24, kZero}, CreateCase{10, 0, 24, kZero},
                      CreateCase{0, 0, 8, kZero}, CreateCase{10000, 10000, 24, kMax},
                      // 268,435,456 bytes exactly is allowed, one pixel row more is not.
                      CreateCase{16384, 16384, 8, nullptr}, CreateCase{16384, 16385, 8, kMax},
                      // The product no longer fits in 32 bits.
                      CreateCase{0x10000, 0x10000, 24, kMax},
                      CreateCase{0xFFFFFFFF, 0xFFFFFFFF, 1, kMax}, CreateCase{1, 1, 1, nullptr},
                      // Rows are padded to 4 bytes: the padding counts against the limit too.
                      CreateCase{1, 0x80000000u, 1, kMax}, CreateCase{1, 67108864, 24, nullptr},
                      CreateCase{1, 67108865, 24, kMax}, CreateCase{3, 67108865, 8, kMax}));

TEST(CxImage, CreateRoundsDepthUpAndLaysOutThePackedDib) {
  struct {
    uint32_t asked, stored, colors;
  } cases[] = {{0, 1, 2},   {1, 1, 2},   {2, 4, 16},  {4, 4, 16}, {5, 8, 256},
               {8, 8, 256}, {16, 24, 0}, {24, 24, 0}, {32, 24, 0}};
  for (const auto& c : cases) {
    CxImage img;
    ASSERT_TRUE(img.Create(3, 2, c.asked));
    EXPECT_EQ(img.GetBpp(), c.stored) << c.asked;
    EXPECT_EQ(img.GetNumColors(), c.colors);
    const uint32_t eff = ((3 * c.stored + 31) / 32) * 4;
    EXPECT_EQ(img.GetEffWidth(), eff);
    EXPECT_EQ(img.GetDIBSize(), 40 + c.colors * 4 + eff * 2);
    const uint8_t* dib = img.GetDIB();
    EXPECT_EQ(DibWidth(dib), 3);
    EXPECT_EQ(DibHeight(dib), 2);
    EXPECT_EQ(DibBitCount(dib), c.stored);
    EXPECT_EQ(DibBits(dib), img.GetBits(0));
    // Colour table and rows start zeroed.
    for (size_t i = 40; i < img.GetDIBSize(); ++i) ASSERT_EQ(dib[i], 0) << i;
  }
}

TEST(CxImage, HeaderCarriesResolutionOf96Dpi) {
  CxImage img;
  ASSERT_TRUE(img.Create(1, 1, 24));
  EXPECT_EQ(img.GetXDPI(), 96u);
  EXPECT_EQ(img.GetYDPI(), 96u);
  uint32_t ppm;
  std::memcpy(&ppm, img.GetDIB() + 24, 4);
  EXPECT_EQ(ppm, 3780u);  // 96 / 0.0254, rounded
}

TEST(CxImage, DefaultsOfAnEmptyObject) {
  CxImage img(0);
  EXPECT_FALSE(img.IsValid());
  EXPECT_EQ(img.GetDIB(), nullptr);
  EXPECT_FALSE(img.CopyToHandle().has_value());
  EXPECT_EQ(img.GetJpegQuality(), 90.0f);
  EXPECT_EQ(img.GetTransIndex(), -1);
  EXPECT_STREQ(img.GetLastError(), "");
}

TEST(CxImage, CreateDiscardsOldContent) {
  CxImage img;
  ASSERT_TRUE(img.Create(4, 4, 8));
  img.SetPaletteColor(3, 1, 2, 3);
  img.SetPixelIndex(1, 1, 3);
  ASSERT_TRUE(img.Create(4, 4, 8));
  EXPECT_EQ(img.GetPaletteColor(3).rgbRed, 0);
  EXPECT_EQ(img.GetPixelIndex(1, 1), 0);
  EXPECT_FALSE(img.Create(0, 4, 8));
  EXPECT_FALSE(img.IsValid());
}

TEST(CxImage, TransparentIndexRule) {
  CxImage img;
  ASSERT_TRUE(img.Create(2, 2, 4));
  img.SetTransIndex(15);
  EXPECT_EQ(img.GetTransIndex(), 15);
  img.SetTransIndex(16);  // not below the colour count
  EXPECT_EQ(img.GetTransIndex(), 0);
  img.SetTransIndex(-1);
  EXPECT_EQ(img.GetTransIndex(), -1);
  img.SetTransIndex(-7);
  EXPECT_EQ(img.GetTransIndex(), -1);
}

TEST(CxImage, CopyToHandleIsAnExactCopy) {
  CxImage img = MakePattern(5, 3);
  const auto block = img.CopyToHandle();
  ASSERT_TRUE(block.has_value());
  ASSERT_EQ(block->size(), img.GetDIBSize());
  EXPECT_EQ(std::memcmp(block->data(), img.GetDIB(), block->size()), 0);
}

TEST(CxImage, CopiesAreIndependent) {
  CxImage a = MakePattern(4, 4);
  a.SetJpegQuality(55);
  CxImage b(a);
  b.GetBits(0)[0] = 99;
  EXPECT_NE(a.GetBits(0)[0], 99);
  EXPECT_EQ(b.GetJpegQuality(), 55.0f);
}

TEST(CxImage, LastErrorKeepsAtMost255BytesWithoutSplittingCharacters) {
  CxImage img;
  img.SetLastError(std::string(300, 'x'));
  EXPECT_EQ(std::strlen(img.GetLastError()), 255u);
  // 254 ASCII bytes then a three-byte character: it would end at byte 257, so it is dropped.
  img.SetLastError(std::string(254, 'a') + "あ");
  EXPECT_EQ(std::strlen(img.GetLastError()), 254u);
}

TEST(CxImage, SaveWithUnknownFormatFails) {
  testsupport::TempDir dir;
  CxImage img = MakePattern(2, 2);
  for (uint32_t code : {0u, 4u, 6u, 16u, 256u}) {
    EXPECT_FALSE(img.Save((dir / "x.out").string(), code)) << code;
    EXPECT_STREQ(img.GetLastError(), "Encode: Unknown format");
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "x.out"));
}

TEST(CxImage, LoadFailureKeepsFirstAttemptsError) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir / "bad.jpg", "this is not a picture at all");
  CxImage img((dir / "bad.jpg").string(), CXIMAGE_FORMAT_JPG);
  EXPECT_FALSE(img.IsValid());
  EXPECT_STREQ(img.GetLastError(), "Not a JPEG file");
  CxImage missing((dir / "none.jpg").string(), CXIMAGE_FORMAT_JPG);
  EXPECT_FALSE(missing.IsValid());
  EXPECT_STRNE(missing.GetLastError(), "");
}

TEST(CxImage, PathsThatAreNotFilesFailWithoutBlocking) {
  testsupport::TempDir dir;
  ASSERT_EQ(mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder.jpg");
  for (const char* name : {"pipe.jpg", "folder.jpg"}) {
    CxImage img((dir / name).string(), CXIMAGE_FORMAT_JPG);
    EXPECT_FALSE(img.IsValid()) << name;
    EXPECT_STREQ(img.GetLastError(), "not a regular file") << name;
  }
}

// The whole file is held while it decodes; a file bigger than any picture is refused before
// anything is allocated for it (the file here is sparse and costs no disk).
TEST(CxImage, FilesLargerThanThePictureBudgetAreNotRead) {
  testsupport::TempDir dir;
  const std::string path = (dir / "huge.bmp").string();
  const std::vector<uint8_t> bmp = [] {
    std::vector<uint8_t> out;
    EXPECT_TRUE(MakePattern(4, 4).Encode(out, CXIMAGE_FORMAT_BMP));
    return out;
  }();
  testsupport::WriteFile(path, std::string(bmp.begin(), bmp.end()));
  ASSERT_EQ(::truncate(path.c_str(), off_t(kCxImageMaxMemory) + 65 * 1024), 0);
  CxImage img;
  EXPECT_FALSE(img.Load(path, CXIMAGE_FORMAT_BMP));
  EXPECT_STREQ(img.GetLastError(), "file too large");
}

TEST(CxImage, WrongExtensionStillLoadsByRecognition) {
  testsupport::TempDir dir;
  CxImage src = MakePattern(9, 7);
  ASSERT_TRUE(src.Save((dir / "really-a-bmp.jpg").string(), CXIMAGE_FORMAT_BMP));
  CxImage img((dir / "really-a-bmp.jpg").string(), CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_EQ(img.GetType(), uint32_t(CXIMAGE_FORMAT_BMP));
  EXPECT_EQ(imagetest::MaxChannelDiff(img, src), 0);
}

TEST(CxImage, SaveReplacesTheFileWholeAndLeavesNoTemporaryFiles) {
  testsupport::TempDir dir;
  const auto path = dir / "Main.bmp";
  testsupport::WriteFile(path, std::string(100000, 'z'));
  CxImage img = MakePattern(3, 3);
  ASSERT_TRUE(img.Save(path.string(), CXIMAGE_FORMAT_BMP));
  EXPECT_EQ(std::filesystem::file_size(path), 14 + img.GetDIBSize());
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1u);
}

TEST(CxImage, ThumbnailFitsTheBoxAndKeepsProportions) {
  testsupport::TempDir dir;
  CxImage big = MakePattern(800, 400);
  ASSERT_TRUE(big.Save((dir / "p.jpg").string(), CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(big.Save((dir / "p.bmp").string(), CXIMAGE_FORMAT_BMP));
  for (const char* name : {"p.jpg", "p.bmp"}) {
    CxImage t;
    ASSERT_TRUE(t.LoadThumbnail((dir / name).string(), 0, 100, 100)) << name;
    EXPECT_EQ(t.GetWidth(), 100u) << name;
    EXPECT_EQ(t.GetHeight(), 50u) << name;
  }
  CxImage small;
  ASSERT_TRUE(small.LoadThumbnail((dir / "p.bmp").string(), 0, 1000, 1000));
  EXPECT_EQ(small.GetWidth(), 800u);
}

}  // namespace
