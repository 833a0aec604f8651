// Codecs whose libraries keep buffers of their own: what a hostile file can make them hold stays
// within the picture budget, and pictures that need less still decode as before.
#include <gtest/gtest.h>

#include <openjpeg.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) { b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)}); }
void Put32(Bytes& b, uint32_t v) {
  b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

// A J2K code stream of `components` 8-bit components of w x h in one tile whose packets are all
// empty: a hundred bytes that decode to a grey picture as large as the header says. `mct` sets
// the colour transform flag of the coding style.
Bytes EmptyCodestream(uint32_t w, uint32_t h, uint16_t components, bool mct = false) {
  Bytes b = {0xFF, 0x4F, 0xFF, 0x51};
  Put16(b, 38 + 3 * components);
  Put16(b, 0);
  for (uint32_t v : {w, h, 0u, 0u, w, h, 0u, 0u}) Put32(b, v);
  Put16(b, components);
  for (uint16_t c = 0; c < components; ++c) b.insert(b.end(), {7, 1, 1});
  // COD: no decomposition, 64 x 64 code blocks, reversible 5/3; QCD: no quantisation.
  b.insert(b.end(), {0xFF, 0x52, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x01, uint8_t(mct), 0x00, 0x04,
                     0x04, 0x00, 0x01});
  b.insert(b.end(), {0xFF, 0x5C, 0x00, 0x04, 0x40, 0x40});
  b.insert(b.end(), {0xFF, 0x90, 0x00, 0x0A, 0x00, 0x00});
  Put32(b, 12 + 2 + components);
  b.insert(b.end(), {0x00, 0x01, 0xFF, 0x93});
  b.insert(b.end(), components, 0x00);  // one empty packet per component
  b.insert(b.end(), {0xFF, 0xD9});
  return b;
}

// Peak resident memory of decoding `file` in a child process, in megabytes, or -1 when the
// child failed; `decoded` tells whether the decode succeeded.
long PeakMegabytesOfDecode(const Bytes& file, uint32_t format, bool& decoded) {
  const pid_t pid = fork();
  if (pid == 0) {
    CxImage img;
    const bool ok = img.Decode(file.data(), file.size(), format);
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status)) return -1;
  decoded = WEXITSTATUS(status) == 0;
  return usage.ru_maxrss / 1024;
}

TEST(Jpeg2000Budget, OnlyTheComponentsShownAreDecoded) {
  // Sixteen components of 4096 x 4096 would be a gigabyte of samples; three are shown.
  const Bytes file = EmptyCodestream(4096, 4096, 16);
  bool decoded = false;
  const long peak = PeakMegabytesOfDecode(file, CXIMAGE_FORMAT_JPC, decoded);
  EXPECT_TRUE(decoded);
  EXPECT_GT(peak, 0);
  EXPECT_LT(peak, 700);
}

TEST(Jpeg2000Budget, ClaimsBeyondTheBudgetFailWithTheLimitText) {
  // Three components past the budget; sixteen whose colour transform needs every one decoded.
  for (const Bytes& file : {EmptyCodestream(16384, 16384, 3), EmptyCodestream(4096, 4096, 16, true)}) {
    CxImage img;
    EXPECT_FALSE(img.Decode(file.data(), file.size(), CXIMAGE_FORMAT_JPC));
    EXPECT_STREQ(img.GetLastError(), "CXIMAGE_MAX_MEMORY exceeded");
  }
}

OPJ_SIZE_T WriteToBytes(void* buffer, OPJ_SIZE_T n, void* user) {
  auto* out = static_cast<Bytes*>(user);
  out->insert(out->end(), static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + n);
  return n;
}
OPJ_OFF_T SkipInBytes(OPJ_OFF_T n, void* user) {
  static_cast<Bytes*>(user)->resize(static_cast<Bytes*>(user)->size() + size_t(n));
  return n;
}
OPJ_BOOL SeekInBytes(OPJ_OFF_T, void*) { return OPJ_FALSE; }

