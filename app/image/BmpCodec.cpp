#include <algorithm>
#include <climits>
#include <cstring>

#include "app/image/ImageCodecs.h"

namespace {

struct Mask {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

Mask MakeMask(uint32_t mask) {
  Mask m{mask, 0, 0};
  if (!mask) return m;
  while (!((mask >> m.shift) & 1)) ++m.shift;
  while (m.shift + m.bits < 32 && ((mask >> (m.shift + m.bits)) & 1)) ++m.bits;
  return m;
}

uint8_t Extract(uint32_t v, const Mask& m) {
  if (!m.mask) return 0;
  uint32_t c = (v & m.mask) >> m.shift;
  if (m.bits >= 8) return uint8_t(c >> (m.bits - 8));
  // Spread a short field over 0..255 so that full intensity stays full.
  return uint8_t(c * 255 / ((1u << m.bits) - 1));
}

bool Fail(CxImage& img, const char* text) {
  img.Destroy();
  img.SetLastError(text);
  return false;
}

// Run-length rows (8 or 4 bits per pixel); rows are counted from the bottom as stored.
bool DecodeRle(CxImage& img, const uint8_t* p, const uint8_t* end, bool rle4) {
  const uint32_t w = img.GetWidth(), h = img.GetHeight();
  uint32_t x = 0, y = 0;
  while (y < h) {
    if (end - p < 2) return true;  // tolerate a missing end marker, like most readers
    const uint8_t count = p[0], value = p[1];
    p += 2;
    if (count > 0) {
      for (uint32_t i = 0; i < count && x < w; ++i, ++x) {
        const uint8_t index = rle4 ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value;
        img.SetPixelIndex(x, y, index);
      }
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (end - p < 2) return false;
      x += p[0];
      y += p[1];
      p += 2;
    } else {
      const size_t bytes = rle4 ? (value + 1) / 2 : value;
      const size_t padded = (bytes + 1) & ~size_t(1);
      if (size_t(end - p) < bytes) return false;
      for (uint32_t i = 0; i < value && x < w; ++i, ++x) {
        const uint8_t index = rle4 ? ((i & 1) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)) : p[i];
        img.SetPixelIndex(x, y, index);
      }
      p += std::min(padded, size_t(end - p));
    }
  }
  return true;
}

}  // namespace

bool SniffBmp(ByteSpan in) { return in.size >= 18 && in.data[0] == 'B' && in.data[1] == 'M'; }

bool DecodeBmp(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (!SniffBmp(in) || in.size < 14 + 12) return Fail(img, "Not a BMP file");
  const uint32_t offBits = Le32(in.data + 10);
  const ByteSpan dib{in.data + 14, in.size - 14};
  // An offset before the header's end is broken; such files are read as if it were absent.
  return DecodeDibBody(img, dib, 0, offBits > 14 ? offBits - 14 : 0);
}

