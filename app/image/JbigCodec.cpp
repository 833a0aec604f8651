#include <cstring>
#include <new>
#include <vector>

extern "C" {
#include <jbig.h>
}

#include "app/image/ImageCodecs.h"

namespace {

constexpr uint64_t kMaxJbigPixels = 64ull * 1024 * 1024;

struct JbigHeader {
  uint32_t width, height, planes;
};

// The 20-byte bi-level image header; bits that must be zero are checked so recognition does not
// take arbitrary data for JBIG.
bool ReadHeader(ByteSpan in, JbigHeader& h) {
  if (in.size < 20) return false;
  const uint8_t* p = in.data;
  h = {Be32(p + 4), Be32(p + 8), p[2]};
  return p[0] <= p[1] && p[1] < 32 && p[2] >= 1 && p[3] == 0 && h.width > 0 && h.height > 0 &&
         Be32(p + 12) > 0 && p[16] <= 127 && p[17] == 0 && (p[18] & 0xF0) == 0 &&
         (p[19] & 0x80) == 0;
}

}  // namespace

bool SniffJbig(ByteSpan in) {
  JbigHeader h;
  return ReadHeader(in, h);
}

bool DecodeJbig(CxImage& img, ByteSpan in, const CxDecodeHint&) try {
  JbigHeader h;
  if (!ReadHeader(in, h)) return DecodeFailed(img, "Not a JBIG file");
  if (h.planes != 1) return DecodeFailed(img, "JBIG files with several planes are not supported");
  // A file sent before the page length was known (a fax) may give a placeholder height and the
  // real one in a NEWLEN marker after the data. The decoder sizes its buffers by the header, so
  // the marker's height is written into a copy of the header first.
  std::vector<unsigned char> copy;
  unsigned char* data = const_cast<unsigned char*>(in.data);
  if (in.data[19] & JBG_VLENGTH) {
    copy.assign(in.data, in.data + in.size);
    data = copy.data();
    const int found = jbg_newlen(data, copy.size());
    if (found == JBG_EABORT) return DecodeFailed(img, jbg_strerror(found));
    if (!ReadHeader({data, copy.size()}, h)) return DecodeFailed(img, "JBIG file is corrupt");
  }
  // Arithmetic coding turns a few bytes into millions of pixels, and the decoder works pixel by
  // pixel; 64 megapixels (an A4 page scanned at 600 dpi is 35) keeps a hostile file to about a
  // second of work. The decoder is held to the header's size.
  if (uint64_t(h.width) * h.height > kMaxJbigPixels)
    return DecodeFailed(img, "CXIMAGE_MAX_MEMORY exceeded");
  jbg_dec_state state;
  jbg_dec_init(&state);
  jbg_dec_maxsize(&state, h.width, h.height);
  size_t used = 0;
  const int result = jbg_dec_in(&state, data, in.size, &used);
  if (result != JBG_EOK && result != JBG_EOK_INTR) {
    const char* text = result == JBG_EAGAIN ? "JBIG file is truncated" : jbg_strerror(result);
    jbg_dec_free(&state);
    return DecodeFailed(img, text);
  }
  const unsigned long w = jbg_dec_getwidth(&state), height = jbg_dec_getheight(&state);
  const unsigned char* bits = jbg_dec_getimage(&state, 0);
  if (!bits || !img.Create(uint32_t(w), uint32_t(height), 1, CXIMAGE_FORMAT_JBG)) {
    jbg_dec_free(&state);
    if (!bits) return DecodeFailed(img, "JBIG file is corrupt");
    return false;
  }
  img.SetPaletteColor(0, 255, 255, 255);  // set bits are black
  img.SetPaletteColor(1, 0, 0, 0);
  const size_t rowBytes = (w + 7) / 8;
  for (unsigned long y = 0; y < height; ++y)
    std::memcpy(img.GetBits(uint32_t(height - 1 - y)), bits + y * rowBytes, rowBytes);
  jbg_dec_free(&state);
  return true;
} catch (const std::bad_alloc&) {
  return DecodeFailed(img, "JBIG: out of memory");
}
