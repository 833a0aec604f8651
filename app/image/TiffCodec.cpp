#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include <tiffio.h>

#include "app/image/ImageCodecs.h"

namespace {

struct MemoryFile {
  const uint8_t* data;
  size_t size;
  toff_t pos;
  char error[256];
};

tsize_t ReadProc(thandle_t h, tdata_t buffer, tsize_t size) {
  auto* f = static_cast<MemoryFile*>(h);
  if (size < 0 || f->pos >= f->size) return 0;
  const size_t n = std::min<size_t>(size_t(size), f->size - size_t(f->pos));
  std::memcpy(buffer, f->data + f->pos, n);
  f->pos += n;
  return tsize_t(n);
}
tsize_t WriteProc(thandle_t, tdata_t, tsize_t) { return -1; }
toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
  auto* f = static_cast<MemoryFile*>(h);
  const toff_t base = whence == SEEK_CUR ? f->pos : whence == SEEK_END ? f->size : 0;
  f->pos = base + offset;
  return f->pos;
}
int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t h) { return static_cast<MemoryFile*>(h)->size; }
int MapProc(thandle_t, tdata_t*, toff_t*) { return 0; }
void UnmapProc(thandle_t, tdata_t, toff_t) {}

int OnError(TIFF*, void* user, const char*, const char* fmt, va_list args) {
  auto* f = static_cast<MemoryFile*>(user);
  if (!f->error[0]) std::vsnprintf(f->error, sizeof f->error, fmt, args);
  return 1;
}
int OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// Rows are converted through libtiff's RGBA reader this many at a time, so the only
// full-size buffer is the picture itself.
constexpr uint32_t kBandRows = 64;

}  // namespace

bool SniffTiff(ByteSpan in) {
  return in.size >= 8 &&
         ((in.data[0] == 'I' && in.data[1] == 'I' && in.data[2] == 42 && in.data[3] == 0) ||
          (in.data[0] == 'M' && in.data[1] == 'M' && in.data[2] == 0 && in.data[3] == 42));
}

bool DecodeTiff(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (!SniffTiff(in)) return DecodeFailed(img, "Not a TIFF file");
  MemoryFile file{in.data, in.size, 0, {0}};
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &file);
  TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &file);
  // Strip and tile buffers of a hostile file may claim any size; cap each allocation.
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kCxImageMaxMemory));
  TIFF* tif = TIFFClientOpenExt("memory", "rm", &file, ReadProc, WriteProc, SeekProc, CloseProc,
                                SizeProc, MapProc, UnmapProc, options);
  TIFFOpenOptionsFree(options);
  if (!tif) return DecodeFailed(img, file.error[0] ? file.error : "TIFF file is invalid");
  char message[1024] = "";
  TIFFRGBAImage reader;
  bool ok = TIFFRGBAImageOK(tif, message) && TIFFRGBAImageBegin(&reader, tif, 0, message);
  if (!ok) {
    TIFFClose(tif);
    return DecodeFailed(img, message[0] ? message : "TIFF format is not supported");
  }
  reader.req_orientation = ORIENTATION_TOPLEFT;
  const uint32_t w = reader.width, h = reader.height;
  ok = img.Create(w, h, 24, CXIMAGE_FORMAT_TIF);
  std::vector<uint32_t> band;
  if (ok) band.resize(size_t(w) * kBandRows);
  for (uint32_t top = 0; ok && top < h; top += kBandRows) {
    const uint32_t rows = std::min(kBandRows, h - top);
    reader.row_offset = int(top);
    reader.col_offset = 0;
    if (!TIFFRGBAImageGet(&reader, band.data(), w, rows)) {
      ok = false;
      break;
    }
    for (uint32_t r = 0; r < rows; ++r) {
      uint8_t* d = img.GetBits(h - 1 - (top + r));
      const uint32_t* s = band.data() + size_t(r) * w;
      for (uint32_t x = 0; x < w; ++x, d += 3) {
        const uint32_t a = TIFFGetA(s[x]);
        d[0] = OverWhite(TIFFGetB(s[x]), a);
        d[1] = OverWhite(TIFFGetG(s[x]), a);
        d[2] = OverWhite(TIFFGetR(s[x]), a);
      }
    }
  }
  TIFFRGBAImageEnd(&reader);
  TIFFClose(tif);
  if (!ok) return DecodeFailed(img, file.error[0] ? file.error : "TIFF file is corrupt");
  return true;
}
