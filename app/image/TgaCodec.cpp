#include <algorithm>
#include <cstring>

#include "app/image/ImageCodecs.h"

namespace {

struct TgaHeader {
  uint8_t idLength, mapType, imageType;
  uint16_t mapFirst, mapLength;
  uint8_t mapDepth;
  uint16_t width, height;
  uint8_t bpp, descriptor;
};

TgaHeader Parse(const uint8_t* p) {
  return {p[0], p[1],         p[2],         Le16(p + 3), Le16(p + 5),
          p[7], Le16(p + 12), Le16(p + 14), p[16],       p[17]};
}

bool Plausible(const TgaHeader& h) {
  const uint8_t base = h.imageType & ~8;
  if (h.mapType > 1 || !(base >= 1 && base <= 3) || (h.imageType & ~0x0B)) return false;
  if (h.width == 0 || h.height == 0 || (h.descriptor & 0xC0)) return false;
  if (base == 1)
    return h.mapType == 1 && h.bpp == 8 && h.mapLength > 0 &&
           (h.mapDepth == 15 || h.mapDepth == 16 || h.mapDepth == 24 || h.mapDepth == 32);
  if (base == 3) return h.bpp == 8;
  return h.bpp == 15 || h.bpp == 16 || h.bpp == 24 || h.bpp == 32;
}

// Colour of a 15/16/24/32-bit pixel or map entry, stored little-endian as B, G, R (, A).
void ToBgr(const uint8_t* p, uint32_t bits, uint8_t* out) {
  if (bits <= 16) {
    const uint16_t v = Le16(p);
    const auto expand = [](uint32_t c) { return uint8_t((c << 3) | (c >> 2)); };
    out[0] = expand(v & 31), out[1] = expand((v >> 5) & 31), out[2] = expand((v >> 10) & 31);
  } else {
    out[0] = p[0], out[1] = p[1], out[2] = p[2];  // alpha is ignored: many writers leave it 0
  }
}

}  // namespace

bool SniffTga(ByteSpan in) { return in.size >= 18 && Plausible(Parse(in.data)); }

bool DecodeTga(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (in.size < 18) return DecodeFailed(img, "Not a TGA file");
  const TgaHeader h = Parse(in.data);
  if (!Plausible(h)) return DecodeFailed(img, "TGA header is not supported");
  const uint8_t base = h.imageType & ~8;
  const bool rle = h.imageType & 8;
  const uint32_t mapEntry = (h.mapDepth + 7) / 8;
  size_t pos = 18 + size_t(h.idLength);
  const uint8_t* map = in.data + pos;
  if (h.mapType == 1) pos += size_t(h.mapLength) * mapEntry;
  if (pos > in.size) return DecodeFailed(img, "TGA file is truncated");
  const bool indexed = base == 1, gray = base == 3;
  if (indexed && uint32_t(h.mapFirst) + h.mapLength > 256)
    return DecodeFailed(img, "TGA colour map is not supported");
  if (!img.Create(h.width, h.height, indexed || gray ? 8 : 24, CXIMAGE_FORMAT_TGA)) return false;
  if (gray) img.SetGrayPalette();
  if (indexed) {
    for (uint32_t i = 0; i < h.mapLength; ++i) {
      uint8_t c[3];
      ToBgr(map + i * mapEntry, h.mapDepth, c);
      img.SetPaletteColor(h.mapFirst + i, c[2], c[1], c[0]);
    }
  }
  const uint32_t pixelBytes = (h.bpp + 7) / 8;
  const bool topDown = h.descriptor & 0x20, rightToLeft = h.descriptor & 0x10;
  uint32_t runLeft = 0;
  bool runRepeats = false;
  const uint8_t* pixel = nullptr;
  for (uint32_t row = 0; row < h.height; ++row) {
    uint8_t* d = img.GetBits(topDown ? h.height - 1 - row : row);
    for (uint32_t i = 0; i < h.width; ++i) {
      if (rle) {
        // Packets may run on from one row into the next.
        if (runLeft == 0) {
          if (pos >= in.size) return DecodeFailed(img, "TGA file is truncated");
          const uint8_t packet = in.data[pos++];
          runLeft = (packet & 0x7F) + 1u;
          runRepeats = packet & 0x80;
          pixel = nullptr;
        }
        if (!runRepeats || !pixel) {
          if (in.size - pos < pixelBytes) return DecodeFailed(img, "TGA file is truncated");
          pixel = in.data + pos;
          pos += pixelBytes;
        }
        --runLeft;
      } else {
        if (in.size - pos < pixelBytes) return DecodeFailed(img, "TGA file is truncated");
        pixel = in.data + pos;
        pos += pixelBytes;
      }
      const uint32_t x = rightToLeft ? h.width - 1 - i : i;
      if (indexed || gray)
        d[x] = pixel[0];
      else
        ToBgr(pixel, h.bpp, d + 3 * x);
    }
  }
  return true;
}
