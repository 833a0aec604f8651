#include <cstring>

#include <libraw/libraw.h>

#include "app/image/ImageCodecs.h"

namespace {

// Raw files are TIFF-like containers or carry a maker's signature near the start.
bool HasRawSignature(ByteSpan in) {
  const auto at = [&](size_t offset, const char* sig, size_t n) {
    return in.size >= offset + n && std::memcmp(in.data + offset, sig, n) == 0;
  };
  return at(0, "II*\0", 4) || at(0, "MM\0*", 4) || at(0, "IIRO", 4) || at(0, "IIRS", 4) ||
         at(0, "MMOR", 4) || at(0, "IIU\0", 4) || at(0, "\0MRM", 4) || at(0, "FUJIFILM", 8) ||
         at(0, "FOVb", 4) || at(6, "HEAPCCDR", 8);
}

// Raw decoding holds several buffers of the sensor's size; keep that to a sensible camera.
constexpr uint64_t kMaxSensorPixels = 100ull * 1000 * 1000;

}  // namespace

bool SniffRaw(ByteSpan in) { return HasRawSignature(in); }

bool DecodeRaw(CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  if (!HasRawSignature(in)) return DecodeFailed(img, "Not a camera raw file");
  libraw_data_t* raw = libraw_init(0);
  if (!raw) return DecodeFailed(img, "Raw: out of memory");
  bool ok = libraw_open_buffer(raw, const_cast<uint8_t*>(in.data), in.size) == LIBRAW_SUCCESS;
  const char* error = "Raw: file is not supported";
  if (ok && uint64_t(raw->sizes.raw_width) * raw->sizes.raw_height > kMaxSensorPixels) {
    ok = false;
    error = "CXIMAGE_MAX_MEMORY exceeded";
  }
  if (ok) {
    raw->params.use_camera_wb = 1;
    raw->params.output_bps = 8;
    raw->params.half_size = hint.maxWidth && hint.maxHeight ? 1 : 0;
    ok = libraw_unpack(raw) == LIBRAW_SUCCESS && libraw_dcraw_process(raw) == LIBRAW_SUCCESS;
    if (!ok) error = "Raw: file is corrupt";
  }
  libraw_processed_image_t* picture = nullptr;
  if (ok) {
    int code = 0;
    picture = libraw_dcraw_make_mem_image(raw, &code);
    ok = picture && picture->type == LIBRAW_IMAGE_BITMAP && picture->colors == 3 &&
         picture->bits == 8;
  }
  if (ok) {
    ok = img.Create(picture->width, picture->height, 24, CXIMAGE_FORMAT_RAW);
    error = nullptr;
    for (uint32_t y = 0; ok && y < picture->height; ++y) {
      const uint8_t* s = picture->data + size_t(y) * picture->width * 3;
      uint8_t* d = img.GetBits(picture->height - 1 - y);
      for (uint32_t x = 0; x < picture->width; ++x, s += 3, d += 3)
        d[0] = s[2], d[1] = s[1], d[2] = s[0];
    }
  }
  if (picture) libraw_dcraw_clear_mem(picture);
  libraw_close(raw);
  if (!ok && error) return DecodeFailed(img, error);
  return ok;
}
