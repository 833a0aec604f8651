// Feeds arbitrary bytes to the loaders. The first byte picks the format code the caller
// claims (as a file extension would), so both the direct codec and recognition run. Pictures
// that decode go through the conversions and encoders too, while they are small.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/image/CxImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  CxImage img;
  if (!img.Decode(data + 1, size - 1, data[0] % 20)) return 0;
  if (uint64_t(img.GetWidth()) * img.GetHeight() > 256 * 256) return 0;
  std::vector<uint8_t> out;
  CxImage copy = img;
  (void)copy.Encode(out, CXIMAGE_FORMAT_GIF);
  (void)copy.DecreaseBpp(4, true);
  (void)copy.IncreaseBpp(24);
  (void)img.GrayScale();
  (void)img.Encode(out, CXIMAGE_FORMAT_JPG);
  return 0;
}
