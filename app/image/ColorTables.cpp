#include "app/image/ColorTables.h"

#include <climits>

namespace {

constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 51;
constexpr int kExtraGrays = 40;

int Dist(const RGBQUAD& c, int r, int g, int b) {
  const int dr = c.rgbRed - r, dg = c.rgbGreen - g, db = c.rgbBlue - b;
  return dr * dr + dg * dg + db * db;
}

}  // namespace

std::vector<RGBQUAD> StandardPalette(uint32_t bpp) {
  std::vector<RGBQUAD> pal;
  const auto add = [&](int r, int g, int b) {
    pal.push_back({uint8_t(b), uint8_t(g), uint8_t(r), 0});
  };
  if (bpp <= 1) {
    add(0, 0, 0);
    add(255, 255, 255);
  } else if (bpp <= 4) {
    static const uint8_t kVga[16][3] = {
        {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    for (const auto& c : kVga) add(c[0], c[1], c[2]);
  } else {
    for (int r = 0; r < kCubeLevels; ++r)
      for (int g = 0; g < kCubeLevels; ++g)
        for (int b = 0; b < kCubeLevels; ++b) add(r * kCubeStep, g * kCubeStep, b * kCubeStep);
    for (int i = 1; i <= kExtraGrays; ++i) {
      const int v = i * 255 / (kExtraGrays + 1);
      add(v, v, v);
    }
  }
  return pal;
}

NearestColor::NearestColor(const RGBQUAD* palette, uint32_t count, bool isStandard8)
    : m_palette(palette), m_count(count), m_standard8(isStandard8 && count == 256) {}

uint8_t NearestColor::operator()(int r, int g, int b) const {
  if (m_standard8) {
    // The cube is separable, so rounding each channel gives its nearest entry; the nearest grey
    // lies at the mean. The better of the two is the nearest of the whole table.
    const int ri = (r + kCubeStep / 2) / kCubeStep, gi = (g + kCubeStep / 2) / kCubeStep,
              bi = (b + kCubeStep / 2) / kCubeStep;
    int best = (ri * kCubeLevels + gi) * kCubeLevels + bi;
    int bestDist = Dist(m_palette[best], r, g, b);
    const int mean = (r + g + b) / 3;
    int gray = (mean * (kExtraGrays + 1) + 127) / 255;
    for (int i = gray - 1; i <= gray + 1; ++i) {
      if (i < 1 || i > kExtraGrays) continue;
      const int index = 216 + i - 1;
      const int d = Dist(m_palette[index], r, g, b);
      if (d < bestDist) best = index, bestDist = d;
    }
    return uint8_t(best);
  }
  int best = 0, bestDist = INT_MAX;
  for (uint32_t i = 0; i < m_count && bestDist > 0; ++i) {
    const int d = Dist(m_palette[i], r, g, b);
    if (d < bestDist) best = int(i), bestDist = d;
  }
  return uint8_t(best);
}