// Encodes the pattern's colours as a J2K code stream with `components` components (the first
// three red, green, blue, the rest flat), with the colour transform and the wavelet chosen.
Bytes EncodeJ2k(const CxImage& src, uint32_t components, bool reversible) {
  const uint32_t w = src.GetWidth(), h = src.GetHeight();
  std::vector<opj_image_cmptparm_t> params(components);
  for (opj_image_cmptparm_t& p : params) {
    std::memset(&p, 0, sizeof p);
    p.dx = p.dy = 1;
    p.w = w;
    p.h = h;
    p.prec = 8;
  }
  opj_image_t* image = opj_image_create(components, params.data(), OPJ_CLRSPC_SRGB);
  image->x1 = w;
  image->y1 = h;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const RGBQUAD p = imagetest::At(src, x, y);
      const uint8_t rgb[3] = {p.rgbRed, p.rgbGreen, p.rgbBlue};
      for (uint32_t k = 0; k < components; ++k)
        image->comps[k].data[y * w + x] = k < 3 ? rgb[k] : 77;
    }
  opj_cparameters_t cp;
  opj_set_default_encoder_parameters(&cp);
  cp.tcp_numlayers = 1;
  cp.tcp_rates[0] = 0;
  cp.cp_disto_alloc = 1;
  cp.tcp_mct = 1;
  cp.numresolution = 3;  // the default six need at least 32 pixels a side
  cp.irreversible = reversible ? 0 : 1;
  opj_codec_t* codec = opj_create_compress(OPJ_CODEC_J2K);
  Bytes out;
  opj_stream_t* stream = opj_stream_default_create(OPJ_FALSE);
  opj_stream_set_user_data(stream, &out, nullptr);
  opj_stream_set_write_function(stream, WriteToBytes);
  opj_stream_set_skip_function(stream, SkipInBytes);
  opj_stream_set_seek_function(stream, SeekInBytes);
  const bool ok = opj_setup_encoder(codec, &cp, image) &&
                  opj_start_compress(codec, image, stream) && opj_encode(codec, stream) &&
                  opj_end_compress(codec, stream);
  opj_stream_destroy(stream);
  opj_destroy_codec(codec);
  opj_image_destroy(image);
  EXPECT_TRUE(ok);
  return out;
}

// Files with more components than shown still show the colours of their first three, with the
// colour transform undone.
TEST(Jpeg2000Budget, ManyComponentsKeepTheirColours) {
  const CxImage src = imagetest::MakePattern(40, 24);
  for (const bool reversible : {true, false}) {
    const Bytes three = EncodeJ2k(src, 3, reversible), six = EncodeJ2k(src, 6, reversible);
    CxImage a, b;
    ASSERT_TRUE(a.Decode(three.data(), three.size(), CXIMAGE_FORMAT_JPC)) << a.GetLastError();
    ASSERT_TRUE(b.Decode(six.data(), six.size(), CXIMAGE_FORMAT_JPC)) << b.GetLastError();
    EXPECT_EQ(imagetest::MaxChannelDiff(a, b), 0) << reversible;
    EXPECT_LE(imagetest::MaxChannelDiff(a, src), reversible ? 0 : 3) << reversible;
  }
}

void PutChunk(Bytes& b, const char* type, const Bytes& data) {
  Put32(b, uint32_t(data.size()));
  const size_t start = b.size();
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), data.begin(), data.end());
  Put32(b, uint32_t(crc32(0, b.data() + start, uInt(b.size() - start))));
}

// An MNG whose 1 x 1 canvas is followed by `objects` stored images of 4500 x 4500 RGBA, each
// more than 81 MB inside libmng and a few hundred kilobytes in the file.
Bytes MngWithStoredImages(int objects) {
  constexpr uint32_t kSide = 4500;
  Bytes raw(size_t(kSide) * (1 + kSide * 4), 0);
  Bytes idat(compressBound(uLong(raw.size())));
  uLongf idatSize = uLongf(idat.size());
  EXPECT_EQ(compress2(idat.data(), &idatSize, raw.data(), uLong(raw.size()), 1), Z_OK);
  idat.resize(idatSize);
  Bytes b = {0x8A, 'M', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes mhdr;
  for (uint32_t v : {1u, 1u, 1000u, 0u, 0u, 0u, 0u}) Put32(mhdr, v);
  PutChunk(b, "MHDR", mhdr);
  for (int id = 1; id <= objects; ++id) {
    Bytes defi;
    Put16(defi, uint16_t(id));
    PutChunk(b, "DEFI", defi);
    Bytes ihdr;
    Put32(ihdr, kSide);
    Put32(ihdr, kSide);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    PutChunk(b, "IHDR", ihdr);
    PutChunk(b, "IDAT", idat);
    PutChunk(b, "IEND", {});
  }
  PutChunk(b, "MEND", {});
  return b;
}

// Every block libmng asks for is below the budget, but together they are not.
TEST(MngBudget, StoredImagesCountTogether) {
  const Bytes one = MngWithStoredImages(1), three = MngWithStoredImages(3);
  CxImage img;
  EXPECT_TRUE(img.Decode(one.data(), one.size(), CXIMAGE_FORMAT_MNG)) << img.GetLastError();
  EXPECT_FALSE(img.Decode(three.data(), three.size(), CXIMAGE_FORMAT_MNG));
  EXPECT_FALSE(img.IsValid());
  EXPECT_STRNE(img.GetLastError(), "");
}

// A minimal uncompressed DNG: one 16-bit colour-filter plane of w x h, RGGB, with `pixelBytes`
// of sample data (fewer than the header claims makes a file that promises much and holds little).
Bytes MinimalDng(uint32_t w, uint32_t h, size_t pixelBytes) {
  Bytes b = {'I', 'I', 42, 0, 8, 0, 0, 0};
  struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
  };
  const uint32_t entries = 14;
  const uint32_t extra = 8 + 2 + entries * 12 + 4;  // where values that do not fit inline go
  const uint32_t dataOffset = extra + 16;
  const Entry list[entries] = {
      {254, 4, 1, 0},          {256, 4, 1, w},
      {257, 4, 1, h},          {258, 3, 1, 16},
      {259, 3, 1, 1},          {262, 3, 1, 32803},
      {271, 2, 4, 0x00747345}, {273, 4, 1, dataOffset},
      {277, 3, 1, 1},          {278, 4, 1, h},
      {279, 4, 1, uint32_t(std::min<uint64_t>(uint64_t(w) * h * 2, 0xFFFFFFFF))},
      {33421, 3, 2, 0x00020002}, {33422, 1, 4, 0x02010100},
      {50706, 1, 4, 0x00000401}};
  const auto le16 = [&](uint32_t v) { b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)}); };
  const auto le32 = [&](uint32_t v) {
    b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  };
  le16(entries);
  for (const Entry& e : list) {
    le16(e.tag);
    le16(e.type);
    le32(e.count);
    le32(e.value);
  }
  le32(0);
  b.resize(dataOffset, 0);
  for (size_t i = 0; i < pixelBytes; i += 2) b.insert(b.end(), {uint8_t(i * 13), uint8_t(i % 3)});
  return b;
}

