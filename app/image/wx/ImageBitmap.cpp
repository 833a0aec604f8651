#include "app/image/wx/ImageBitmap.h"

#include <cstdlib>

#include <wx/image.h>

#include "app/image/DibFunctions.h"

wxBitmap MakeBitmap(const CxImage& img) {
  if (!img.IsValid() || img.GetWidth() > 32767 || img.GetHeight() > 32767) return wxNullBitmap;
  const int32_t w = int32_t(img.GetWidth()), h = int32_t(img.GetHeight());
  auto* rgb = static_cast<uint8_t*>(std::malloc(size_t(w) * size_t(h) * 3));
  if (!rgb) return wxNullBitmap;
  const CxRect all{0, 0, w, h};
  RenderDibToRgb(img.GetDIB(), all, w, h, all, rgb);
  wxImage image(w, h, rgb);  // takes ownership of the malloc'd pixels
  return wxBitmap(image, 24);
}

bool CreateFromBitmap(CxImage& img, const wxBitmap& bitmap, const wxPalette*) {
  if (!bitmap.IsOk()) {
    img.SetLastError("GetDIBits failed");
    return false;
  }
  const uint32_t depth = CxImage::RoundBpp(uint32_t(bitmap.GetDepth()));
  const wxImage image = bitmap.ConvertToImage();
  if (!image.IsOk()) {
    img.SetLastError("GetDIBits failed");
    return false;
  }
  if (!img.Create(uint32_t(bitmap.GetWidth()), uint32_t(bitmap.GetHeight()), 24)) return false;
  const uint32_t w = img.GetWidth(), h = img.GetHeight();
  const unsigned char* src = image.GetData();
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* d = img.GetBits(h - 1 - y);
    const unsigned char* s = src + size_t(y) * w * 3;
    for (uint32_t x = 0; x < w; ++x, s += 3, d += 3) d[0] = s[2], d[1] = s[1], d[2] = s[0];
  }
  // Monochrome and palette bitmaps come back as true colour; give them their own depth again.
  if (depth < 24) return img.DecreaseBpp(depth, false);
  return true;
}
