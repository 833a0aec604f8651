#pragma once

#include <cstdint>
#include <vector>

#include "app/image/CxImage.h"

// The colour tables depth reduction uses when the caller gives none: black and white for 1 bit,
// the sixteen VGA colours for 4 bits, and for 8 bits a 6×6×6 colour cube followed by 40 extra
// greys (text and page backgrounds are mostly grey).
std::vector<RGBQUAD> StandardPalette(uint32_t bpp);

// Finds the nearest entry (squared RGB distance) of a colour table. The 8-bit standard table
// is searched arithmetically; any other table by scanning it.
class NearestColor {
 public:
  NearestColor(const RGBQUAD* palette, uint32_t count, bool isStandard8);
  uint8_t operator()(int r, int g, int b) const;

 private:
  const RGBQUAD* m_palette;
  uint32_t m_count;
  bool m_standard8;
};

// (red × 306 + green × 601 + blue × 117) >> 10
inline uint8_t GrayOf(uint32_t r, uint32_t g, uint32_t b) {
  return uint8_t((r * 306 + g * 601 + b * 117) >> 10);
}
