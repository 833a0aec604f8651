#pragma once

#include <cstddef>
#include <cstdint>

#include "app/image/CxImage.h"

// A 24-bit pixel buffer to draw into: a packed DIB (bottom-up rows, blue-green-red) or a
// toolkit image (top-down rows, red-green-blue). Rows are addressed from the top.
struct PixelTarget {
  uint8_t* top = nullptr;  // first byte of the top row
  std::ptrdiff_t stride = 0;  // bytes from one row to the row below it
  int width = 0;
  int height = 0;
  bool bgr = false;

  uint8_t* Row(int y) const { return top + stride * y; }
};

// The 24-bit picture as a target; an empty target for other depths.
PixelTarget TargetOf(CxImage& picture);
// A top-down RGB buffer of width × height × 3 bytes.
PixelTarget TargetOfRgb(uint8_t* rgb, int width, int height);

// Maps view units to target pixels: target = view × scale + origin. On the screen the scale
// is 1 and the origin is minus the scroll position; when flattening the scale is 100 / zoom,
// so a mark lands on the picture pixels it covered on the screen.
struct ViewMapping {
  double scale = 1.0;
  double originX = 0.0;
  double originY = 0.0;
};
