#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include <openjpeg.h>

#include "app/image/ImageCodecs.h"
#include "app/image/ImageErrors.h"

namespace {

struct MemoryStream {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

OPJ_SIZE_T Read(void* buffer, OPJ_SIZE_T n, void* user) {
  auto* s = static_cast<MemoryStream*>(user);
  if (s->pos >= s->size) return OPJ_SIZE_T(-1);
  n = std::min<OPJ_SIZE_T>(n, s->size - s->pos);
  std::memcpy(buffer, s->data + s->pos, n);
  s->pos += n;
  return n;
}
OPJ_OFF_T Skip(OPJ_OFF_T n, void* user) {
  auto* s = static_cast<MemoryStream*>(user);
  if (n < 0 && size_t(-n) > s->pos) n = -OPJ_OFF_T(s->pos);
  if (n > 0 && size_t(n) > s->size - s->pos) n = OPJ_OFF_T(s->size - s->pos);
  s->pos = size_t(OPJ_OFF_T(s->pos) + n);
  return n;
}
OPJ_BOOL Seek(OPJ_OFF_T n, void* user) {
  auto* s = static_cast<MemoryStream*>(user);
  if (n < 0 || size_t(n) > s->size) return OPJ_FALSE;
  s->pos = size_t(n);
  return OPJ_TRUE;
}

void OnError(const char* msg, void* user) {
  auto* text = static_cast<char*>(user);
  if (!text[0]) {
    std::snprintf(text, 256, "%s", msg);
    if (char* nl = std::strchr(text, '\n')) *nl = 0;
  }
}
void Quiet(const char*, void*) {}

// Reduction levels (each halves the size) that still cover the thumbnail box.
OPJ_UINT32 ReduceFor(const CxDecodeHint& hint, uint32_t w, uint32_t h, OPJ_UINT32 available) {
  if (!hint.maxWidth || !hint.maxHeight) return 0;
  OPJ_UINT32 r = 0;
  while (r + 1 < available && (w >> (r + 1)) >= hint.maxWidth && (h >> (r + 1)) >= hint.maxHeight)
    ++r;
  return r;
}

bool Decode(CxImage& img, ByteSpan in, const CxDecodeHint& hint, OPJ_CODEC_FORMAT format,
            uint32_t type) {
  MemoryStream ms{in.data, in.size, 0};
  opj_stream_t* stream = opj_stream_create(1 << 16, OPJ_TRUE);
  opj_stream_set_user_data(stream, &ms, nullptr);
  opj_stream_set_user_data_length(stream, in.size);
  opj_stream_set_read_function(stream, Read);
  opj_stream_set_skip_function(stream, Skip);
  opj_stream_set_seek_function(stream, Seek);
  opj_codec_t* codec = opj_create_decompress(format);
  char error[256] = "";
  opj_set_error_handler(codec, OnError, error);
  opj_set_warning_handler(codec, Quiet, nullptr);
  opj_set_info_handler(codec, Quiet, nullptr);
  opj_dparameters_t params;
  opj_set_default_decoder_parameters(&params);
  opj_image_t* image = nullptr;
  bool ok = opj_setup_decoder(codec, &params) && opj_read_header(stream, codec, &image);
  // The picture shows at most three components (one when the second and third differ in size
  // from the first), and the library keeps every decoded sample as a 32-bit integer: a file
  // claiming hundreds of components would multiply the picture's memory. Beyond four, only the
  // components shown are decoded, unless the code stream's colour transform ties the first
  // three together (the library applies it only when it decodes everything); then all of them
  // must fit the budget.
  uint32_t used = 1;
  if (ok) {
    const opj_image_comp_t* c = image->comps;
    const uint64_t w = image->x1 - image->x0, h = image->y1 - image->y0;
    ok = w > 0 && h > 0 && image->numcomps > 0;
    if (ok && image->numcomps >= 3 && c[1].w == c[0].w && c[1].h == c[0].h &&
        c[2].w == c[0].w && c[2].h == c[0].h)
      used = 3;
    uint32_t decoded = image->numcomps;
    if (ok && decoded > 4) {
      opj_codestream_info_v2_t* info = opj_get_cstr_info(codec);
      if (info && info->m_default_tile_info.mct == 0) decoded = used;
      opj_destroy_cstr_info(&info);
    }
    uint64_t samples = 0;
    for (uint32_t k = 0; ok && k < decoded; ++k) samples += uint64_t(c[k].w) * c[k].h;
    if (ok && samples * 4 > kCxImageMaxMemory) {
      ok = false;
      std::snprintf(error, sizeof error, "CXIMAGE_MAX_MEMORY exceeded");
    }
    if (ok && decoded < image->numcomps) {
      static const OPJ_UINT32 kFirstThree[3] = {0, 1, 2};
      ok = opj_set_decoded_components(codec, decoded, kFirstThree, OPJ_FALSE);
    }
  }
  if (ok) {
    opj_codestream_info_v2_t* info = opj_get_cstr_info(codec);
    const OPJ_UINT32 levels = info && info->m_default_tile_info.tccp_info
                                  ? info->m_default_tile_info.tccp_info[0].numresolutions
                                  : 1;
    opj_destroy_cstr_info(&info);
    const OPJ_UINT32 reduce = ReduceFor(hint, image->x1 - image->x0, image->y1 - image->y0, levels);
    if (reduce) opj_set_decoded_resolution_factor(codec, reduce);
    ok = opj_decode(codec, stream, image) && opj_end_decompress(codec, stream);
  }
  if (ok) {
    const opj_image_comp_t* c = image->comps;
    const uint32_t w = c[0].w, h = c[0].h;
    const bool color = used == 3 && c[1].w == w && c[1].h == h && c[2].w == w && c[2].h == h;
    const int channels = color ? 3 : 1;
    for (int k = 0; k < channels && ok; ++k)
      ok = c[k].data != nullptr && c[k].prec >= 1 && c[k].prec <= 31;
    ok = ok && img.Create(w, h, color ? 24 : 8, type);
    std::vector<int64_t> samples;
    if (ok) {
      try {  // the library's objects below must be released whatever happens
        samples.resize(size_t(w) * channels);
      } catch (...) {
        SetErrorFromException(img);
        ok = false;
      }
    }
    if (ok) {
      if (!color) img.SetGrayPalette();
      for (uint32_t y = 0; y < h; ++y) {
        for (int k = 0; k < channels; ++k) {
          const OPJ_INT32* s = c[k].data + size_t(y) * w;
          for (uint32_t x = 0; x < w; ++x) samples[size_t(x) * channels + k] = s[x];
        }
        uint8_t* d = img.GetBits(h - 1 - y);
        for (int k = 0; k < channels; ++k) {
          const opj_image_comp_t& comp = c[k];
          const int shift = int(comp.prec) - 8;
          const int64_t offset = comp.sgnd ? int64_t(1) << (comp.prec - 1) : 0;
          for (uint32_t x = 0; x < w; ++x) {
            int64_t v = samples[size_t(x) * channels + k] + offset;
            v = shift > 0 ? v >> shift : v * (int64_t(1) << -shift);
            d[color ? 3 * x + (2 - k) : x] = uint8_t(std::clamp<int64_t>(v, 0, 255));
          }
        }
      }
    }
  }
  if (image) opj_image_destroy(image);
  opj_destroy_codec(codec);
  opj_stream_destroy(stream);
  if (!ok) {
    // Our own limits and allocation failures speak for themselves; otherwise the library's text.
    const std::string_view text = img.GetLastError();
    if (text == "CXIMAGE_MAX_MEMORY exceeded" || text == kImageOutOfMemory)
      std::snprintf(error, sizeof error, "%s", img.GetLastError());
    else if (!error[0])
      std::snprintf(error, sizeof error, "JPEG 2000 file is corrupt");
    img.Destroy();
    img.SetLastError(error);
  }
  return ok;
}

}  // namespace

bool SniffJp2(ByteSpan in) {
  static const uint8_t kSig[12] = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
  return in.size >= 12 && std::memcmp(in.data, kSig, 12) == 0;
}

bool SniffJpc(ByteSpan in) {
  return in.size >= 4 && in.data[0] == 0xFF && in.data[1] == 0x4F && in.data[2] == 0xFF &&
         in.data[3] == 0x51;
}

// Files named .j2k or .jp2 are either form in practice, so each entry takes both.
bool DecodeJp2(CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  if (SniffJpc(in)) return Decode(img, in, hint, OPJ_CODEC_J2K, CXIMAGE_FORMAT_JPC);
  if (!SniffJp2(in)) return DecodeFailed(img, "Not a JPEG 2000 file");
  return Decode(img, in, hint, OPJ_CODEC_JP2, CXIMAGE_FORMAT_JP2);
}

bool DecodeJpc(CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  if (SniffJp2(in)) return Decode(img, in, hint, OPJ_CODEC_JP2, CXIMAGE_FORMAT_JP2);
  if (!SniffJpc(in)) return DecodeFailed(img, "Not a JPEG 2000 code stream");
  return Decode(img, in, hint, OPJ_CODEC_J2K, CXIMAGE_FORMAT_JPC);
}
