#include "app/image/CxImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

#include "app/image/ImageCodecs.h"
#include "app/image/ImageErrors.h"
#include "app/image/ImageFile.h"

namespace {

void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Pixels per metre stored in the header for a resolution in dots per inch.
uint32_t DpiToPpm(uint32_t dpi) { return uint32_t(std::lround(dpi / 0.0254)); }

// Page pictures run to tens of megabytes; faulting them in 2 MB pages instead of 4 KB ones
// saves most of the kernel time spent on a fresh block. Only whole huge pages inside the block
// are marked, and only blocks that came from their own mapping (untouched, zeroed).
void AdviseHugePages(uint8_t* block, size_t size) {
  constexpr size_t kHuge = 2 * 1024 * 1024;
  if (size < 4 * kHuge) return;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + size) & ~(kHuge - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// Runs one decoder; whatever it throws becomes a failed decode with the exception's text.
bool RunDecoder(const CodecEntry& codec, CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  try {
    if (codec.decode(img, in, hint)) return true;
  } catch (...) {
    SetErrorFromException(img);
  }
  img.Destroy();
  return false;
}

}  // namespace

void SetErrorFromException(const CxImage& img) noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    img.SetLastError(kImageOutOfMemory);
  } catch (const std::exception& e) {
    img.SetLastError(e.what());
  } catch (...) {
    img.SetLastError("CxImage: unexpected failure");
  }
}

void CxImage::FreeDeleter::operator()(uint8_t* p) const { std::free(p); }

CxImage::CxImage(uint32_t imageType) : m_type(imageType) {}

CxImage::CxImage(const std::string& fileName, uint32_t imageType) : m_type(imageType) {
  Load(fileName, imageType);
}

CxImage::CxImage(const CxImage& other) { *this = other; }

CxImage& CxImage::operator=(const CxImage& other) {
  if (this == &other) return *this;
  Destroy();
  if (other.m_dib) {
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(other.m_dibSize));
    if (copy) {
      std::memcpy(copy, other.m_dib.get(), other.m_dibSize);
      m_dib.reset(copy);
      m_dibSize = other.m_dibSize;
      m_width = other.m_width;
      m_height = other.m_height;
      m_bpp = other.m_bpp;
      m_effWidth = other.m_effWidth;
    } else {
      SetLastError("CxImage::Create can't allocate memory");
    }
  }
  m_type = other.m_type;
  m_jpegQuality = other.m_jpegQuality;
  m_transIndex = other.m_transIndex;
  m_xdpi = other.m_xdpi;
  m_ydpi = other.m_ydpi;
  return *this;
}

uint32_t CxImage::RoundBpp(uint32_t bpp) {
  if (bpp <= 1) return 1;
  if (bpp <= 4) return 4;
  if (bpp <= 8) return 8;
  return 24;
}

bool CxImage::Create(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imageType) {
  Destroy();
  if (width == 0 || height == 0) {
    SetLastError("CxImage::Create : width and height must be greater than zero");
    return false;
  }
  bpp = RoundBpp(bpp);
  // The limit is checked on width × height × bits / 8 as 32-bit arithmetic would see it; a
  // product that does not fit in 32 bits counts as too large.
  // The rows really allocated are padded to 4 bytes each, which for narrow pictures is many
  // times the pixels themselves (1 x 2^31 at 1 bit would be 8 GiB), so they are held to the same
  // limit.
  const uint64_t bits = uint64_t(width) * height * bpp;
  const uint64_t effWidth64 = ((uint64_t(width) * bpp + 31) / 32) * 4;
  if (bits > 0xFFFFFFFFull || bits / 8 > kCxImageMaxMemory ||
      effWidth64 * height > kCxImageMaxMemory) {
    SetLastError("CXIMAGE_MAX_MEMORY exceeded");
    return false;
  }
  const uint32_t effWidth = uint32_t(effWidth64);
  const uint32_t colors = bpp <= 8 ? 1u << bpp : 0;
  const size_t size = 40 + size_t(colors) * 4 + size_t(effWidth) * height;
  // calloc hands large blocks straight from fresh zeroed pages, so a decoder that overwrites
  // every row pays for no extra clearing pass.
  uint8_t* block = static_cast<uint8_t*>(std::calloc(size, 1));
  if (!block) {
    SetLastError("CxImage::Create can't allocate memory");
    return false;
  }
  AdviseHugePages(block, size);
  m_dib.reset(block);
  m_dibSize = size;
  m_width = width;
  m_height = height;
  m_bpp = bpp;
  m_effWidth = effWidth;
  m_type = imageType;
  m_transIndex = -1;
  WriteHeader();
  return true;
}

