#include "app/image/ImageCodecs.h"
#define STUB(Name)                                                 \
  bool Sniff##Name(ByteSpan) { return false; }                     \
  bool Decode##Name(CxImage& img, ByteSpan, const CxDecodeHint&) { \
    img.SetLastError("not yet");                                   \
    return false;                                                  \
  }
STUB(Ico)
STUB(Tiff) STUB(Tga) STUB(Pcx) STUB(Wbmp) STUB(Wmf) STUB(Jp2) STUB(Jpc) STUB(Pgx) STUB(Pnm)
    STUB(Ras) STUB(Mng) STUB(Jbig) STUB(Raw)
