#include <cstring>

#include "app/image/ImageCodecs.h"

namespace {

// Multi-byte integers: seven bits per byte, high bit set on all but the last.
bool ReadMultiByte(ByteSpan in, size_t& pos, uint32_t& value) {
  value = 0;
  for (int i = 0; i < 5; ++i) {
    if (pos >= in.size) return false;
    const uint8_t b = in.data[pos++];
    if (value > (0xFFFFFFFFu >> 7)) return false;
    value = (value << 7) | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

struct WbmpHeader {
  uint32_t width = 0, height = 0;
  size_t dataPos = 0;
};

bool ReadHeader(ByteSpan in, WbmpHeader& h) {
  size_t pos = 0;
  uint32_t type;
  if (!ReadMultiByte(in, pos, type) || type != 0) return false;
  if (pos >= in.size || in.data[pos++] != 0) return false;  // no extension headers in type 0
  if (!ReadMultiByte(in, pos, h.width) || !ReadMultiByte(in, pos, h.height)) return false;
  h.dataPos = pos;
  return h.width > 0 && h.height > 0;
}

}  // namespace

// The format has no signature, so recognition insists on a size that matches exactly.
bool SniffWbmp(ByteSpan in) {
  WbmpHeader h;
  return ReadHeader(in, h) &&
         uint64_t(in.size - h.dataPos) == (uint64_t(h.width) + 7) / 8 * uint64_t(h.height);
}

bool DecodeWbmp(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  WbmpHeader h;
  if (!ReadHeader(in, h)) return DecodeFailed(img, "Not a WBMP file");
  const uint64_t rowBytes = (uint64_t(h.width) + 7) / 8;
  if (!img.Create(h.width, h.height, 1, CXIMAGE_FORMAT_WBMP)) return false;
  if (uint64_t(in.size - h.dataPos) < rowBytes * h.height)
    return DecodeFailed(img, "WBMP file is truncated");
  img.SetPaletteColor(0, 0, 0, 0);
  img.SetPaletteColor(1, 255, 255, 255);
  for (uint32_t y = 0; y < h.height; ++y)
    std::memcpy(img.GetBits(h.height - 1 - y), in.data + h.dataPos + rowBytes * y, rowBytes);
  return true;
}
