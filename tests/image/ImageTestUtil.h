#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/image/CxImage.h"

namespace imagetest {

// A 24-bit picture whose pixel (x, y from the top) has a colour derived from x and y, so any
// row or column mix-up shows.
inline CxImage MakePattern(uint32_t w, uint32_t h) {
  CxImage img;
  img.Create(w, h, 24);
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = img.GetBits(h - 1 - y);
    for (uint32_t x = 0; x < w; ++x) {
      row[3 * x] = uint8_t(x * 7);       // blue
      row[3 * x + 1] = uint8_t(y * 11);  // green
      row[3 * x + 2] = uint8_t(x + y);   // red
    }
  }
  return img;
}

// Pixel colour with y counted from the top.
inline RGBQUAD At(const CxImage& img, uint32_t x, uint32_t y) {
  return img.GetPixelColor(x, img.GetHeight() - 1 - y);
}

inline int MaxChannelDiff(const CxImage& a, const CxImage& b) {
  int worst = 0;
  for (uint32_t y = 0; y < a.GetHeight(); ++y)
    for (uint32_t x = 0; x < a.GetWidth(); ++x) {
      const RGBQUAD p = a.GetPixelColor(x, y), q = b.GetPixelColor(x, y);
      worst = std::max({worst, std::abs(p.rgbRed - q.rgbRed), std::abs(p.rgbGreen - q.rgbGreen),
                        std::abs(p.rgbBlue - q.rgbBlue)});
    }
  return worst;
}

inline std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace imagetest
