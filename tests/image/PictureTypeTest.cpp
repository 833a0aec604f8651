#include "app/image/PictureType.h"

#include <gtest/gtest.h>

#include <string>

#include "app/image/CxImage.h"

namespace {

struct NameCase {
  const char* name;
  uint32_t type;
};

class PictureTypeRule : public ::testing::TestWithParam<NameCase> {};

TEST_P(PictureTypeRule, MapsNameToFormat) {
  EXPECT_EQ(PictureTypeFromName(GetParam().name), GetParam().type) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, PictureTypeRule,
    ::testing::Values(
        NameCase{"PHOTO.JPEG", CXIMAGE_FORMAT_JPG}, NameCase{"scan.TIFF", CXIMAGE_FORMAT_TIF},
        NameCase{"x.wbmp", CXIMAGE_FORMAT_WBMP}, NameCase{"X.WBMP", CXIMAGE_FORMAT_WBMP},
        NameCase{"notes.txt", 0}, NameCase{"gif", CXIMAGE_FORMAT_GIF},
        NameCase{"a.bmp", CXIMAGE_FORMAT_BMP}, NameCase{"a.Jpg", CXIMAGE_FORMAT_JPG},
        NameCase{"a.png", CXIMAGE_FORMAT_PNG}, NameCase{"a.mng", CXIMAGE_FORMAT_MNG},
        NameCase{"a.JNG", CXIMAGE_FORMAT_MNG}, NameCase{"a.ico", CXIMAGE_FORMAT_ICO},
        NameCase{"a.tif", CXIMAGE_FORMAT_TIF}, NameCase{"a.tga", CXIMAGE_FORMAT_TGA},
        NameCase{"a.pcx", CXIMAGE_FORMAT_PCX}, NameCase{"a.wmf", CXIMAGE_FORMAT_WMF},
        NameCase{"a.EMF", CXIMAGE_FORMAT_WMF}, NameCase{"a.j2k", CXIMAGE_FORMAT_JP2},
        NameCase{"a.jp2", CXIMAGE_FORMAT_JP2}, NameCase{"a.j2c", CXIMAGE_FORMAT_JPC},
        NameCase{"a.jpc", CXIMAGE_FORMAT_JPC}, NameCase{"a.pgx", CXIMAGE_FORMAT_PGX},
        NameCase{"a.pnm", CXIMAGE_FORMAT_PNM}, NameCase{"a.pgm", CXIMAGE_FORMAT_PNM},
        NameCase{"a.ppm", CXIMAGE_FORMAT_PNM}, NameCase{"a.ras", CXIMAGE_FORMAT_RAS},
        // Characters only: no dot needed, and the rule never looks past the last four.
        NameCase{"snapshotpng", CXIMAGE_FORMAT_PNG}, NameCase{"jpeg", CXIMAGE_FORMAT_JPG},
        NameCase{"", 0}, NameCase{"pg", 0}, NameCase{"a.jbg", 0}, NameCase{"a.jpe", 0},
        NameCase{"a.bmp.txt", 0}, NameCase{"写真.JPG", CXIMAGE_FORMAT_JPG},
        NameCase{"a.tiff", CXIMAGE_FORMAT_TIF}, NameCase{"a.xtiff", CXIMAGE_FORMAT_TIF}));

TEST(PictureFileTypes, RowsInOrderWithExactTexts) {
  const auto rows = PictureFileTypes();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].formatCode, -1);
  EXPECT_STREQ(rows[0].description, "サポートファイル");
  EXPECT_STREQ(rows[0].patterns,
               "*.bmp;*.gif;*.jpg;*.jpeg;*.png;*.ico;*.tif;*.tiff;*.tga;*.pcx;*.wbmp;*.wmf;*.emf;"
               "*.j2k;*.jp2;*.jbg;*.j2c;*.jpc;*.pgx;*.pnm;*.pgm;*.ppm;*.ras");
  EXPECT_FALSE(rows[0].listedForOpen);
  EXPECT_FALSE(rows[0].listedForSave);
  EXPECT_EQ(rows[1].formatCode, 1);
  EXPECT_STREQ(rows[1].description, "24 ﾋﾞｯﾄ ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)");
  EXPECT_STREQ(rows[1].patterns, "*.bmp");
  EXPECT_TRUE(rows[1].listedForOpen && rows[1].listedForSave);
  EXPECT_EQ(rows[2].formatCode, 2);
  EXPECT_STREQ(rows[2].description, "GIFファイル");
  EXPECT_STREQ(rows[2].patterns, "*.gif");
  EXPECT_FALSE(rows[2].listedForOpen || rows[2].listedForSave);
  EXPECT_EQ(rows[3].formatCode, 3);
  EXPECT_STREQ(rows[3].description, "JPEG (*.JPG)");
  EXPECT_STREQ(rows[3].patterns, "*.jpg;*.jpeg");
  EXPECT_TRUE(rows[3].listedForOpen && rows[3].listedForSave);
}

}  // namespace
