#pragma once

// The sheets the PDF printer offers, by the host's paper numbers.

#include <cstdint>

namespace pdfprinter {

struct Paper {
  int32_t number;
  const char* name;  // as the preferences list them
  double widthMm;    // portrait
  double heightMm;
};

inline constexpr Paper kPapers[] = {
    {9, "A4 (210 x 297 mm)", 210.0, 297.0},
    {8, "A3 (297 x 420 mm)", 297.0, 420.0},
    {11, "A5 (148 x 210 mm)", 148.0, 210.0},
    {12, "B4 (JIS) (257 x 364 mm)", 257.0, 364.0},
    {13, "B5 (JIS) (182 x 257 mm)", 182.0, 257.0},
    {1, "Letter (8.5 x 11 in)", 215.9, 279.4},
    {5, "Legal (8.5 x 14 in)", 215.9, 355.6},
};

inline const Paper* FindPaper(int32_t number) {
  for (const Paper& p : kPapers) {
    if (p.number == number) return &p;
  }
  return nullptr;
}

inline constexpr int32_t kDefaultPaper = 9;
inline constexpr int32_t kDotsPerInch = 300;

}  // namespace pdfprinter
