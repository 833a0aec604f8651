#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

#include "app/image/ImageCodecs.h"
#include "app/image/JpegErrors.h"

using namespace jpegerrors;

namespace {

// The largest DCT scaling (1/1 … 1/8) that still leaves the picture covering the box it will
// be shown in.
unsigned ScaleDenominator(uint32_t w, uint32_t h, const CxDecodeHint& hint) {
  if (!hint.maxWidth || !hint.maxHeight) return 1;
  unsigned denom = 1;
  while (denom < 8) {
    const unsigned next = denom * 2;
    // Fitting keeps the aspect ratio, so the binding side is the one reduced the most.
    const double fit = std::min(double(hint.maxWidth) / w, double(hint.maxHeight) / h);
    if (fit * next > 1.0) break;
    denom = next;
  }
  return denom;
}

}  // namespace

bool SniffJpeg(ByteSpan in) {
  return in.size >= 3 && in.data[0] == 0xFF && in.data[1] == 0xD8 && in.data[2] == 0xFF;
}

namespace {

bool DecodeJpegSequential(CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  InitErrors(err);
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  cinfo.err = &err.pub;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    img.Destroy();
    img.SetLastError(err.message);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress;
  // Whole-image coefficient buffers (progressive files) count against the same budget as the
  // picture itself; past it libjpeg fails instead of allocating.
  cinfo.mem->max_memory_to_use = kCxImageMaxMemory;
  jpeg_mem_src(&cinfo, in.data, static_cast<unsigned long>(in.size));
  jpeg_read_header(&cinfo, TRUE);

  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  const bool gray = cinfo.jpeg_color_space == JCS_GRAYSCALE;
  cinfo.out_color_space = cmyk ? JCS_CMYK : gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
  cinfo.scale_num = 1;
  cinfo.scale_denom = ScaleDenominator(cinfo.image_width, cinfo.image_height, hint);
  jpeg_calc_output_dimensions(&cinfo);
  // Check the size before libjpeg allocates anything for it.
  if (!img.Create(cinfo.output_width, cinfo.output_height, gray ? 8 : 24, CXIMAGE_FORMAT_JPG)) {
    std::snprintf(err.message, sizeof err.message, "%s", img.GetLastError());
    longjmp(err.jump, 1);
  }
  if (gray) img.SetGrayPalette();
  if (cinfo.density_unit == 1 || cinfo.density_unit == 2) {
    const double scale = cinfo.density_unit == 2 ? 2.54 : 1.0;
    img.SetXDPI(uint32_t(std::lround(cinfo.X_density * scale)));
    img.SetYDPI(uint32_t(std::lround(cinfo.Y_density * scale)));
  }
  jpeg_start_decompress(&cinfo);
  const uint32_t w = cinfo.output_width, h = cinfo.output_height;
  JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                         JPOOL_IMAGE, w * 4, 1)
                            : nullptr;
  // Rows go straight to their final place in the bottom-up DIB; asking for a whole row group
  // at once lets the upsampler write without its spare-row copy.
  JSAMPROW rows[16];
  while (cinfo.output_scanline < h) {
    const uint32_t first = cinfo.output_scanline;
    if (cmyk) {
      jpeg_read_scanlines(&cinfo, cmykRow, 1);
      // Adobe writes CMYK inverted; values are then ink amounts already multiplied out.
      const bool inverted = cinfo.saw_Adobe_marker;
      const uint8_t* s = cmykRow[0];
      uint8_t* d = img.GetBits(h - 1 - first);
      for (uint32_t x = 0; x < w; ++x, s += 4, d += 3) {
        uint32_t c = s[0], m = s[1], y = s[2], k = s[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        d[0] = uint8_t(y * k / 255);
        d[1] = uint8_t(m * k / 255);
        d[2] = uint8_t(c * k / 255);
      }
      continue;
    }
    const uint32_t n = std::min<uint32_t>(16, h - first);
    for (uint32_t i = 0; i < n; ++i) rows[i] = img.GetBits(h - 1 - (first + i));
    if (jpeg_read_scanlines(&cinfo, rows, n) == 0) break;
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

bool JpegFrameSize(ByteSpan in, uint32_t& width, uint32_t& height, bool& subsampledChroma) {
  if (!SniffJpeg(in)) return false;
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  InitErrors(err);
  cinfo.err = &err.pub;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, in.data, static_cast<unsigned long>(in.size));
  jpeg_read_header(&cinfo, TRUE);
  width = cinfo.image_width;
  height = cinfo.image_height;
  subsampledChroma = cinfo.num_components >= 3 &&
                     (cinfo.max_h_samp_factor > 1 || cinfo.max_v_samp_factor > 1);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

bool DecodeJpeg(CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  if (!SniffJpeg(in)) {
    img.SetLastError("Not a JPEG file");
    return false;
  }
  if (!hint.maxWidth && DecodeJpegInStripes(img, in)) return true;
  return DecodeJpegSequential(img, in, hint);
}

bool EncodeJpeg(const CxImage& img, std::vector<uint8_t>& out) {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  InitErrors(err);
  cinfo.err = &err.pub;
  // libjpeg replaces the buffer as it grows and always stores the current one here.
  struct {
    unsigned char* mem = nullptr;
    unsigned long size = 0;
  } dest;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(dest.mem);
    img.SetLastError(err.message);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &dest.mem, &dest.size);
  const uint32_t w = img.GetWidth(), h = img.GetHeight();
  const RGBQUAD* pal = img.GetPalette();
  bool grayPalette = img.GetBpp() == 8;
  for (uint32_t i = 0; grayPalette && i < 256; ++i)
    grayPalette = pal[i].rgbRed == i && pal[i].rgbGreen == i && pal[i].rgbBlue == i;
  cinfo.image_width = w;
  cinfo.image_height = h;
  cinfo.input_components = grayPalette ? 1 : 3;
  cinfo.in_color_space = grayPalette ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  // Quality is kept as given and rounded only here; anything above 100 writes as 100.
  const float q = img.GetJpegQuality();
  const int quality = q >= 100.0f ? 100 : q <= 0.0f ? 0 : int(std::lround(q));
  jpeg_set_quality(&cinfo, quality, TRUE);
  // A restart marker after every row of blocks costs a few bytes per row and lets the tall
  // pages this program writes be decoded on several threads.
  cinfo.restart_in_rows = 1;
  cinfo.density_unit = 1;
  cinfo.X_density = uint16_t(std::min<uint32_t>(img.GetXDPI(), 65535));
  cinfo.Y_density = uint16_t(std::min<uint32_t>(img.GetYDPI(), 65535));
  jpeg_start_compress(&cinfo, TRUE);
  const bool direct = img.GetBpp() == 24 || grayPalette;
  JSAMPARRAY expanded = direct ? nullptr
                               : (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                            JPOOL_IMAGE, w * 3, 1);
  while (cinfo.next_scanline < h) {
    const uint32_t y = h - 1 - cinfo.next_scanline;
    JSAMPROW row;
    if (direct) {
      row = const_cast<uint8_t*>(img.GetBits(y));
    } else {
      row = expanded[0];
      for (uint32_t x = 0; x < w; ++x) {
        const RGBQUAD c = img.GetPixelColor(x, y);
        row[3 * x] = c.rgbBlue, row[3 * x + 1] = c.rgbGreen, row[3 * x + 2] = c.rgbRed;
      }
    }
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  out.assign(dest.mem, dest.mem + dest.size);
  std::free(dest.mem);
  return true;
}
