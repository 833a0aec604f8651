#include "app/image/ReducedLoad.h"

#include "app/image/ImageCodecs.h"
#include "app/image/ImageErrors.h"
#include "app/image/ImageFile.h"

bool LoadReducedForBox(CxImage& img, const std::string& fileName, uint32_t imageType,
                       uint32_t boxWidth, uint32_t boxHeight, uint32_t& fullWidth,
                       uint32_t& fullHeight) try {
  img.Destroy();
  fullWidth = fullHeight = 0;
  FileBytes bytes;
  if (std::string error; !ReadWholeFile(fileName, bytes, error)) {
    img.SetLastError(error);
    return false;
  }
  const ByteSpan in{bytes.data.get(), bytes.size};
  uint32_t w = 0, h = 0;
  bool subsampled = false;
  if (boxWidth && boxHeight && JpegFrameSize(in, w, h, subsampled)) {
    const uint32_t scale = subsampled ? 4 : 1;
    if (!DecodeJpeg(img, in, CxDecodeHint{boxWidth * scale, boxHeight * scale})) w = h = 0;
  }
  if (w && h) {
    fullWidth = w;
    fullHeight = h;
    return true;
  }
  // Anything the scaled path cannot take gets the ordinary load, recognition included.
  if (!img.Decode(in.data, in.size, imageType)) return false;
  fullWidth = img.GetWidth();
  fullHeight = img.GetHeight();
  return true;
} catch (...) {
  SetErrorFromException(img);
  img.Destroy();
  return false;
}