TEST(RawBudget, SensorsBeyondTheBudgetAreRefusedBeforeUnpacking) {
  CxImage img;
  const Bytes small = MinimalDng(64, 48, 64 * 48 * 2);
  ASSERT_TRUE(img.Decode(small.data(), small.size(), CXIMAGE_FORMAT_RAW)) << img.GetLastError();
  EXPECT_EQ(img.GetWidth(), 64u);
  // 60 million photosites: even the half-size decode needs more than the budget.
  const Bytes huge = MinimalDng(10000, 6000, 64);
  EXPECT_FALSE(img.Decode(huge.data(), huge.size(), CXIMAGE_FORMAT_RAW));
  EXPECT_STREQ(img.GetLastError(), "CXIMAGE_MAX_MEMORY exceeded");
}

// A sensor whose full-size buffers do not fit is shown at half size rather than not at all.
TEST(RawBudget, LargeSensorsDecodeAtHalfSize) {
  CxImage img;
  const Bytes big = MinimalDng(6000, 3600, 6000 * 3600 * 2);
  ASSERT_TRUE(img.Decode(big.data(), big.size(), CXIMAGE_FORMAT_RAW)) << img.GetLastError();
  EXPECT_EQ(img.GetWidth(), 3000u);
  EXPECT_EQ(img.GetHeight(), 1800u);
}

// Files that once broke the libraries behind two readers: LibRaw crashed inside its TIFF parser
// on a bad colour-filter pattern count, and libmng left its buffers behind when a JNG ended
// early (the sanitizer build reports any leak when the program ends).
TEST(LibraryFaults, DamagedRawAndJngFilesFailCleanly) {
  for (const auto& [name, format] : {std::pair{"raw-cfa-pattern-count.dng", CXIMAGE_FORMAT_RAW},
                                     std::pair{"jng-without-end.jng", CXIMAGE_FORMAT_MNG}}) {
    const std::string file = testsupport::ReadFile(std::string(IMAGE_TEST_DATA) + "/" + name);
    ASSERT_FALSE(file.empty()) << name;
    CxImage img;
    EXPECT_FALSE(img.Decode(reinterpret_cast<const uint8_t*>(file.data()), file.size(), format))
        << name;
    EXPECT_STRNE(img.GetLastError(), "") << name;
  }
}

// A GIF frame may sit anywhere on its logical screen; one placed far past a tiny screen would
// widen the canvas to 131070 x 131070 pixels, which the budget refuses before anything is made.
TEST(GifBudget, FramesFarPastTheScreenAreHeldToTheBudget) {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
  gif.insert(gif.end(), {0x2C, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00});
  gif.insert(gif.end(), {0x02, 0x02, 0x44, 0x01, 0x00, 0x3B});
  CxImage img;
  EXPECT_FALSE(img.Decode(gif.data(), gif.size(), CXIMAGE_FORMAT_GIF));
  EXPECT_STREQ(img.GetLastError(), "CXIMAGE_MAX_MEMORY exceeded");
}

}  // namespace
