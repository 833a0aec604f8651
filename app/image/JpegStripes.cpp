// Multi-threaded JPEG decoding for sequential files with restart markers.
//
// A restart marker resets the entropy decoder's state, so the rows between two markers can be
// decoded without the ones before them. Each stripe gets its own libjpeg decoder fed with the
// file's headers (the frame height patched to the stripe's), the stripe's entropy-coded bytes
// and an end marker; no file bytes are copied. Stripes overlap their neighbours by one restart
// interval that is decoded and thrown away, so chroma upsampling at a seam sees the same
// neighbouring rows as a decode of the whole file and the result is identical to it.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "app/image/ImageCodecs.h"
#include "app/image/JpegErrors.h"

using namespace jpegerrors;

namespace {

// Below this many rows the threads cost more than they save.
constexpr uint32_t kMinRowsForStripes = 1024;
constexpr unsigned kMaxStripes = 4;

struct FileLayout {
  size_t sofOffset = 0;          // position of the frame marker
  size_t headerEnd = 0;          // first byte after the scan header
  size_t scanEnd = 0;            // position of the marker that ends the scan
  std::vector<size_t> restarts;  // positions of the restart markers inside the scan
};

// Walks the markers up to the first scan exactly as libjpeg's marker reader does, so both see
// the same frame header; false for anything but one baseline or extended sequential Huffman
// frame, and for anything libjpeg would only tolerate (bytes between markers) or refuse.
bool ReadLayout(ByteSpan in, FileLayout& layout) {
  size_t pos = 2;
  for (;;) {
    if (pos + 2 > in.size || in.data[pos] != 0xFF) return false;
    const uint8_t marker = in.data[pos + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++pos;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // TEM, RSTn: no length
      pos += 2;
      continue;
    }
    const bool frame = marker == 0xC0 || marker == 0xC1;
    const bool skipped = marker == 0xC4 || marker == 0xCC || (marker >= 0xDB && marker <= 0xDD) ||
                         (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
    if (!frame && !skipped && marker != 0xDA) return false;
    if (pos + 4 > in.size) return false;
    const size_t length = Be16(in.data + pos + 2);
    if (length < 2 || pos + 2 + length > in.size) return false;
    if (frame) {
      if (layout.sofOffset || length < 8) return false;
      layout.sofOffset = pos;
    } else if (marker == 0xDA) {
      layout.headerEnd = pos + 2 + length;
      break;
    }
    pos += 2 + length;
  }
  if (!layout.sofOffset) return false;
  // Entropy-coded bytes: 0xFF is followed by 0x00 (a stuffed byte), more 0xFF (fill), a
  // restart marker, or the marker that ends the scan. Restart markers count RST0…RST7 in turn.
  pos = layout.headerEnd;
  for (;;) {
    const void* hit = std::memchr(in.data + pos, 0xFF, in.size - pos);
    if (!hit) return false;
    pos = size_t(static_cast<const uint8_t*>(hit) - in.data);
    size_t next = pos + 1;
    while (next < in.size && in.data[next] == 0xFF) ++next;
    if (next >= in.size) return false;
    const uint8_t byte = in.data[next];
    if (byte == 0x00) {
      pos = next + 1;
    } else if (byte >= 0xD0 && byte <= 0xD7) {
      if (byte != 0xD0 + layout.restarts.size() % 8) return false;
      layout.restarts.push_back(next - 1);
      pos = next + 1;
    } else {
      layout.scanEnd = next - 1;
      return true;
    }
  }
}

// Feeds libjpeg the patched headers, then one range of the scan, then an end marker.
struct StripeSource {
  jpeg_source_mgr pub;
  ByteSpan parts[3];
  int part;
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<StripeSource*>(cinfo->src);
  static const JOCTET kEoi[2] = {0xFF, 0xD9};
  if (src->part < 3) {
    const ByteSpan& p = src->parts[src->part++];
    src->pub.next_input_byte = p.data;
    src->pub.bytes_in_buffer = p.size;
  } else {
    src->pub.next_input_byte = kEoi;
    src->pub.bytes_in_buffer = 2;
  }
  return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count) {
  auto* src = cinfo->src;
  while (count > long(src->bytes_in_buffer)) {
    count -= long(src->bytes_in_buffer);
    FillInput(cinfo);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= size_t(count);
}

// The stripe's markers do not start at RST0; their order was checked when the layout was read.
boolean AcceptAnyRestart(j_decompress_ptr cinfo, int desired) {
  if (cinfo->unread_marker >= 0xD0 && cinfo->unread_marker <= 0xD7) {
    cinfo->unread_marker = 0;
    return TRUE;
  }
  return jpeg_resync_to_restart(cinfo, desired);
}

// What every stripe's decoder must find in its copy of the headers before it may write a row:
// the frame of the whole file, but for the height.
struct FrameShape {
  JDIMENSION width = 0;
  int components = 0;
  J_COLOR_SPACE colorSpace = JCS_UNKNOWN;
  int precision = 0;
  unsigned restartInterval = 0;
  int compsInScan = 0;
  struct Component {
    int id, hSamp, vSamp, quantTable;
  } comps[MAX_COMPONENTS] = {};

  static FrameShape Of(const jpeg_decompress_struct& cinfo) {
    FrameShape f;
    f.width = cinfo.image_width;
    f.components = cinfo.num_components;
    f.colorSpace = cinfo.jpeg_color_space;
    f.precision = cinfo.data_precision;
    f.restartInterval = cinfo.restart_interval;
    f.compsInScan = cinfo.comps_in_scan;
    for (int i = 0; i < cinfo.num_components && i < MAX_COMPONENTS; ++i) {
      const jpeg_component_info& c = cinfo.comp_info[i];
      f.comps[i] = {c.component_id, c.h_samp_factor, c.v_samp_factor, c.quant_tbl_no};
    }
    return f;
  }
  bool Matches(const jpeg_decompress_struct& cinfo) const {
    if (cinfo.progressive_mode || cinfo.arith_code || cinfo.num_components != components ||
        components > MAX_COMPONENTS)
      return false;
    const FrameShape other = Of(cinfo);
    if (other.width != width || other.colorSpace != colorSpace || other.precision != precision ||
        other.restartInterval != restartInterval || other.compsInScan != compsInScan)
      return false;
    for (int i = 0; i < components; ++i) {
      const Component &a = comps[i], &b = other.comps[i];
      if (a.id != b.id || a.hSamp != b.hSamp || a.vSamp != b.vSamp || a.quantTable != b.quantTable)
        return false;
    }
    return true;
  }
};

struct Stripe {
  size_t firstInterval, endInterval;  // decoded, overlap included
  uint32_t firstRow, rowCount;        // rows of the stripe's own decode
  uint32_t keepFrom, keepTo;          // picture rows this stripe writes
  bool ok = false;
};

void DecodeStripe(CxImage& img, ByteSpan in, const FileLayout& layout, const FrameShape& frame,
                  const std::vector<uint8_t>& header, Stripe& stripe) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  InitErrors(err);
  cinfo.err = &err.pub;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    stripe.ok = false;
    return;
  }
  jpeg_create_decompress(&cinfo);
  StripeSource src{};
  src.pub.init_source = InitSource;
  src.pub.fill_input_buffer = FillInput;
  src.pub.skip_input_data = SkipInput;
  src.pub.resync_to_restart = AcceptAnyRestart;
  src.pub.term_source = TermSource;
  const size_t begin =
      stripe.firstInterval == 0 ? layout.headerEnd : layout.restarts[stripe.firstInterval - 1] + 2;
  const size_t end = stripe.endInterval - 1 < layout.restarts.size()
                         ? layout.restarts[stripe.endInterval - 1]
                         : layout.scanEnd;
  static const uint8_t kEoi[2] = {0xFF, 0xD9};
  src.parts[0] = {header.data(), header.size()};
  src.parts[1] = {in.data + begin, end - begin};
  src.parts[2] = {kEoi, 2};
  cinfo.src = &src.pub;
  jpeg_read_header(&cinfo, TRUE);
  // Rows go straight into the picture: the stripe's frame must be the file's in every respect
  // that decides how many bytes a row takes, or the whole stripe is given up.
  if (!frame.Matches(cinfo) || cinfo.image_height != stripe.rowCount) longjmp(err.jump, 1);
  cinfo.out_color_space = cinfo.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  const uint32_t bytesPerPixel = img.GetBpp() / 8;
  if (cinfo.output_height != stripe.rowCount || cinfo.output_width != img.GetWidth() ||
      uint32_t(cinfo.output_components) != bytesPerPixel)
    longjmp(err.jump, 1);
  const uint32_t h = img.GetHeight();
  JSAMPARRAY scratch = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                  JPOOL_IMAGE, img.GetEffWidth(), 16);
  JSAMPROW rows[16];
  while (cinfo.output_scanline < cinfo.output_height) {
    const uint32_t first = cinfo.output_scanline;
    const uint32_t n = std::min<uint32_t>(16, cinfo.output_height - first);
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t y = stripe.firstRow + first + i;
      rows[i] = y >= stripe.keepFrom && y < stripe.keepTo ? img.GetBits(h - 1 - y) : scratch[i];
    }
    if (jpeg_read_scanlines(&cinfo, rows, n) == 0) longjmp(err.jump, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  stripe.ok = true;
}

}  // namespace

