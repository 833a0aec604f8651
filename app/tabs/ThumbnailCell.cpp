#include "app/tabs/ThumbnailCell.h"

#include <algorithm>
#include <cmath>

#include "app/image/CxImage.h"
#include "app/image/ReducedLoad.h"

namespace tabs {
namespace {

constexpr uint8_t kWhite = 255;
constexpr uint8_t kFrameGrey = 192;

void FrameCell(std::vector<uint8_t>& rgb) {
  const auto put = [&](int x, int y) {
    uint8_t* p = &rgb[(size_t(y) * kCellWidth + size_t(x)) * 3];
    p[0] = p[1] = p[2] = kFrameGrey;
  };
  for (int x = 0; x < kCellWidth; ++x) put(x, 0), put(x, kCellHeight - 1);
  for (int y = 0; y < kCellHeight; ++y) put(0, y), put(kCellWidth - 1, y);
}

}  // namespace

CellPlacement PlaceInCell(uint32_t width, uint32_t height) {
  CellPlacement p;
  if (width == 0 || height == 0) return p;
  const float r = float(height) / float(width);
  // The products are taken at double precision from the single-precision ratio, which is
  // what gives 80 columns for 90 × 100 and 89 rows for 100 × 90.
  if (double(r) > 0.9) {
    p.height = kCellHeight;
    p.width = int(std::min(double(kCellWidth), double(kCellHeight) / double(r)));
    p.x = (kCellWidth - p.width) / 2;
  } else {
    p.width = kCellWidth;
    p.height = int(double(r) * 100.0);
    p.y = (kCellHeight - p.height) / 2;
  }
  return p;
}

ThumbnailCell BlankCell() {
  ThumbnailCell cell;
  cell.rgb.assign(size_t(kCellWidth) * kCellHeight * 3, kWhite);
  FrameCell(cell.rgb);
  return cell;
}

namespace {

// Maps full-picture columns (or rows) onto a reduced picture. A JPEG decoded at 1/d holds
// ceil(full / d) pixels, each the mean of a d × d block, which is the picture's value at the
// block's centre; the value at a full-resolution pixel is interpolated between the two
// nearest centres, so a reduced decode gives what the full picture would have there.
class Axis {
 public:
  Axis(uint32_t full, uint32_t reduced) : m_reduced(reduced) {
    m_exact = full == reduced;
    m_step = double(full) / reduced;
    for (uint32_t d = 2; d <= 8; d *= 2) {
      if ((uint64_t(full) + d - 1) / d == reduced) m_step = d;
    }
  }
  // Lower neighbour and the weight of the upper one for full-resolution pixel `f`.
  void Locate(uint64_t f, uint32_t& i, double& t) const {
    if (m_exact || m_reduced == 1) {
      i = uint32_t(std::min<uint64_t>(f, m_reduced - 1));
      t = 0;
      return;
    }
    const double u = (double(f) + 0.5) / m_step - 0.5;
    const double lower = std::clamp(std::floor(u), 0.0, double(m_reduced - 2));
    i = uint32_t(lower);
    t = u - lower;  // outside 0…1 at the picture's edges: the slope continues
  }
  bool Exact() const { return m_exact; }

 private:
  uint32_t m_reduced;
  bool m_exact;
  double m_step;
};

uint8_t Channel(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

ThumbnailCell ComposeCell(const CxImage& img, uint32_t fullWidth, uint32_t fullHeight) {
  ThumbnailCell cell = BlankCell();
  const CellPlacement p = PlaceInCell(fullWidth, fullHeight);
  if (!img.IsValid() || p.width <= 0 || p.height <= 0) return cell;
  const uint32_t iw = img.GetWidth(), ih = img.GetHeight();
  const Axis across(fullWidth, iw), down(fullHeight, ih);
  const auto pixel = [&](uint32_t x, uint32_t y) { return img.GetPixelColor(x, ih - 1 - y); };
  for (int dy = 0; dy < p.height; ++dy) {
    // The full picture's row under this cell row, as the stretch picks it.
    uint32_t y0;
    double ty;
    down.Locate(uint64_t(dy) * fullHeight / uint64_t(p.height), y0, ty);
    uint8_t* out = &cell.rgb[(size_t(p.y + dy) * kCellWidth + size_t(p.x)) * 3];
    for (int dx = 0; dx < p.width; ++dx, out += 3) {
      uint32_t x0;
      double tx;
      across.Locate(uint64_t(dx) * fullWidth / uint64_t(p.width), x0, tx);
      if (tx == 0 && ty == 0) {
        const RGBQUAD c = pixel(x0, y0);
        out[0] = c.rgbRed, out[1] = c.rgbGreen, out[2] = c.rgbBlue;
        continue;
      }
      const uint32_t x1 = std::min(x0 + 1, iw - 1), y1 = std::min(y0 + 1, ih - 1);
      const RGBQUAD a = pixel(x0, y0), b = pixel(x1, y0), c = pixel(x0, y1), d = pixel(x1, y1);
      const auto mix = [&](uint8_t pa, uint8_t pb, uint8_t pc, uint8_t pd) {
        const double top = pa + (pb - pa) * tx, bottom = pc + (pd - pc) * tx;
        return Channel(top + (bottom - top) * ty);
      };
      out[0] = mix(a.rgbRed, b.rgbRed, c.rgbRed, d.rgbRed);
      out[1] = mix(a.rgbGreen, b.rgbGreen, c.rgbGreen, d.rgbGreen);
      out[2] = mix(a.rgbBlue, b.rgbBlue, c.rgbBlue, d.rgbBlue);
    }
  }
  FrameCell(cell.rgb);
  return cell;
}

bool MakeThumbnailCell(const std::string& path, uint32_t imageType, ThumbnailCell& cell) {
  if (imageType == 0) return false;
  CxImage img;
  uint32_t fullWidth = 0, fullHeight = 0;
  if (!LoadReducedForBox(img, path, imageType, kCellWidth, kCellHeight, fullWidth, fullHeight))
    return false;
  cell = ComposeCell(img, fullWidth, fullHeight);
  return true;
}

CellPlacement PlaceInArea(uint32_t width, uint32_t height, int areaWidth, int areaHeight) {
  CellPlacement p;
  if (width == 0 || height == 0 || areaWidth <= 0 || areaHeight <= 0) return p;
  if (width <= uint32_t(areaWidth) && height <= uint32_t(areaHeight)) {
    p.width = int(width);
    p.height = int(height);
  } else {
    const float s = std::min(std::min(float(areaWidth) / float(width),
                                      float(areaHeight) / float(height)),
                             1.0f);
    p.width = int(double(width) * double(s));
    p.height = int(double(height) * double(s));
  }
  p.x = (areaWidth - p.width) / 2;
  p.y = (areaHeight - p.height) / 2;
  return p;
}

}  // namespace tabs
