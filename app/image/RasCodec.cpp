#include <algorithm>
#include <cstring>

#include "app/image/ImageCodecs.h"

namespace {

constexpr uint32_t kMagic = 0x59A66A95;

// Pixel bytes of a Sun raster, plain or byte-encoded (0x80 n v = n+1 copies of v, 0x80 0 = 0x80).
class RasBytes {
 public:
  RasBytes(ByteSpan in, size_t pos, bool rle) : m_in(in), m_pos(pos), m_rle(rle) {}
  bool Next(uint8_t& b) {
    if (m_repeat) {
      --m_repeat;
      b = m_value;
      return true;
    }
    if (m_pos >= m_in.size) return false;
    b = m_in.data[m_pos++];
    if (!m_rle || b != 0x80) return true;
    if (m_pos >= m_in.size) return false;
    const uint8_t count = m_in.data[m_pos++];
    if (count == 0) return true;  // a literal 0x80
    if (m_pos >= m_in.size) return false;
    m_value = b = m_in.data[m_pos++];
    m_repeat = count;  // count + 1 copies, one returned now
    return true;
  }

 private:
  ByteSpan m_in;
  size_t m_pos;
  bool m_rle;
  uint32_t m_repeat = 0;
  uint8_t m_value = 0;
};

}  // namespace

bool SniffRas(ByteSpan in) { return in.size >= 32 && Be32(in.data) == kMagic; }

bool DecodeRas(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (!SniffRas(in)) return DecodeFailed(img, "Not a Sun raster file");
  const uint32_t w = Be32(in.data + 4), h = Be32(in.data + 8), depth = Be32(in.data + 12);
  const uint32_t type = Be32(in.data + 20), mapType = Be32(in.data + 24),
                 mapLength = Be32(in.data + 28);
  if (!(depth == 1 || depth == 8 || depth == 24 || depth == 32) || type > 3 || mapType > 1 ||
      (mapType == 1 && (mapLength % 3 || mapLength > 768)) || (mapType == 0 && mapLength))
    return DecodeFailed(img, "Sun raster header is not supported");
  if (in.size - 32 < mapLength) return DecodeFailed(img, "Sun raster file is truncated");
  if (!img.Create(w, h, depth > 8 ? 24 : depth, CXIMAGE_FORMAT_RAS)) return false;
  if (mapLength) {
    const uint32_t n = mapLength / 3;
    const uint8_t* map = in.data + 32;
    for (uint32_t i = 0; i < std::min(n, img.GetNumColors()); ++i)
      img.SetPaletteColor(i, map[i], map[n + i], map[2 * n + i]);
  } else if (depth == 1) {
    img.SetPaletteColor(0, 255, 255, 255);  // Sun bitmaps draw set bits black
    img.SetPaletteColor(1, 0, 0, 0);
  } else if (depth == 8) {
    img.SetGrayPalette();
  }
  RasBytes bytes(in, 32 + mapLength, type == 2);
  const uint64_t rowBytes = ((uint64_t(w) * depth + 15) / 16) * 2;  // rows end on 16 bits
  const uint32_t step = depth / 8;
  uint8_t px[4];
  for (uint32_t row = 0; row < h; ++row) {
    uint8_t* d = img.GetBits(h - 1 - row);
    for (uint64_t i = 0; i < rowBytes;) {
      if (depth <= 8) {
        uint8_t b;
        if (!bytes.Next(b)) return DecodeFailed(img, "Sun raster file is truncated");
        if (i < img.GetEffWidth()) d[i] = b;
        ++i;
        continue;
      }
      const uint64_t x = i / step;
      if (x >= w) {  // padding byte
        if (!bytes.Next(px[0])) return DecodeFailed(img, "Sun raster file is truncated");
        ++i;
        continue;
      }
      for (uint32_t k = 0; k < step; ++k)
        if (!bytes.Next(px[k])) return DecodeFailed(img, "Sun raster file is truncated");
      i += step;
      const uint8_t* c = px + (step == 4 ? 1 : 0);  // 32-bit pixels lead with a pad byte
      uint8_t* o = d + 3 * x;
      if (type == 3)
        o[0] = c[2], o[1] = c[1], o[2] = c[0];  // RGB order
      else
        o[0] = c[0], o[1] = c[1], o[2] = c[2];  // BGR order
    }
  }
  return true;
}
