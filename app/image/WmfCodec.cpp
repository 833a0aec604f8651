#include <cstring>

#include "app/image/ImageCodecs.h"

// Metafiles are drawing commands for the Windows graphics interface; this platform has no
// renderer for them, so they are recognised (and not mistaken for another format) but fail.
bool SniffWmf(ByteSpan in) {
  if (in.size >= 4 && Le32(in.data) == 0x9AC6CDD7) return true;  // placeable metafile
  if (in.size >= 18 && (Le16(in.data) == 1 || Le16(in.data) == 2) && Le16(in.data + 2) == 9 &&
      (Le16(in.data + 4) == 0x100 || Le16(in.data + 4) == 0x300))
    return true;
  return in.size >= 44 && Le32(in.data) == 1 && std::memcmp(in.data + 40, " EMF", 4) == 0;
}

bool DecodeWmf(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  return DecodeFailed(img, SniffWmf(in) ? "WMF/EMF pictures are not supported on this system"
                                        : "Not a WMF/EMF file");
}
