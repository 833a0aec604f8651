#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/image/ImageCodecs.h"

bool SniffPcx(ByteSpan in) {
  return in.size >= 128 && in.data[0] == 0x0A && in.data[1] <= 5 && in.data[1] != 1 &&
         in.data[2] <= 1 &&
         (in.data[3] == 1 || in.data[3] == 2 || in.data[3] == 4 || in.data[3] == 8);
}

bool DecodePcx(CxImage& img, ByteSpan in, const CxDecodeHint&) try {
  if (!SniffPcx(in)) return DecodeFailed(img, "Not a PCX file");
  const uint8_t* h = in.data;
  const bool rle = h[2] == 1;
  const uint32_t bits = h[3], planes = h[65], bytesPerLine = Le16(h + 66);
  const int32_t xmin = Le16(h + 4), ymin = Le16(h + 6), xmax = Le16(h + 8), ymax = Le16(h + 10);
  if (xmax < xmin || ymax < ymin) return DecodeFailed(img, "PCX size is invalid");
  const uint32_t w = uint32_t(xmax - xmin + 1), height = uint32_t(ymax - ymin + 1);
  const bool mono = bits == 1 && planes == 1, ega = bits == 1 && planes >= 2 && planes <= 4;
  const bool nibble = bits == 4 && planes == 1, byte = bits == 8 && planes == 1;
  const bool rgb = bits == 8 && (planes == 3 || planes == 4);
  if (!(mono || ega || nibble || byte || rgb))
    return DecodeFailed(img, "PCX format is not supported");
  if (uint64_t(bytesPerLine) * 8 < uint64_t(w) * bits)
    return DecodeFailed(img, "PCX header is invalid");
  if (!img.Create(w, height, mono ? 1 : (ega || nibble) ? 4 : byte ? 8 : 24, CXIMAGE_FORMAT_PCX))
    return false;
  if (mono) {
    img.SetPaletteColor(0, 0, 0, 0);
    img.SetPaletteColor(1, 255, 255, 255);
  } else if (ega || nibble) {
    for (uint32_t i = 0; i < 16; ++i)
      img.SetPaletteColor(i, h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]);
  } else if (byte) {
    // The 256-colour table follows the pixels, after a 0x0C marker.
    if (in.size >= 128 + 769 && in.data[in.size - 769] == 0x0C) {
      const uint8_t* pal = in.data + in.size - 768;
      for (uint32_t i = 0; i < 256; ++i)
        img.SetPaletteColor(i, pal[3 * i], pal[3 * i + 1], pal[3 * i + 2]);
    } else {
      img.SetGrayPalette();
    }
  }
  std::vector<uint8_t> line(size_t(bytesPerLine) * planes);
  size_t pos = 128;
  uint32_t runLeft = 0;
  uint8_t runValue = 0;
  for (uint32_t row = 0; row < height; ++row) {
    for (uint8_t& b : line) {
      // A run of length zero stands for no bytes; the next code gives this one.
      while (runLeft == 0) {
        if (pos >= in.size) return DecodeFailed(img, "PCX file is truncated");
        const uint8_t c = in.data[pos++];
        if (rle && (c & 0xC0) == 0xC0) {
          if (pos >= in.size) return DecodeFailed(img, "PCX file is truncated");
          runLeft = c & 0x3F;
          runValue = in.data[pos++];
        } else {
          runLeft = 1;
          runValue = c;
        }
      }
      b = runValue;
      --runLeft;
    }
    const uint32_t y = height - 1 - row;
    uint8_t* d = img.GetBits(y);
    if (mono || nibble || byte) {
      std::memcpy(d, line.data(), std::min<size_t>(img.GetEffWidth(), (size_t(w) * bits + 7) / 8));
    } else if (ega) {
      for (uint32_t x = 0; x < w; ++x) {
        uint8_t index = 0;
        for (uint32_t p = 0; p < planes; ++p)
          index |= uint8_t(((line[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p);
        img.SetPixelIndex(x, y, index);
      }
    } else {
      for (uint32_t x = 0; x < w; ++x) {
        d[3 * x + 2] = line[x];
        d[3 * x + 1] = line[bytesPerLine + x];
        d[3 * x] = line[2 * size_t(bytesPerLine) + x];
      }
    }
  }
  return true;
} catch (const std::bad_alloc&) {
  return DecodeFailed(img, "PCX: out of memory");
}