bool DecodeJpegInStripes(CxImage& img, ByteSpan in) {
  const unsigned threads = std::min(std::thread::hardware_concurrency(), kMaxStripes);
  if (threads < 2) return false;
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
  const bool gray = cinfo.jpeg_color_space == JCS_GRAYSCALE && cinfo.num_components == 1;
  const bool color = cinfo.jpeg_color_space == JCS_YCbCr && cinfo.num_components == 3;
  const uint32_t width = cinfo.image_width, height = cinfo.image_height;
  const unsigned mcuW = gray ? 8 : 8 * unsigned(cinfo.max_h_samp_factor);
  const unsigned mcuH = gray ? 8 : 8 * unsigned(cinfo.max_v_samp_factor);
  const bool eligible = (gray || color) && !cinfo.progressive_mode && !cinfo.arith_code &&
                        cinfo.comps_in_scan == cinfo.num_components && cinfo.restart_interval &&
                        height >= kMinRowsForStripes;
  const unsigned restartInterval = cinfo.restart_interval;
  const FrameShape frame = FrameShape::Of(cinfo);
  const uint8_t densityUnit = cinfo.density_unit;
  const uint16_t xDensity = cinfo.X_density, yDensity = cinfo.Y_density;
  jpeg_destroy_decompress(&cinfo);
  if (!eligible) return false;
  const size_t mcusPerRow = (width + mcuW - 1) / mcuW;
  if (restartInterval % mcusPerRow) return false;
  const size_t rowsPerInterval = mcuH * (restartInterval / mcusPerRow);
  const size_t intervals = (height + rowsPerInterval - 1) / rowsPerInterval;
  FileLayout layout;
  if (intervals < 2 * threads) return false;
  if (!ReadLayout(in, layout) || layout.restarts.size() + 1 != intervals) return false;

  if (!img.Create(width, height, gray ? 8 : 24, CXIMAGE_FORMAT_JPG)) return false;
  if (gray) img.SetGrayPalette();
  if (densityUnit == 1 || densityUnit == 2) {
    const double scale = densityUnit == 2 ? 2.54 : 1.0;
    img.SetXDPI(uint32_t(std::lround(xDensity * scale)));
    img.SetYDPI(uint32_t(std::lround(yDensity * scale)));
  }
  std::vector<Stripe> stripes(threads);
  std::vector<std::vector<uint8_t>> headers(threads);
  for (unsigned i = 0; i < threads; ++i) {
    Stripe& s = stripes[i];
    const size_t own0 = intervals * i / threads, own1 = intervals * (i + 1) / threads;
    s.firstInterval = own0 ? own0 - 1 : 0;
    s.endInterval = std::min(own1 + 1, intervals);
    s.firstRow = uint32_t(s.firstInterval * rowsPerInterval);
    s.rowCount = uint32_t(std::min<size_t>(s.endInterval * rowsPerInterval, height) - s.firstRow);
    s.keepFrom = uint32_t(own0 * rowsPerInterval);
    s.keepTo = uint32_t(std::min<size_t>(own1 * rowsPerInterval, height));
    headers[i].assign(in.data, in.data + layout.headerEnd);
    headers[i][layout.sofOffset + 5] = uint8_t(s.rowCount >> 8);
    headers[i][layout.sofOffset + 6] = uint8_t(s.rowCount);
  }
  std::vector<std::thread> workers;
  for (unsigned i = 1; i < threads; ++i) {
    try {
      workers.emplace_back(DecodeStripe, std::ref(img), in, std::cref(layout), std::cref(frame),
                           std::cref(headers[i]), std::ref(stripes[i]));
    } catch (const std::exception&) {
      DecodeStripe(img, in, layout, frame, headers[i], stripes[i]);  // no thread to be had
    }
  }
  DecodeStripe(img, in, layout, frame, headers[0], stripes[0]);
  for (std::thread& t : workers) t.join();
  const bool ok = std::all_of(stripes.begin(), stripes.end(), [](const Stripe& s) { return s.ok; });
  if (!ok) img.Destroy();
  return ok;
}
