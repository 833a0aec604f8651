#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/image/ImageCodecs.h"

namespace {

class PnmReader {
 public:
  explicit PnmReader(ByteSpan in) : m_in(in) {}
  // Next decimal number, skipping white space and '#' comments.
  bool Number(uint32_t& value) {
    SkipSpaceAndComments();
    if (m_pos >= m_in.size) return false;
    if (!std::isdigit(m_in.data[m_pos])) return false;
    uint64_t v = 0;
    while (m_pos < m_in.size && std::isdigit(m_in.data[m_pos])) {
      v = v * 10 + (m_in.data[m_pos++] - '0');
      if (v > 0xFFFFFFFFu) return false;
    }
    value = uint32_t(v);
    return true;
  }
  bool Bit(uint32_t& value) {  // plain bitmaps may run their digits together
    SkipSpaceAndComments();
    if (m_pos >= m_in.size || (m_in.data[m_pos] != '0' && m_in.data[m_pos] != '1')) return false;
    value = m_in.data[m_pos++] - '0';
    return true;
  }
  bool SkipOneSpace() {
    if (m_pos >= m_in.size || !std::isspace(m_in.data[m_pos])) return false;
    ++m_pos;
    return true;
  }
  size_t Pos() const { return m_pos; }
  void Seek(size_t pos) { m_pos = pos; }

 private:
  // A comment runs from '#' to the end of its line and counts as white space.
  void SkipSpaceAndComments() {
    while (m_pos < m_in.size) {
      const uint8_t c = m_in.data[m_pos];
      if (c == '#') {
        while (m_pos < m_in.size && m_in.data[m_pos] != '\n' && m_in.data[m_pos] != '\r') ++m_pos;
      } else if (std::isspace(c)) {
        ++m_pos;
      } else {
        break;
      }
    }
  }

  ByteSpan m_in;
  size_t m_pos = 2;
};

}  // namespace

bool SniffPnm(ByteSpan in) {
  return in.size >= 3 && in.data[0] == 'P' && in.data[1] >= '1' && in.data[1] <= '6' &&
         std::isspace(in.data[2]);
}

bool DecodePnm(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (!SniffPnm(in)) return DecodeFailed(img, "Not a PNM file");
  const int kind = in.data[1] - '0';
  const bool bitmap = kind == 1 || kind == 4, gray = kind == 2 || kind == 5;
  const bool binary = kind >= 4;
  PnmReader r(in);
  uint32_t w, h, maxval = 1;
  if (!r.Number(w) || !r.Number(h) || (!bitmap && !r.Number(maxval)) || maxval == 0 ||
      maxval > 65535)
    return DecodeFailed(img, "PNM header is invalid");
  if (binary && !r.SkipOneSpace()) return DecodeFailed(img, "PNM header is invalid");
  if (!img.Create(w, h, bitmap ? 1 : gray ? 8 : 24, CXIMAGE_FORMAT_PNM)) return false;
  if (bitmap) {
    img.SetPaletteColor(0, 255, 255, 255);  // 1 is black in these files
    img.SetPaletteColor(1, 0, 0, 0);
  } else if (gray) {
    img.SetGrayPalette();
  }
  const uint32_t sampleBytes = maxval > 255 ? 2 : 1;
  const uint32_t channels = bitmap || gray ? 1 : 3;
  size_t pos = r.Pos();
  const auto sample = [&](uint32_t& v) -> bool {
    if (!binary) return bitmap ? r.Bit(v) : r.Number(v);
    if (in.size - pos < sampleBytes) return false;
    v = sampleBytes == 2 ? Be16(in.data + pos) : in.data[pos];
    pos += sampleBytes;
    return true;
  };
  const auto scale = [&](uint32_t v) { return uint8_t(std::min(v, maxval) * 255 / maxval); };
  for (uint32_t row = 0; row < h; ++row) {
    uint8_t* d = img.GetBits(h - 1 - row);
    if (kind == 4) {
      const size_t bytes = (size_t(w) + 7) / 8;
      if (in.size - pos < bytes) return DecodeFailed(img, "PNM file is truncated");
      std::memcpy(d, in.data + pos, bytes);
      pos += bytes;
      continue;
    }
    for (uint32_t x = 0; x < w; ++x) {
      uint32_t v[3] = {0, 0, 0};
      for (uint32_t c = 0; c < channels; ++c)
        if (!sample(v[c])) return DecodeFailed(img, "PNM file is truncated");
      if (bitmap) {
        img.SetPixelIndex(x, h - 1 - row, uint8_t(v[0] & 1));
      } else if (gray) {
        d[x] = scale(v[0]);
      } else {
        d[3 * x] = scale(v[2]), d[3 * x + 1] = scale(v[1]), d[3 * x + 2] = scale(v[0]);
      }
    }
  }
  return true;
}
