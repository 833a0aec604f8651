#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CxImage;

namespace tabs {

inline constexpr int kCellWidth = 100;
inline constexpr int kCellHeight = 90;

// Where a picture of width × height is drawn in a thumbnail cell.
struct CellPlacement {
  int x = 0, y = 0, width = 0, height = 0;
};

// The ratio height ÷ width is taken in single precision, as the lists always have, so a
// 100 × 90 picture (ratio 0.9f, just below 0.9) fills the width at 89 rows.
CellPlacement PlaceInCell(uint32_t width, uint32_t height);

// A finished cell: top-down RGB, kCellWidth × kCellHeight. Made on a worker thread; only the
// interface thread turns it into a bitmap.
struct ThumbnailCell {
  std::vector<uint8_t> rgb;
};

// White with the grey frame: what a picture that cannot be decoded shows.
ThumbnailCell BlankCell();

// Draws `img` into a blank cell as the stretch of a picture of fullWidth × fullHeight would
// be drawn: each cell pixel takes the full picture's pixel it falls on, read from `img`, which
// may be a reduced decode of that picture.
ThumbnailCell ComposeCell(const CxImage& img, uint32_t fullWidth, uint32_t fullHeight);

// Loads the file (JPEGs reduced at decode time) and composes its cell; false when the file
// is not a picture or cannot be decoded.
bool MakeThumbnailCell(const std::string& path, uint32_t imageType, ThumbnailCell& cell);

// Where a picture of width × height goes in the photo pane's usable area of areaWidth ×
// areaHeight: natural size, centred, when it fits; otherwise scaled by the single-precision
// factor min(areaWidth / width, areaHeight / height).
CellPlacement PlaceInArea(uint32_t width, uint32_t height, int areaWidth, int areaHeight);

}  // namespace tabs
