#include "app/pageview/PixelTarget.h"

PixelTarget TargetOf(CxImage& picture) {
  PixelTarget t;
  if (!picture.IsValid() || picture.GetBpp() != 24 || picture.GetHeight() == 0) return t;
  t.width = static_cast<int>(picture.GetWidth());
  t.height = static_cast<int>(picture.GetHeight());
  t.top = picture.GetBits(picture.GetHeight() - 1);
  t.stride = -static_cast<std::ptrdiff_t>(picture.GetEffWidth());
  t.bgr = true;
  return t;
}

PixelTarget TargetOfRgb(uint8_t* rgb, int width, int height) {
  PixelTarget t;
  t.top = rgb;
  t.width = width;
  t.height = height;
  t.stride = static_cast<std::ptrdiff_t>(width) * 3;
  t.bgr = false;
  return t;
}
