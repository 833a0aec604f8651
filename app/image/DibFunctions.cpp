#include "app/image/DibFunctions.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>

#include "app/image/ImageCodecs.h"

bool DibIsCoreHeader(const uint8_t* dib) { return Le32(dib) == 12; }

int32_t DibWidth(const uint8_t* dib) {
  return DibIsCoreHeader(dib) ? Le16(dib + 4) : int32_t(Le32(dib + 4));
}

int32_t DibHeight(const uint8_t* dib) {
  return DibIsCoreHeader(dib) ? Le16(dib + 6) : int32_t(Le32(dib + 8));
}

uint32_t DibBitCount(const uint8_t* dib) {
  return DibIsCoreHeader(dib) ? Le16(dib + 10) : Le16(dib + 14);
}

uint32_t DibNumColors(const uint8_t* dib) {
  if (!DibIsCoreHeader(dib)) {
    if (const uint32_t used = Le32(dib + 32)) return used;
  }
  switch (DibBitCount(dib)) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

uint32_t DibPaletteSize(const uint8_t* dib) {
  return DibNumColors(dib) * (DibIsCoreHeader(dib) ? 3 : 4);
}

const uint8_t* DibBits(const uint8_t* dib) { return dib + Le32(dib) + DibPaletteSize(dib); }

std::optional<std::vector<uint8_t>> CopyMemoryBlock(const std::vector<uint8_t>* block) {
  if (!block) return std::nullopt;
  try {
    return std::vector<uint8_t>(*block);
  } catch (const std::bad_alloc&) {  // a failed allocation gives no block, as documented
    return std::nullopt;
  }
}

DibPaintPlan PlanPaintDib(const uint8_t* dib, const CxRect& dest, const CxRect& src) {
  DibPaintPlan plan;
  // A height of -2^31 has no positive counterpart: no DIB of that size can be painted.
  if (!dib || DibHeight(dib) == INT32_MIN) return plan;
  plan.dest = dest;
  plan.src = src;
  if (dest.Width() == src.Width() && dest.Height() == src.Height()) {
    plan.mode = DibPaintMode::kCopy;
    plan.srcYFromBottom = int32_t(std::abs(int64_t(DibHeight(dib))) - src.bottom);
  } else {
    plan.mode = DibPaintMode::kStretch;
  }
  return plan;
}

void RenderDibToRgb(const uint8_t* dib, const CxRect& src, int32_t dstWidth, int32_t dstHeight,
                    const CxRect& visible, uint8_t* rgb) {
  // Widths are never negative; one of 2^31 or more is read as the unsigned number it is, so
  // the row length stays right. Heights keep their sign (negative means top-down rows).
  const int64_t width = DibIsCoreHeader(dib) ? int64_t(Le16(dib + 4)) : int64_t(Le32(dib + 4));
  const int32_t rawHeight = DibHeight(dib);
  const int64_t height = std::abs(int64_t(rawHeight));
  const bool bottomUp = rawHeight > 0;
  const uint32_t bpp = DibBitCount(dib);
  const bool core = DibIsCoreHeader(dib);
  const uint8_t* pal = dib + Le32(dib);
  const uint32_t colors = DibNumColors(dib);
  const uint8_t* bits = DibBits(dib);
  const size_t stride = ((size_t(width) * bpp + 31) / 32) * 4;
  const int64_t srcW = src.Width(), srcH = src.Height();
  // Source column for every visible destination column, computed once.
  std::vector<int32_t> columns(size_t(std::max(visible.Width(), 0)));
  for (int32_t dx = visible.left; dx < visible.right; ++dx)
    columns[size_t(dx - visible.left)] = int32_t(src.left + (int64_t(dx) * srcW) / dstWidth);
  for (int32_t dy = visible.top; dy < visible.bottom; ++dy) {
    const int32_t sy = int32_t(src.top + (int64_t(dy) * srcH) / dstHeight);
    uint8_t* out = rgb + size_t(dy - visible.top) * size_t(visible.Width()) * 3;
    if (sy < 0 || sy >= height) {
      std::fill(out, out + size_t(visible.Width()) * 3, 0);
      continue;
    }
    const uint8_t* row = bits + stride * size_t(bottomUp ? height - 1 - sy : sy);
    for (int32_t sx : columns) {
      if (sx < 0 || sx >= width) {
        out[0] = out[1] = out[2] = 0;
      } else if (bpp == 24) {
        const uint8_t* p = row + 3 * size_t(sx);
        out[0] = p[2], out[1] = p[1], out[2] = p[0];
      } else if (bpp == 32) {
        const uint8_t* p = row + 4 * size_t(sx);
        out[0] = p[2], out[1] = p[1], out[2] = p[0];
      } else {
        uint32_t index;
        if (bpp == 8)
          index = row[sx];
        else if (bpp == 4)
          index = (row[sx >> 1] >> ((sx & 1) ? 0 : 4)) & 0x0F;
        else
          index = (row[sx >> 3] >> (7 - (sx & 7))) & 1;
        if (index < colors) {
          const uint8_t* e = pal + index * (core ? 3 : 4);
          out[0] = e[2], out[1] = e[1], out[2] = e[0];
        } else {
          out[0] = out[1] = out[2] = 0;
        }
      }
      out += 3;
    }
  }
}
