#pragma once

#include <cstdint>

// The eight pens of the pen menu: three pens, four highlighters (alpha 128, blended over the
// picture) and the eraser, an opaque white stroke. A pen's index is its command id − 32821.
struct PenDef {
  uint32_t argb;
  int width;  // pixels at 100 %
};

inline constexpr int kPenCount = 8;
inline constexpr PenDef kPens[kPenCount] = {
    {0xFF000000, 2},  {0xFF000000, 10}, {0xFFFF0000, 2},  {0x80FFFF00, 10},
    {0x8000FF00, 10}, {0x800000FF, 10}, {0x80FF8080, 10}, {0xFFFFFFFF, 10},
};

// The pen for an index; indexes outside the table give the first pen.
inline const PenDef& PenAt(int index) {
  return kPens[index >= 0 && index < kPenCount ? index : 0];
}