void CxImage::WriteHeader() {
  uint8_t* h = m_dib.get();
  if (!h) return;
  Put32(h + 0, 40);
  Put32(h + 4, m_width);
  Put32(h + 8, m_height);
  Put16(h + 12, 1);
  Put16(h + 14, uint16_t(m_bpp));
  Put32(h + 16, 0);  // uncompressed
  Put32(h + 20, m_effWidth * m_height);
  Put32(h + 24, DpiToPpm(m_xdpi));
  Put32(h + 28, DpiToPpm(m_ydpi));
  Put32(h + 32, GetNumColors());
  Put32(h + 36, 0);
}

void CxImage::Destroy() {
  m_dib.reset();
  m_dibSize = 0;
  m_width = m_height = m_bpp = m_effWidth = 0;
}

std::optional<std::vector<uint8_t>> CxImage::CopyToHandle() const {
  if (!m_dib) return std::nullopt;
  try {
    return std::vector<uint8_t>(m_dib.get(), m_dib.get() + m_dibSize);
  } catch (...) {
    SetErrorFromException(*this);
    return std::nullopt;
  }
}

RGBQUAD* CxImage::GetPalette() {
  return m_dib && m_bpp <= 8 ? reinterpret_cast<RGBQUAD*>(m_dib.get() + 40) : nullptr;
}
const RGBQUAD* CxImage::GetPalette() const {
  return m_dib && m_bpp <= 8 ? reinterpret_cast<const RGBQUAD*>(m_dib.get() + 40) : nullptr;
}

void CxImage::SetPaletteColor(uint32_t index, uint8_t r, uint8_t g, uint8_t b) {
  if (RGBQUAD* pal = GetPalette(); pal && index < GetNumColors()) pal[index] = {b, g, r, 0};
}

RGBQUAD CxImage::GetPaletteColor(uint32_t index) const {
  const RGBQUAD* pal = GetPalette();
  return pal && index < GetNumColors() ? pal[index] : RGBQUAD{0, 0, 0, 0};
}

void CxImage::SetGrayPalette() {
  const uint32_t n = GetNumColors();
  for (uint32_t i = 0; i < n; ++i) {
    const uint8_t v = uint8_t(i * 255 / (n - 1));
    SetPaletteColor(i, v, v, v);
  }
}

uint8_t* CxImage::GetBits(uint32_t y) {
  if (!m_dib || y >= m_height) return nullptr;
  return m_dib.get() + 40 + GetNumColors() * 4 + size_t(y) * m_effWidth;
}
const uint8_t* CxImage::GetBits(uint32_t y) const { return const_cast<CxImage*>(this)->GetBits(y); }

uint8_t CxImage::GetPixelIndex(uint32_t x, uint32_t y) const {
  const uint8_t* row = GetBits(y);
  if (!row || x >= m_width || m_bpp > 8) return 0;
  switch (m_bpp) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    default:
      return row[x];
  }
}

