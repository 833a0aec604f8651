#include <cctype>
#include <cstring>

#include "app/image/ImageCodecs.h"

// PGX: the one-component test format of JPEG 2000, "PG ML +8 640 480\n" then raw samples in
// 1, 2 or 4 bytes, big-endian (ML) or little-endian (LM). Shown as 8-bit grey.
bool SniffPgx(ByteSpan in) {
  return in.size >= 6 && in.data[0] == 'P' && in.data[1] == 'G' && in.data[2] == ' ' &&
         ((in.data[3] == 'M' && in.data[4] == 'L') || (in.data[3] == 'L' && in.data[4] == 'M'));
}

bool DecodePgx(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (!SniffPgx(in)) return DecodeFailed(img, "Not a PGX file");
  const bool bigEndian = in.data[3] == 'M';
  size_t pos = 5;
  const auto skipSpace = [&] {
    while (pos < in.size && (in.data[pos] == ' ' || in.data[pos] == '\t')) ++pos;
  };
  skipSpace();
  bool isSigned = false;
  if (pos < in.size && (in.data[pos] == '+' || in.data[pos] == '-'))
    isSigned = in.data[pos++] == '-';
  uint32_t values[3];
  for (uint32_t& v : values) {
    skipSpace();
    if (pos >= in.size || !std::isdigit(in.data[pos]))
      return DecodeFailed(img, "PGX header is invalid");
    uint64_t n = 0;
    while (pos < in.size && std::isdigit(in.data[pos]) && n <= 0xFFFFFFFFu)
      n = n * 10 + (in.data[pos++] - '0');
    if (n > 0xFFFFFFFFu) return DecodeFailed(img, "PGX header is invalid");
    v = uint32_t(n);
  }
  const uint32_t depth = values[0], w = values[1], h = values[2];
  while (pos < in.size && in.data[pos] != '\n') ++pos;
  ++pos;
  if (depth == 0 || depth > 32 || pos > in.size) return DecodeFailed(img, "PGX header is invalid");
  const uint32_t bytes = depth <= 8 ? 1 : depth <= 16 ? 2 : 4;
  if (!img.Create(w, h, 8, CXIMAGE_FORMAT_PGX)) return false;
  if (uint64_t(in.size - pos) < uint64_t(w) * h * bytes)
    return DecodeFailed(img, "PGX file is truncated");
  img.SetGrayPalette();
  for (uint32_t row = 0; row < h; ++row) {
    uint8_t* d = img.GetBits(h - 1 - row);
    for (uint32_t x = 0; x < w; ++x, pos += bytes) {
      uint32_t v = 0;
      for (uint32_t k = 0; k < bytes; ++k)
        v |= uint32_t(in.data[pos + (bigEndian ? k : bytes - 1 - k)]) << (8 * (bytes - 1 - k));
      if (depth < 32) v &= (1u << depth) - 1;
      if (isSigned) v ^= 1u << (depth - 1);  // two's complement to offset binary
      d[x] = uint8_t(depth >= 8 ? v >> (depth - 8) : v * 255 / ((1u << depth) - 1));
    }
  }
  return true;
}
