// Readers built on outside libraries (OpenJPEG, jbigkit, libmng, LibRaw), fed files that the
// libraries' own encoders or a few lines of chunk writing produce.
#include <gtest/gtest.h>

#include <openjpeg.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

extern "C" {
#include <jbig.h>
}

#include <cstring>
#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;
using imagetest::At;

// Lossless JPEG 2000 of the pattern picture, as a JP2 file or a bare code stream.
bool WriteJpeg2000(const std::string& path, const CxImage& src, OPJ_CODEC_FORMAT format) {
  const uint32_t w = src.GetWidth(), h = src.GetHeight();
  opj_image_cmptparm_t parms[3];
  std::memset(parms, 0, sizeof parms);
  for (auto& p : parms) p.dx = p.dy = 1, p.w = w, p.h = h, p.prec = 8, p.sgnd = 0;
  opj_image_t* image = opj_image_create(3, parms, OPJ_CLRSPC_SRGB);
  image->x0 = image->y0 = 0;
  image->x1 = w;
  image->y1 = h;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const RGBQUAD c = At(src, x, y);
      image->comps[0].data[y * w + x] = c.rgbRed;
      image->comps[1].data[y * w + x] = c.rgbGreen;
      image->comps[2].data[y * w + x] = c.rgbBlue;
    }
  opj_cparameters_t params;
  opj_set_default_encoder_parameters(&params);
  params.tcp_numlayers = 1;
  params.tcp_rates[0] = 0;  // lossless
  params.cp_disto_alloc = 1;
  params.numresolution = 3;
  opj_codec_t* codec = opj_create_compress(format);
  bool ok = opj_setup_encoder(codec, &params, image);
  opj_stream_t* stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_FALSE);
  ok = ok && stream && opj_start_compress(codec, image, stream) && opj_encode(codec, stream) &&
       opj_end_compress(codec, stream);
  if (stream) opj_stream_destroy(stream);
  opj_destroy_codec(codec);
  opj_image_destroy(image);
  return ok;
}

TEST(Jpeg2000Format, FileAndCodeStreamLosslessly) {
  testsupport::TempDir dir;
  const CxImage src = imagetest::MakePattern(19, 11);
  ASSERT_TRUE(WriteJpeg2000((dir / "a.jp2").string(), src, OPJ_CODEC_JP2));
  ASSERT_TRUE(WriteJpeg2000((dir / "a.j2c").string(), src, OPJ_CODEC_J2K));
  const CxImage jp2((dir / "a.jp2").string(), CXIMAGE_FORMAT_JP2);
  ASSERT_TRUE(jp2.IsValid()) << jp2.GetLastError();
  EXPECT_EQ(imagetest::MaxChannelDiff(jp2, src), 0);
  const CxImage jpc((dir / "a.j2c").string(), CXIMAGE_FORMAT_JPC);
  ASSERT_TRUE(jpc.IsValid()) << jpc.GetLastError();
  EXPECT_EQ(imagetest::MaxChannelDiff(jpc, src), 0);
  // A code stream behind a .jp2 name, and a thumbnail that needs fewer resolution levels.
  const CxImage swapped((dir / "a.j2c").string(), CXIMAGE_FORMAT_JP2);
  EXPECT_TRUE(swapped.IsValid());
  CxImage thumb;
  ASSERT_TRUE(thumb.LoadThumbnail((dir / "a.jp2").string(), CXIMAGE_FORMAT_JP2, 8, 4));
  EXPECT_LE(thumb.GetWidth(), 8u);
}

void CollectBytes(unsigned char* start, size_t len, void* file) {
  auto* out = static_cast<Bytes*>(file);
  out->insert(out->end(), start, start + len);
}

TEST(JbigFormat, FoundByRecognition) {
  const uint32_t w = 20, h = 3;
  std::vector<unsigned char> bitmap((w + 7) / 8 * h, 0);
  bitmap[0] = 0x80;                    // (0, 0) black
  bitmap[(w + 7) / 8 * 2 + 2] = 0x10;  // (19, 2) black
  unsigned char* planes[1] = {bitmap.data()};
  Bytes file;
  jbg_enc_state enc;
  jbg_enc_init(&enc, w, h, 1, planes, CollectBytes, &file);
  jbg_enc_out(&enc);
  jbg_enc_free(&enc);
  CxImage img;
  ASSERT_TRUE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_UNKNOWN)) << img.GetLastError();
  EXPECT_EQ(img.GetType(), uint32_t(CXIMAGE_FORMAT_JBG));
  EXPECT_EQ(img.GetWidth(), w);
  EXPECT_EQ(At(img, 0, 0).rgbRed, 0);
  EXPECT_EQ(At(img, 1, 0).rgbRed, 255);
  EXPECT_EQ(At(img, 19, 2).rgbRed, 0);
  // Cut short, it fails with a text instead of showing half a picture.
  CxImage cut;
  EXPECT_FALSE(cut.Decode(file.data(), file.size() - 2, CXIMAGE_FORMAT_JBG));
  EXPECT_STRNE(cut.GetLastError(), "");
}

