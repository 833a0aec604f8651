#pragma once

// Free functions over a packed DIB: a 40-byte information header or a 12-byte core header,
// then the colour table, then the rows. They trust the header; callers pass DIBs made by
// CxImage or checked by a decoder.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct CxRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
};

bool DibIsCoreHeader(const uint8_t* dib);
int32_t DibWidth(const uint8_t* dib);
int32_t DibHeight(const uint8_t* dib);
uint32_t DibBitCount(const uint8_t* dib);
uint32_t DibNumColors(const uint8_t* dib);
// Colour count × 4 for an information header, × 3 for a core header.
uint32_t DibPaletteSize(const uint8_t* dib);
const uint8_t* DibBits(const uint8_t* dib);

// A zero-initialised block of the same size holding the same bytes; none for none.
std::optional<std::vector<uint8_t>> CopyMemoryBlock(const std::vector<uint8_t>* block);

// How a DIB is painted from a source rectangle (top-down picture coordinates) into a
// destination rectangle: equal sizes copy unscaled, anything else stretches.
enum class DibPaintMode { kNothing, kCopy, kStretch };
struct DibPaintPlan {
  DibPaintMode mode = DibPaintMode::kNothing;
  CxRect dest;
  CxRect src;
  // For kCopy: the source row measured from the DIB's bottom, as rows are stored.
  int32_t srcYFromBottom = 0;
};
DibPaintPlan PlanPaintDib(const uint8_t* dib, const CxRect& dest, const CxRect& src);

// Renders the part `visible` (destination coordinates, inside 0..dstWidth × 0..dstHeight) of
// the source rectangle `src` scaled to dstWidth × dstHeight, as top-down RGB bytes. Each
// destination pixel takes the source pixel it falls on (rows and columns dropped or repeated,
// never blended), like a colour-on-colour stretch.
void RenderDibToRgb(const uint8_t* dib, const CxRect& src, int32_t dstWidth, int32_t dstHeight,
                    const CxRect& visible, uint8_t* rgb);
