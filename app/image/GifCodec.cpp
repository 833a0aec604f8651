#include <algorithm>
#include <cstring>

#include <gif_lib.h>

#include "app/image/GifQuantizer.h"
#include "app/image/ImageCodecs.h"
#include "app/image/ImageErrors.h"

namespace {

struct Reader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
  auto* r = static_cast<Reader*>(gif->UserData);
  const size_t n = std::min(size_t(length < 0 ? 0 : length), r->size - r->pos);
  std::memcpy(buffer, r->data + r->pos, n);
  r->pos += n;
  return int(n);
}

int WriteToVector(GifFileType* gif, const GifByteType* buffer, int length) {
  static_cast<std::vector<uint8_t>*>(gif->UserData)
      ->insert(static_cast<std::vector<uint8_t>*>(gif->UserData)->end(), buffer, buffer + length);
  return length;
}

bool FailGif(CxImage& img, GifFileType* gif, int error) {
  int ignored = 0;
  if (gif) DGifCloseFile(gif, &ignored);
  img.Destroy();
  const char* text = GifErrorString(error);
  img.SetLastError(text ? text : "GIF file is corrupt");
  return false;
}

bool ReadFirstFrame(CxImage& img, GifFileType* gif, int transparent) {
  const GifImageDesc& d = gif->Image;
  if (d.Width <= 0 || d.Height <= 0 || d.Left < 0 || d.Top < 0) {
    img.SetLastError("GIF frame is invalid");
    return false;
  }
  // A frame that reaches past the logical screen widens the canvas instead of being cut.
  const uint32_t cw = std::max<uint32_t>(gif->SWidth, uint32_t(d.Left + d.Width));
  const uint32_t ch = std::max<uint32_t>(gif->SHeight, uint32_t(d.Top + d.Height));
  if (!img.Create(cw, ch, 8, CXIMAGE_FORMAT_GIF)) return false;
  const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
  if (map) {
    for (int i = 0; i < std::min(map->ColorCount, 256); ++i)
      img.SetPaletteColor(i, map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
  } else {
    img.SetGrayPalette();
  }
  const uint8_t fill = uint8_t(transparent >= 0 ? transparent : gif->SBackGroundColor);
  for (uint32_t y = 0; y < ch; ++y) std::memset(img.GetBits(y), fill, cw);
  std::vector<GifPixelType> line(size_t(d.Width));
  static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  const int passes = d.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = d.Interlace ? kStart[pass] : 0, step = d.Interlace ? kStep[pass] : 1;
    for (int row = start; row < d.Height; row += step) {
      if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) {
        const char* text = GifErrorString(gif->Error);
        img.Destroy();
        img.SetLastError(text ? text : "GIF file is corrupt");
        return false;
      }
      std::memcpy(img.GetBits(ch - 1 - uint32_t(d.Top + row)) + d.Left, line.data(), line.size());
    }
  }
  if (transparent >= 0) img.SetTransIndex(transparent);
  return true;
}

}  // namespace

bool SniffGif(ByteSpan in) {
  return in.size >= 6 && std::memcmp(in.data, "GIF8", 4) == 0 &&
         (in.data[4] == '7' || in.data[4] == '9') && in.data[5] == 'a';
}

bool DecodeGif(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (!SniffGif(in)) {
    img.SetLastError("Not a GIF file");
    return false;
  }
  Reader reader{in.data, in.size, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
  if (!gif) return FailGif(img, nullptr, error);
  int transparent = -1;
  // Only the first frame is shown; reading record by record keeps later frames (and giflib's
  // per-frame allocations) out of memory.
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return FailGif(img, gif, gif->Error);
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) return FailGif(img, gif, gif->Error);
      if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
        GraphicsControlBlock gcb;
        if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
      }
      while (ext) {
        if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) return FailGif(img, gif, gif->Error);
      }
    } else if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif) == GIF_ERROR) return FailGif(img, gif, gif->Error);
      bool ok = false;
      try {
        ok = ReadFirstFrame(img, gif, transparent);
      } catch (...) {  // the row buffer; giflib's handle must still be closed
        SetErrorFromException(img);
        img.Destroy();
      }
      DGifCloseFile(gif, &error);
      return ok;
    } else {
      DGifCloseFile(gif, &error);
      img.Destroy();
      img.SetLastError("GIF file has no picture");
      return false;
    }
  }
}

bool EncodeGif(const CxImage& img, std::vector<uint8_t>& out) {
  const uint32_t w = img.GetWidth(), h = img.GetHeight();
  if (w > 65535 || h > 65535) {
    img.SetLastError("GIF: picture too large");
    return false;
  }
  GifColorType colors[256] = {};
  int colorCount = 0;
  std::vector<uint8_t> indexes;
  if (img.GetBpp() <= 8) {
    colorCount = int(img.GetNumColors());
    for (int i = 0; i < colorCount; ++i) {
      const RGBQUAD c = img.GetPaletteColor(uint32_t(i));
      colors[i] = {c.rgbRed, c.rgbGreen, c.rgbBlue};
    }
  } else {
    colorCount = QuantizeForGif(img, colors, indexes);
  }
  // Allocated before giflib's handle exists, so a failure here leaks nothing.
  std::vector<GifPixelType> line(w);
  int error = 0;
  ColorMapObject* map = GifMakeMapObject(colorCount, colors);
  GifFileType* gif = map ? EGifOpen(&out, WriteToVector, &error) : nullptr;
  bool ok = gif != nullptr;
  // A true-colour picture has no palette index to make transparent.
  const long trans = img.GetBpp() <= 8 ? img.GetTransIndex() : -1;
  if (ok) {
    EGifSetGifVersion(gif, trans >= 0);
    ok = EGifPutScreenDesc(gif, int(w), int(h), 8, 0, map) == GIF_OK;
  }
  if (ok && trans >= 0) {
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, int(trans)};
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_OK;
  }
  ok = ok && EGifPutImageDesc(gif, 0, 0, int(w), int(h), false, nullptr) == GIF_OK;
  for (uint32_t row = 0; ok && row < h; ++row) {
    const uint32_t y = h - 1 - row;
    if (!indexes.empty()) {
      std::memcpy(line.data(), indexes.data() + size_t(row) * w, w);
    } else {
      for (uint32_t x = 0; x < w; ++x) line[x] = img.GetPixelIndex(x, y);
    }
    ok = EGifPutLine(gif, line.data(), int(w)) == GIF_OK;
  }
  if (gif && EGifCloseFile(gif, &error) == GIF_ERROR) ok = false;
  GifFreeMapObject(map);
  if (!ok) {
    out.clear();
    img.SetLastError("GIF: can't write picture");
  }
  return ok;
}
