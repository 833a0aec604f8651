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

// What LibRaw holds at once while it decodes, known from the header before it unpacks anything:
// the sensor data (16 bits a photosite, four channels for sensors without a colour filter
// pattern), its working picture of four 16-bit channels (a quarter of the pixels at half size)
// and the finished 8-bit picture.
uint64_t RawBytesNeeded(const libraw_data_t& raw, bool halfSize) {
  const uint64_t sensor =
      uint64_t(raw.sizes.raw_width) * raw.sizes.raw_height * (raw.idata.filters ? 2 : 8);
  uint64_t w = raw.sizes.width, h = raw.sizes.height;
  if (halfSize) w = (w + 1) / 2, h = (h + 1) / 2;
  return sensor + w * h * 8 + w * h * 3;
}

}  // namespace

bool SniffRaw(ByteSpan in) { return HasRawSignature(in); }

bool DecodeRaw(CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  if (!HasRawSignature(in)) return DecodeFailed(img, "Not a camera raw file");
  libraw_data_t* raw = libraw_init(0);
  if (!raw) return DecodeFailed(img, "Raw: out of memory");
  bool ok = libraw_open_buffer(raw, const_cast<uint8_t*>(in.data), in.size) == LIBRAW_SUCCESS;
  const char* error = "Raw: file is not supported";
  // Thumbnails always take the half-size decode; a full-size picture whose buffers would not fit
  // the picture budget is shown at half size, and one that does not fit even so is refused.
  bool halfSize = hint.maxWidth && hint.maxHeight;
  if (ok && !halfSize && RawBytesNeeded(*raw, false) > kCxImageMaxMemory) halfSize = true;
  if (ok && RawBytesNeeded(*raw, true) > kCxImageMaxMemory) {
    ok = false;
    error = "CXIMAGE_MAX_MEMORY exceeded";
  }
  if (ok) {
    raw->params.use_camera_wb = 1;
    raw->params.output_bps = 8;
    raw->params.half_size = halfSize ? 1 : 0;
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