bool DecodeDibBody(CxImage& img, ByteSpan in, uint32_t heightOverride, size_t bitsOffset) {
  const uint8_t* const base = in.data;
  const uint8_t* const end = in.data + in.size;
  if (in.size < 12) return Fail(img, "BMP header is truncated");
  const uint32_t headerSize = Le32(base);
  int64_t width, height;
  uint32_t bpp, compression = 0, clrUsed = 0;
  size_t paletteEntry = 4;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (headerSize == 12) {
    width = Le16(base + 4);
    height = Le16(base + 6);
    bpp = Le16(base + 10);
    paletteEntry = 3;
  } else if (headerSize >= 40 && headerSize <= 256 && in.size >= headerSize) {
    width = int32_t(Le32(base + 4));
    height = int32_t(Le32(base + 8));
    bpp = Le16(base + 14);
    compression = Le32(base + 16);
    clrUsed = Le32(base + 32);
  } else {
    return Fail(img, "BMP header is invalid");
  }
  size_t pos = headerSize;
  if (compression == 3 || compression == 6) {
    if (headerSize >= 52) {
      for (int i = 0; i < 3; ++i) masks[i] = Le32(base + 40 + 4 * i);
    } else {
      if (in.size < pos + 12) return Fail(img, "BMP header is truncated");
      for (int i = 0; i < 3; ++i) masks[i] = Le32(base + pos + 4 * i);
      pos += compression == 6 ? 16 : 12;
    }
  } else if (bpp == 32) {
    masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (heightOverride) height = heightOverride;
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
    return Fail(img, "BMP size is invalid");
  const bool rle = compression == 1 || compression == 2;
  if (!(bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32))
    return Fail(img, "BMP bit depth is not supported");
  if (!(compression == 0 || (compression == 1 && bpp == 8) || (compression == 2 && bpp == 4) ||
        ((compression == 3 || compression == 6) && (bpp == 16 || bpp == 32))))
    return Fail(img, "BMP compression is not supported");
  if (rle && topDown) return Fail(img, "BMP compression is not supported");

  const uint32_t maxColors = bpp <= 8 ? 1u << bpp : 0;
  const uint32_t fileColors = clrUsed ? clrUsed : maxColors;
  if (clrUsed > 65536) return Fail(img, "BMP palette is invalid");
  const uint8_t* palette = base + pos;
  const size_t paletteBytes = size_t(fileColors) * paletteEntry;
  if (bpp <= 8 && size_t(end - palette) < std::min<size_t>(paletteBytes, maxColors * paletteEntry))
    return Fail(img, "BMP palette is truncated");
  const size_t bitsPos = bitsOffset ? bitsOffset : pos + paletteBytes;
  if (bitsPos >= in.size) return Fail(img, "BMP file is truncated");
  const uint8_t* bits = base + bitsPos;

  const uint32_t w = uint32_t(width), h = uint32_t(height);
  const uint32_t outBpp = bpp == 2 ? 4 : (bpp > 8 ? 24 : bpp);
  if (!img.Create(w, h, outBpp, CXIMAGE_FORMAT_BMP)) return false;
  for (uint32_t i = 0; i < std::min(fileColors, maxColors); ++i) {
    const uint8_t* e = palette + size_t(i) * paletteEntry;
    img.SetPaletteColor(i, e[2], e[1], e[0]);
  }
  if (rle) {
    if (!DecodeRle(img, bits, end, compression == 2)) return Fail(img, "BMP data is corrupt");
    return true;
  }
  const uint64_t rowBytes = ((uint64_t(w) * bpp + 31) / 32) * 4;
  const uint64_t lastRow = (uint64_t(w) * bpp + 7) / 8;
  if (uint64_t(end - bits) < rowBytes * (h - 1) + lastRow)
    return Fail(img, "BMP file is truncated");
  const Mask m[3] = {MakeMask(masks[0]), MakeMask(masks[1]), MakeMask(masks[2])};
  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t* src = bits + rowBytes * (topDown ? h - 1 - y : y);
    uint8_t* dst = img.GetBits(y);
    if (bpp == outBpp && compression == 0) {
      std::memcpy(dst, src, size_t(lastRow));
    } else if (bpp == 2) {
      for (uint32_t x = 0; x < w; ++x)
        img.SetPixelIndex(x, y, (src[x >> 2] >> (6 - 2 * (x & 3))) & 3);
    } else if (bpp == 32 && compression == 0) {
      for (uint32_t x = 0; x < w; ++x, src += 4, dst += 3)
        dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
    } else {
      const uint32_t step = bpp / 8;
      for (uint32_t x = 0; x < w; ++x, src += step, dst += 3) {
        const uint32_t v = step == 2 ? Le16(src) : Le32(src);
        dst[0] = Extract(v, m[2]);
        dst[1] = Extract(v, m[1]);
        dst[2] = Extract(v, m[0]);
      }
    }
  }
  return true;
}

bool EncodeBmp(const CxImage& img, std::vector<uint8_t>& out) {
  const size_t dibSize = img.GetDIBSize();
  const uint32_t offBits = 14 + 40 + img.GetNumColors() * 4;
  out.resize(14 + dibSize);
  uint8_t* p = out.data();
  p[0] = 'B', p[1] = 'M';
  const uint32_t fileSize = uint32_t(14 + dibSize);
  for (int i = 0; i < 4; ++i) p[2 + i] = uint8_t(fileSize >> (8 * i));
  std::memset(p + 6, 0, 4);
  for (int i = 0; i < 4; ++i) p[10 + i] = uint8_t(offBits >> (8 * i));
  std::memcpy(p + 14, img.GetDIB(), dibSize);
  return true;
}
