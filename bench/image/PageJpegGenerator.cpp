#include "bench/image/PageJpegGenerator.h"

#include <algorithm>
#include <cstdint>
#include <random>

#include "app/image/CxImage.h"

namespace {

void FillRect(CxImage& img, unsigned x0, unsigned y0, unsigned w, unsigned h, uint8_t r, uint8_t g,
              uint8_t b) {
  for (unsigned y = y0; y < y0 + h && y < img.GetHeight(); ++y) {
    uint8_t* row = img.GetBits(img.GetHeight() - 1 - y);
    for (unsigned x = x0; x < x0 + w && x < img.GetWidth(); ++x)
      row[3 * x] = b, row[3 * x + 1] = g, row[3 * x + 2] = r;
  }
}

}  // namespace

bool GeneratePageJpeg(const std::string& path, unsigned width, unsigned height) {
  CxImage page;
  if (!page.Create(width, height, 24)) return false;
  FillRect(page, 0, 0, width, height, 255, 255, 255);
  std::mt19937 rng(20240601);
  const auto roll = [&](unsigned n) { return unsigned(rng() % n); };
  const unsigned margin = width / 8, column = width - 2 * margin;
  // A header bar like a site's navigation.
  FillRect(page, 0, 0, width, 90, 34, 68, 120);
  unsigned y = 130;
  while (y + 400 < height) {
    const unsigned kind = roll(10);
    if (kind == 0) {
      // A photo block: smooth gradient with sensor-like noise.
      const unsigned h = 200 + roll(200), w = column * (60 + roll(40)) / 100;
      for (unsigned py = 0; py < h; ++py) {
        uint8_t* row = page.GetBits(height - 1 - (y + py));
        for (unsigned px = 0; px < w; ++px) {
          const int n = int(roll(24)) - 12;
          uint8_t* p = row + 3 * (margin + px);
          p[0] = uint8_t(std::clamp(int(80 + 120 * px / w) + n, 0, 255));
          p[1] = uint8_t(std::clamp(int(60 + 150 * py / h) + n, 0, 255));
          p[2] = uint8_t(std::clamp(int(200 - 100 * px / w) + n, 0, 255));
        }
      }
      y += h + 30;
    } else if (kind == 1) {
      // A heading in colour, larger strokes.
      unsigned x = margin;
      const unsigned end = margin + column * (40 + roll(50)) / 100;
      while (x < end) {
        const unsigned w = 10 + roll(22);
        FillRect(page, x, y, w, 26, 170, 30, 40);
        x += w + 6;
      }
      y += 50;
    } else if (kind == 2) {
      FillRect(page, margin, y + 8, column, 2, 200, 200, 200);
      y += 20;
    } else {
      // A paragraph: lines of glyph-sized strokes, words separated by gaps; a few links.
      const unsigned lines = 3 + roll(8);
      for (unsigned l = 0; l < lines; ++l) {
        unsigned x = margin;
        const unsigned end = l + 1 == lines ? margin + column * roll(90) / 100 : margin + column;
        const bool link = roll(12) == 0;
        while (x + 40 < end) {
          const unsigned letters = 2 + roll(8);
          for (unsigned c = 0; c < letters; ++c) {
            const unsigned w = 4 + roll(6), tall = roll(4) == 0 ? 14 : 10;
            if (link)
              FillRect(page, x, y + 14 - tall, w, tall, 20, 60, 200);
            else
              FillRect(page, x, y + 14 - tall, w, tall, 40, 40, 40);
            x += w + 2;
          }
          x += 8;
        }
        y += 24;
      }
      y += 16;
    }
  }
  page.SetJpegQuality(90);
  return page.Save(path, CXIMAGE_FORMAT_JPG);
}