void Chunk(Bytes& out, const char* type, const Bytes& data) {
  for (int i = 3; i >= 0; --i) out.push_back(uint8_t(data.size() >> (8 * i)));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  const uLong crc = crc32(0, body.data(), uInt(body.size()));
  for (int i = 3; i >= 0; --i) out.push_back(uint8_t(crc >> (8 * i)));
}

TEST(MngFormat, FirstFrameOfAnAnimation) {
  testsupport::TempDir dir;
  const CxImage src = imagetest::MakePattern(6, 4);
  Bytes rgb;
  for (uint32_t y = 0; y < 4; ++y)
    for (uint32_t x = 0; x < 6; ++x) {
      const RGBQUAD c = At(src, x, y);
      rgb.insert(rgb.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 6;
  image.height = 4;
  image.format = PNG_FORMAT_RGB;
  ASSERT_TRUE(png_image_write_to_file(&image, (dir / "f.png").c_str(), 0, rgb.data(), 0, nullptr));
  const Bytes png = imagetest::Bytes(testsupport::ReadFile(dir / "f.png"));
  Bytes mng = {0x8A, 'M', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header(28, 0);
  header[3] = 6, header[7] = 4, header[11] = 1;  // width, height, ticks per second
  Chunk(mng, "MHDR", header);
  mng.insert(mng.end(), png.begin() + 8, png.end());  // the PNG's chunks, IHDR … IEND
  Chunk(mng, "MEND", {});
  testsupport::WriteFile(dir / "a.mng", std::string(mng.begin(), mng.end()));
  const CxImage img((dir / "a.mng").string(), CXIMAGE_FORMAT_MNG);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_EQ(imagetest::MaxChannelDiff(img, src), 0);
}

// A minimal DNG: one 16-bit colour-filter-array plane (red, green / green, blue). The left half
// has strong red and blue sites, the right half strong green ones.
void WriteDng(const std::string& path, uint32_t w, uint32_t h) {
  TIFF* t = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(t, nullptr);
  TIFFSetField(t, TIFFTAG_SUBFILETYPE, 0);
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 16);
  TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, 32803);  // colour filter array
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, h);
  TIFFSetField(t, TIFFTAG_MAKE, "Clipwren");
  TIFFSetField(t, TIFFTAG_MODEL, "Test");
  const uint16_t dim[2] = {2, 2};
  TIFFSetField(t, TIFFTAG_CFAREPEATPATTERNDIM, dim);
  const uint8_t pattern[4] = {0, 1, 1, 2};
  TIFFSetField(t, TIFFTAG_CFAPATTERN, 4, pattern);
  const uint8_t version[4] = {1, 4, 0, 0};
  TIFFSetField(t, TIFFTAG_DNGVERSION, version);
  TIFFSetField(t, TIFFTAG_UNIQUECAMERAMODEL, "Clipwren Test");
  const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  TIFFSetField(t, TIFFTAG_COLORMATRIX1, 9, identity);
  const float neutral[3] = {1, 1, 1};
  TIFFSetField(t, TIFFTAG_ASSHOTNEUTRAL, 3, neutral);
  std::vector<uint16_t> row(w);
  for (uint32_t y = 0; y < h; ++y) {
    for (uint32_t x = 0; x < w; ++x) row[x] = ((x ^ y) & 1) ? 20000 : (x < w / 2 ? 60000 : 3000);
    ASSERT_EQ(TIFFWriteScanline(t, row.data(), y, 0), 1);
  }
  TIFFClose(t);
}

TEST(RawFormat, DngFoundByRecognition) {
  testsupport::TempDir dir;
  WriteDng((dir / "shot.dng").string(), 64, 48);
  const CxImage img((dir / "shot.dng").string(), CXIMAGE_FORMAT_UNKNOWN);
  ASSERT_TRUE(img.IsValid()) << img.GetLastError();
  EXPECT_EQ(img.GetType(), uint32_t(CXIMAGE_FORMAT_RAW));
  EXPECT_EQ(img.GetWidth(), 64u);
  EXPECT_EQ(img.GetHeight(), 48u);
  EXPECT_GT(At(img, 10, 20).rgbRed, At(img, 10, 20).rgbGreen);
  EXPECT_GT(At(img, 50, 20).rgbGreen, At(img, 50, 20).rgbRed);
  // Named as a TIFF, the TIFF reader refuses the sensor data and the raw reader takes over.
  const CxImage named((dir / "shot.dng").string(), CXIMAGE_FORMAT_TIF);
  EXPECT_TRUE(named.IsValid());
}

TEST(RawFormat, TiffLookingGarbageFailsCleanly) {
  Bytes file = {'I', 'I', '*', 0, 8, 0, 0, 0};
  file.resize(4096, 0x5A);
  CxImage img;
  EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_RAW));
  EXPECT_STRNE(img.GetLastError(), "");
  EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_UNKNOWN));
}

}  // namespace
