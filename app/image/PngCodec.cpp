#include <png.h>

#include "app/image/ImageCodecs.h"

bool SniffPng(ByteSpan in) {
  static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return in.size >= 8 && std::equal(kSig, kSig + 8, in.data);
}

// libpng's simplified reader does gamma, palette expansion and blending over the background,
// and writes bottom-up rows directly when given a negative stride.
bool DecodePng(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (!SniffPng(in)) {
    img.SetLastError("Not a PNG file");
    return false;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, in.data, in.size)) {
    img.SetLastError(image.message);
    return false;
  }
  const bool gray = !(image.format & PNG_FORMAT_FLAG_COLOR);
  image.format = gray ? PNG_FORMAT_GRAY : PNG_FORMAT_BGR;
  if (!img.Create(image.width, image.height, gray ? 8 : 24, CXIMAGE_FORMAT_PNG)) {
    png_image_free(&image);
    return false;
  }
  if (gray) img.SetGrayPalette();
  const png_color white{255, 255, 255};
  if (!png_image_finish_read(&image, &white, img.GetBits(0), -int32_t(img.GetEffWidth()),
                             nullptr)) {
    img.Destroy();
    img.SetLastError(image.message);
    return false;
  }
  return true;
}