void CxImage::SetPixelIndex(uint32_t x, uint32_t y, uint8_t index) {
  uint8_t* row = GetBits(y);
  if (!row || x >= m_width || m_bpp > 8) return;
  if (m_bpp == 1) {
    const uint8_t mask = uint8_t(0x80 >> (x & 7));
    row[x >> 3] = (index & 1) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
  } else if (m_bpp == 4) {
    const int shift = (x & 1) ? 0 : 4;
    row[x >> 1] = uint8_t((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
  } else {
    row[x] = index;
  }
}

RGBQUAD CxImage::GetPixelColor(uint32_t x, uint32_t y) const {
  if (m_bpp <= 8) return GetPaletteColor(GetPixelIndex(x, y));
  const uint8_t* row = GetBits(y);
  if (!row || x >= m_width) return {0, 0, 0, 0};
  return {row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
}

void CxImage::SetTransIndex(long index) {
  if (index < 0) {
    m_transIndex = -1;
    return;
  }
  m_transIndex = uint64_t(index) < GetNumColors() ? index : 0;
}

void CxImage::SetJpegQuality(float quality) { m_jpegQuality = quality; }

void CxImage::SetXDPI(uint32_t dpi) {
  m_xdpi = dpi ? dpi : 96;
  WriteHeader();
}
void CxImage::SetYDPI(uint32_t dpi) {
  m_ydpi = dpi ? dpi : 96;
  WriteHeader();
}

void CxImage::SetLastError(std::string_view text) const {
  size_t n = std::min<size_t>(text.size(), sizeof m_lastError - 1);
  // Step back over continuation bytes so a multi-byte character is never split.
  if (n < text.size())
    while (n > 0 && (uint8_t(text[n]) & 0xC0) == 0x80) --n;
  std::memmove(m_lastError, text.data(), n);
  m_lastError[n] = 0;
}

bool CxImage::Load(const std::string& fileName, uint32_t imageType) {
  return DecodeFile(fileName, imageType, CxDecodeHint{});
}

bool CxImage::LoadThumbnail(const std::string& fileName, uint32_t imageType, uint32_t maxWidth,
                            uint32_t maxHeight) {
  if (!DecodeFile(fileName, imageType, CxDecodeHint{maxWidth, maxHeight})) return false;
  if (ShrinkToFit(maxWidth, maxHeight)) return true;
  Destroy();
  return false;
}

bool CxImage::DecodeFile(const std::string& fileName, uint32_t imageType,
                         const CxDecodeHint& hint) try {
  Destroy();
  FileBytes bytes;
  if (std::string error; !ReadWholeFile(fileName, bytes, error)) {
    SetLastError(error);
    return false;
  }
  return DecodeWith(imageType, bytes.data.get(), bytes.size, hint);
} catch (...) {
  SetErrorFromException(*this);
  Destroy();
  return false;
}

bool CxImage::Decode(const uint8_t* data, size_t size, uint32_t imageType) {
  Destroy();
  return DecodeWith(imageType, data, size, CxDecodeHint{});
}

bool CxImage::DecodeWith(uint32_t imageType, const uint8_t* data, size_t size,
                         const CxDecodeHint& hint) {
  if (imageType != CXIMAGE_FORMAT_UNKNOWN) {
    const CodecEntry* codec = FindCodec(imageType);
    if (codec && codec->decode && RunDecoder(*codec, *this, {data, size}, hint)) {
      m_type = codec->type;
      return true;
    }
    if (!codec || !codec->decode) SetLastError("Decode: Unknown format");
    Destroy();
    char firstError[sizeof m_lastError];
    std::memcpy(firstError, m_lastError, sizeof firstError);
    if (DecodeAny(data, size, hint, imageType)) return true;
    SetLastError(firstError);
    return false;
  }
  return DecodeAny(data, size, hint, CXIMAGE_FORMAT_UNKNOWN);
}

bool CxImage::DecodeAny(const uint8_t* data, size_t size, const CxDecodeHint& hint,
                        uint32_t skipType) {
  if (size == 0) {
    SetLastError("Decode: empty file");
    return false;
  }
  char matchedError[sizeof m_lastError] = "";
  for (const CodecEntry& codec : AllCodecs()) {
    if (codec.type == skipType || !codec.sniff({data, size})) continue;
    if (RunDecoder(codec, *this, {data, size}, hint)) {
      m_type = codec.type;
      return true;
    }
    if (!matchedError[0]) std::memcpy(matchedError, m_lastError, sizeof matchedError);
  }
  SetLastError(matchedError[0] ? matchedError : "Decode: Unknown format");
  return false;
}

bool CxImage::Encode(std::vector<uint8_t>& out, uint32_t imageType) const {
  out.clear();
  const CodecEntry* codec = FindCodec(imageType);
  if (!codec || !codec->encode) {
    SetLastError("Encode: Unknown format");
    return false;
  }
  if (!IsValid()) {
    SetLastError("Encode: no picture");
    return false;
  }
  try {
    if (codec->encode(*this, out)) return true;
  } catch (...) {
    SetErrorFromException(*this);
  }
  out.clear();
  return false;
}

bool CxImage::Save(const std::string& fileName, uint32_t imageType) try {
  std::vector<uint8_t> bytes;
  if (!Encode(bytes, imageType)) return false;
  if (std::string error; !WriteFileReplacing(fileName, bytes, error)) {
    SetLastError(error);
    return false;
  }
  return true;
} catch (...) {
  SetErrorFromException(*this);
  return false;
}
