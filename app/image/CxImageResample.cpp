// Thumbnail reduction of CxImage.
#include <algorithm>
#include <vector>

#include "app/image/CxImage.h"
#include "app/image/ImageErrors.h"

// Reduces the picture to fit maxWidth × maxHeight keeping its proportions, averaging every
// source pixel into the one destination pixel it falls in, so thin lines of a page stay visible.
bool CxImage::ShrinkToFit(uint32_t maxWidth, uint32_t maxHeight) try {
  if (!IsValid() || !maxWidth || !maxHeight || (m_width <= maxWidth && m_height <= maxHeight))
    return true;
  const double scale = std::min(double(maxWidth) / m_width, double(maxHeight) / m_height);
  const uint32_t w = std::max<uint32_t>(1, uint32_t(m_width * scale));
  const uint32_t h = std::max<uint32_t>(1, uint32_t(m_height * scale));
  CxImage out;
  if (!out.Create(w, h, 24, m_type)) {
    SetLastError(out.GetLastError());
    return false;
  }
  // A destination pixel can gather a whole row of a very wide picture: 64-bit sums.
  std::vector<uint64_t> sums(size_t(w) * 3);
  std::vector<uint32_t> counts(w);
  const RGBQUAD* palette = GetPalette();
  uint32_t sy = 0;
  // Walk destination rows top to bottom; each collects the source rows that map onto it.
  for (uint32_t dy = 0; dy < h; ++dy) {
    std::fill(sums.begin(), sums.end(), 0);
    std::fill(counts.begin(), counts.end(), 0);
    for (; sy < m_height && uint64_t(sy) * h / m_height == dy; ++sy) {
      const uint8_t* row = GetBits(m_height - 1 - sy);
      // Source column x lands in destination column x × w / width; dx follows it along the row.
      uint32_t dx = 0;
      for (uint32_t x = 0; x < m_width; ++x) {
        while (dx + 1 < w && uint64_t(dx + 1) * m_width <= uint64_t(x) * w) ++dx;
        uint64_t* s = &sums[size_t(dx) * 3];
        if (m_bpp == 24) {
          s[0] += row[3 * x], s[1] += row[3 * x + 1], s[2] += row[3 * x + 2];
        } else {
          const uint32_t index = m_bpp == 8   ? row[x]
                                 : m_bpp == 4 ? (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F
                                              : (row[x >> 3] >> (7 - (x & 7))) & 1;
          const RGBQUAD& c = palette[index];
          s[0] += c.rgbBlue, s[1] += c.rgbGreen, s[2] += c.rgbRed;
        }
        ++counts[dx];
      }
    }
    uint8_t* d = out.GetBits(h - 1 - dy);
    for (uint32_t x = 0; x < w; ++x) {
      const uint64_t n = std::max<uint64_t>(counts[x], 1);
      for (int k = 0; k < 3; ++k) d[3 * x + k] = uint8_t(sums[3 * x + k] / n);
    }
  }
  out.m_jpegQuality = m_jpegQuality;
  out.m_xdpi = m_xdpi;
  out.m_ydpi = m_ydpi;
  out.WriteHeader();
  *this = std::move(out);
  return true;
} catch (...) {
  SetErrorFromException(*this);
  return false;
}
