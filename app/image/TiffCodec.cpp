#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

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

// Where each file row and column lands on screen. libtiff is asked for the file's own
// orientation, so it never flips anything: a flip it did would cover only the rows of one
// strip or the columns of one tile, while the picture must be flipped as a whole. Orientations
// that swap rows and columns are shown without the swap, as libtiff's reader does.
struct Placement {
  bool mirrored;  // file columns run right to left
  bool bottomUp;  // file rows run bottom to top
};

Placement PlacementOf(uint16_t orientation) {
  switch (orientation) {
    case ORIENTATION_TOPRIGHT:
    case ORIENTATION_RIGHTTOP:
      return {true, false};
    case ORIENTATION_BOTRIGHT:
    case ORIENTATION_RIGHTBOT:
      return {true, true};
    case ORIENTATION_BOTLEFT:
    case ORIENTATION_LEFTBOT:
      return {false, true};
    default:
      return {false, false};
  }
}

// libtiff's reader hands out colours already multiplied by their alpha (it premultiplies
// straight alpha itself), except for 8-bit grey with straight alpha, which it passes as stored.
bool PremultipliedOutput(const TIFFRGBAImage& reader) {
  const bool grey =
      reader.photometric == PHOTOMETRIC_MINISBLACK || reader.photometric == PHOTOMETRIC_MINISWHITE;
  return !(grey && reader.isContig && reader.bitspersample == 8 && reader.samplesperpixel == 2 &&
           reader.alpha == EXTRASAMPLE_UNASSALPHA);
}

uint8_t PremultipliedOverWhite(uint32_t value, uint32_t alpha) {
  return uint8_t(std::min<uint32_t>(255, value + 255 - alpha));
}

// Copies `rows` rows of `columns` RGBA pixels (stride `columns`), which hold the file's rows
// from `fileRow` and columns from `fileColumn`, into the picture.
void PutPixels(CxImage& img, const uint32_t* raster, uint32_t fileColumn, uint32_t fileRow,
               uint32_t columns, uint32_t rows, Placement place, bool premultiplied) {
  const uint32_t w = img.GetWidth(), h = img.GetHeight();
  const uint32_t left = place.mirrored ? w - fileColumn - columns : fileColumn;
  for (uint32_t r = 0; r < rows; ++r) {
    const uint32_t row = fileRow + r;
    // Stored rows count from the bottom.
    uint8_t* d = img.GetBits(place.bottomUp ? row : h - 1 - row) + 3 * size_t(left);
    const uint32_t* s = raster + size_t(r) * columns;
    for (uint32_t i = 0; i < columns; ++i, d += 3) {
      const uint32_t p = s[place.mirrored ? columns - 1 - i : i], a = TIFFGetA(p);
      if (a == 255) {
        d[0] = uint8_t(TIFFGetB(p)), d[1] = uint8_t(TIFFGetG(p)), d[2] = uint8_t(TIFFGetR(p));
      } else if (premultiplied) {
        d[0] = PremultipliedOverWhite(TIFFGetB(p), a);
        d[1] = PremultipliedOverWhite(TIFFGetG(p), a);
        d[2] = PremultipliedOverWhite(TIFFGetR(p), a);
      } else {
        d[0] = OverWhite(TIFFGetB(p), a), d[1] = OverWhite(TIFFGetG(p), a);
        d[2] = OverWhite(TIFFGetR(p), a);
      }
    }
  }
}

// Converts the picture one strip or one tile at a time, so each is decoded exactly once (asking
// libtiff for part of a compressed strip decodes it again from its start) and the only buffer
// besides the picture is one strip or tile of RGBA pixels.
bool ReadPixels(TIFF* tif, TIFFRGBAImage& reader, CxImage& img, const char*& failure) {
  const uint32_t w = reader.width, h = reader.height;
  const Placement place = PlacementOf(reader.orientation);
  const bool premultiplied = PremultipliedOutput(reader);
  reader.req_orientation = reader.orientation;
  uint32_t blockW = w, blockH = h;
  if (TIFFIsTiled(tif)) {
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &blockW);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &blockH);
    if (!blockW || !blockH) return false;
    blockW = std::min(blockW, w);
  } else {
    uint32_t rowsPerStrip = h;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    if (rowsPerStrip) blockH = rowsPerStrip;
  }
  blockH = std::min(blockH, h);
  if (uint64_t(blockW) * blockH * 4 > kCxImageMaxMemory) {
    failure = "CXIMAGE_MAX_MEMORY exceeded";
    return false;
  }
  std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[size_t(blockW) * blockH]);
  if (!raster) {
    failure = "TIFF: out of memory";
    return false;
  }
  for (uint32_t top = 0; top < h; top += blockH) {
    const uint32_t rows = std::min(blockH, h - top);
    for (uint32_t left = 0; left < w; left += blockW) {
      const uint32_t columns = std::min(blockW, w - left);
      reader.row_offset = int(top);
      reader.col_offset = int(left);
      if (!TIFFRGBAImageGet(&reader, raster.get(), columns, rows)) return false;
      PutPixels(img, raster.get(), left, top, columns, rows, place, premultiplied);
    }
  }
  return true;
}

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
  if (!img.Create(reader.width, reader.height, 24, CXIMAGE_FORMAT_TIF)) {
    TIFFRGBAImageEnd(&reader);
    TIFFClose(tif);
    return false;  // Create left its text
  }
  const char* failure = nullptr;
  try {
    ok = ReadPixels(tif, reader, img, failure);
  } catch (const std::bad_alloc&) {
    ok = false;
    failure = "TIFF: out of memory";
  }
  TIFFRGBAImageEnd(&reader);
  TIFFClose(tif);
  if (!ok)
    return DecodeFailed(img, failure         ? failure
                             : file.error[0] ? file.error
                                             : "TIFF file is corrupt");
  return true;
}
