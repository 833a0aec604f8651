#include <algorithm>

#include "app/image/ImageCodecs.h"

bool SniffIco(ByteSpan in) {
  if (in.size < 22 || Le16(in.data) != 0 || (Le16(in.data + 2) != 1 && Le16(in.data + 2) != 2) ||
      Le16(in.data + 4) == 0)
    return false;
  const uint32_t size = Le32(in.data + 6 + 8), offset = Le32(in.data + 6 + 12);
  return in.data[6 + 3] == 0 && offset >= 6 && offset < in.size && size > 0;
}

// Icons hold several pictures; the largest with the most colours is shown. Each is a PNG or a
// DIB of twice the height (colour rows, then a 1-bit mask whose set bits are transparent).
bool DecodeIco(CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  if (!SniffIco(in)) return DecodeFailed(img, "Not an ICO file");
  const uint32_t count = Le16(in.data + 4);
  int best = -1;
  uint64_t bestScore = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = in.data + 6 + 16 * size_t(i);
    if (e + 16 > in.data + in.size) break;
    const uint32_t size = Le32(e + 8), offset = Le32(e + 12);
    if (offset >= in.size || size > in.size - offset || size < 12) continue;
    const uint64_t w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
    const uint64_t score = (w * h << 8) | std::min<uint32_t>(Le16(e + 6), 255);
    if (best < 0 || score > bestScore) best = int(i), bestScore = score;
  }
  if (best < 0) return DecodeFailed(img, "ICO file has no usable picture");
  const uint8_t* e = in.data + 6 + 16 * size_t(best);
  const ByteSpan entry{in.data + Le32(e + 12), Le32(e + 8)};
  if (SniffPng(entry)) return DecodePng(img, entry, hint);
  const uint8_t* dib = entry.data;
  if (Le32(dib) < 40 || entry.size < 40) return DecodeFailed(img, "ICO picture is invalid");
  const int32_t fullHeight = int32_t(Le32(dib + 8));
  const uint32_t height = uint32_t(fullHeight < 0 ? -int64_t(fullHeight) : fullHeight) / 2;
  if (height == 0) return DecodeFailed(img, "ICO picture is invalid");
  if (!DecodeDibBody(img, entry, height, 0)) return false;
  const uint32_t bpp = Le16(dib + 14), w = img.GetWidth();
  if (img.GetBpp() != 24) return true;  // palette icons: the colour rows alone
  // Find the rows after the colour rows: header, colour table, colour rows, then the mask.
  const uint32_t colors = bpp <= 8 ? (Le32(dib + 32) ? Le32(dib + 32) : 1u << bpp) : 0;
  const uint64_t colorRow = ((uint64_t(w) * bpp + 31) / 32) * 4;
  const uint64_t maskRow = ((uint64_t(w) + 31) / 32) * 4;
  const uint64_t colorStart = Le32(dib) + uint64_t(colors) * 4;
  const uint64_t maskStart = colorStart + colorRow * height;
  const bool haveMask = maskStart + maskRow * height <= entry.size;
  bool anyAlpha = false;
  if (bpp == 32)
    for (uint32_t y = 0; y < height && !anyAlpha; ++y)
      for (uint32_t x = 0; x < w && !anyAlpha; ++x)
        anyAlpha = dib[colorStart + y * colorRow + 4 * x + 3];
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* d = img.GetBits(y);
    for (uint32_t x = 0; x < w; ++x, d += 3) {
      if (anyAlpha) {
        const uint32_t a = dib[colorStart + y * colorRow + 4 * x + 3];
        for (int k = 0; k < 3; ++k) d[k] = OverWhite(d[k], a);
      } else if (haveMask && ((dib[maskStart + y * maskRow + x / 8] >> (7 - x % 8)) & 1)) {
        d[0] = d[1] = d[2] = 255;
      }
    }
  }
  return true;
}
