// Depth conversions of CxImage: grey scale, decrease and increase depth.
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/image/ColorTables.h"
#include "app/image/CxImage.h"
#include "app/image/ImageErrors.h"

bool CxImage::GrayScale() try {
  if (!IsValid()) {
    SetLastError("GrayScale: no picture");
    return false;
  }
  CxImage gray;
  if (!gray.Create(m_width, m_height, 8, m_type)) {
    SetLastError(gray.GetLastError());
    return false;
  }
  gray.SetGrayPalette();
  if (m_bpp == 24) {
    for (uint32_t y = 0; y < m_height; ++y) {
      const uint8_t* s = GetBits(y);
      uint8_t* d = gray.GetBits(y);
      for (uint32_t x = 0; x < m_width; ++x, s += 3) d[x] = GrayOf(s[2], s[1], s[0]);
    }
  } else {
    uint8_t table[256] = {};
    const RGBQUAD* pal = GetPalette();
    for (uint32_t i = 0; i < GetNumColors(); ++i)
      table[i] = GrayOf(pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue);
    for (uint32_t y = 0; y < m_height; ++y) {
      uint8_t* d = gray.GetBits(y);
      if (m_bpp == 8) {
        const uint8_t* s = GetBits(y);
        for (uint32_t x = 0; x < m_width; ++x) d[x] = table[s[x]];
      } else {
        for (uint32_t x = 0; x < m_width; ++x) d[x] = table[GetPixelIndex(x, y)];
      }
    }
    if (m_transIndex >= 0) gray.m_transIndex = table[m_transIndex & 0xFF];
  }
  gray.m_jpegQuality = m_jpegQuality;
  gray.m_xdpi = m_xdpi;
  gray.m_ydpi = m_ydpi;
  gray.WriteHeader();
  *this = std::move(gray);
  return true;
} catch (...) {
  SetErrorFromException(*this);
  return false;
}

bool CxImage::DecreaseBpp(uint32_t bpp, bool errorDiffusion, const RGBQUAD* palette,
                          uint32_t importantColors) try {
  if (!IsValid()) {
    SetLastError("DecreaseBpp: no picture");
    return false;
  }
  bpp = RoundBpp(bpp);
  if (bpp > m_bpp) {
    SetLastError("DecreaseBpp: target BPP greater than source BPP");
    return false;
  }
  if (bpp == m_bpp) return true;
  CxImage out;
  if (!out.Create(m_width, m_height, bpp, m_type)) {
    SetLastError(out.GetLastError());
    return false;
  }
  const uint32_t colors = out.GetNumColors();
  RGBQUAD* table = out.GetPalette();
  if (palette) {
    std::memcpy(table, palette, colors * sizeof(RGBQUAD));
  } else {
    const std::vector<RGBQUAD> standard = StandardPalette(bpp);
    std::copy(standard.begin(), standard.end(), table);
  }
  const NearestColor nearest(table, colors, palette == nullptr);

  // Floyd–Steinberg keeps the error of each pixel for its right and lower neighbours; two rows
  // of errors (three channels, one pixel of margin each side) are enough.
  std::vector<int> errors;
  if (errorDiffusion) errors.assign(size_t(m_width + 2) * 3 * 2, 0);
  for (uint32_t row = 0; row < m_height; ++row) {
    const uint32_t y = m_height - 1 - row;  // top to bottom, so errors flow downwards
    int* cur = errorDiffusion ? errors.data() + (row & 1) * (m_width + 2) * 3 : nullptr;
    int* next = errorDiffusion ? errors.data() + ((row + 1) & 1) * (m_width + 2) * 3 : nullptr;
    if (next) std::fill(next, next + (m_width + 2) * 3, 0);
    for (uint32_t x = 0; x < m_width; ++x) {
      const RGBQUAD c = GetPixelColor(x, y);
      int r = c.rgbRed, g = c.rgbGreen, b = c.rgbBlue;
      if (cur) {
        int* e = cur + (x + 1) * 3;
        r = std::clamp(r + e[0] / 16, 0, 255);
        g = std::clamp(g + e[1] / 16, 0, 255);
        b = std::clamp(b + e[2] / 16, 0, 255);
      }
      const uint8_t index = nearest(r, g, b);
      out.SetPixelIndex(x, y, index);
      if (cur) {
        const int err[3] = {r - table[index].rgbRed, g - table[index].rgbGreen,
                            b - table[index].rgbBlue};
        for (int k = 0; k < 3; ++k) {
          cur[(x + 2) * 3 + k] += err[k] * 7;
          next[x * 3 + k] += err[k] * 3;
          next[(x + 1) * 3 + k] += err[k] * 5;
          next[(x + 2) * 3 + k] += err[k];
        }
      }
    }
  }
  if (m_transIndex >= 0 && m_bpp <= 8) {
    const RGBQUAD t = GetPaletteColor(uint32_t(m_transIndex));
    out.m_transIndex = nearest(t.rgbRed, t.rgbGreen, t.rgbBlue);
  }
  out.m_jpegQuality = m_jpegQuality;
  out.m_xdpi = m_xdpi;
  out.m_ydpi = m_ydpi;
  out.WriteHeader();
  if (importantColors) {
    uint8_t* h = out.m_dib.get() + 36;
    for (int i = 0; i < 4; ++i) h[i] = uint8_t(importantColors >> (8 * i));
  }
  *this = std::move(out);
  return true;
} catch (...) {
  SetErrorFromException(*this);
  return false;
}

bool CxImage::IncreaseBpp(uint32_t bpp) try {
  if (!IsValid()) {
    SetLastError("IncreaseBpp: no picture");
    return false;
  }
  bpp = RoundBpp(bpp);
  if (bpp <= m_bpp) return true;
  CxImage out;
  if (!out.Create(m_width, m_height, bpp, m_type)) {
    SetLastError(out.GetLastError());
    return false;
  }
  if (bpp <= 8) {
    // Same indexes, same colours: the smaller table is the start of the larger one.
    std::memcpy(out.GetPalette(), GetPalette(), GetNumColors() * sizeof(RGBQUAD));
    for (uint32_t y = 0; y < m_height; ++y)
      for (uint32_t x = 0; x < m_width; ++x) out.SetPixelIndex(x, y, GetPixelIndex(x, y));
    out.m_transIndex = m_transIndex;
  } else {
    const RGBQUAD* pal = GetPalette();
    for (uint32_t y = 0; y < m_height; ++y) {
      uint8_t* d = out.GetBits(y);
      for (uint32_t x = 0; x < m_width; ++x, d += 3) {
        const RGBQUAD c = pal[GetPixelIndex(x, y)];
        d[0] = c.rgbBlue, d[1] = c.rgbGreen, d[2] = c.rgbRed;
      }
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
