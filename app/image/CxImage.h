#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Format codes stored in files and settings; the numbers are fixed.
enum : uint32_t {
  CXIMAGE_FORMAT_UNKNOWN = 0,
  CXIMAGE_FORMAT_BMP = 1,
  CXIMAGE_FORMAT_GIF = 2,
  CXIMAGE_FORMAT_JPG = 3,
  CXIMAGE_FORMAT_PNG = 4,
  CXIMAGE_FORMAT_ICO = 5,
  CXIMAGE_FORMAT_TIF = 6,
  CXIMAGE_FORMAT_TGA = 7,
  CXIMAGE_FORMAT_PCX = 8,
  CXIMAGE_FORMAT_WBMP = 9,
  CXIMAGE_FORMAT_WMF = 10,
  CXIMAGE_FORMAT_JP2 = 11,
  CXIMAGE_FORMAT_JPC = 12,
  CXIMAGE_FORMAT_PGX = 13,
  CXIMAGE_FORMAT_PNM = 14,
  CXIMAGE_FORMAT_RAS = 15,
  CXIMAGE_FORMAT_MNG = 17,
  // Reached only by content recognition; never chosen from a file name.
  CXIMAGE_FORMAT_JBG = 18,
  CXIMAGE_FORMAT_RAW = 19,
};

// One palette entry as it sits in a DIB colour table.
struct RGBQUAD {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
};

// Largest picture Create accepts: width × height × bits / 8 in bytes.
inline constexpr uint32_t kCxImageMaxMemory = 268435456;

// Asks a loader for a picture that only has to cover maxWidth × maxHeight; decoders that can
// scale while decoding (JPEG, JPEG 2000, raw) then do less work. Zero means full size.
struct CxDecodeHint {
  uint32_t maxWidth = 0;
  uint32_t maxHeight = 0;
};

// One decoded picture kept as a packed DIB: 40-byte information header, colour table for
// 1/4/8 bits, then rows bottom-up, each padded to 4 bytes, 24-bit pixels blue-green-red.
class CxImage {
 public:
  explicit CxImage(uint32_t imageType = CXIMAGE_FORMAT_UNKNOWN);
  CxImage(const std::string& fileName, uint32_t imageType);
  CxImage(const CxImage& other);
  CxImage& operator=(const CxImage& other);
  CxImage(CxImage&&) noexcept = default;
  CxImage& operator=(CxImage&&) noexcept = default;
  ~CxImage() = default;

  // Loading: the given codec first, then recognition by content over every codec. On failure
  // the object is invalid and the last error is the first attempt's text.
  bool Load(const std::string& fileName, uint32_t imageType = CXIMAGE_FORMAT_UNKNOWN);
  bool Decode(const uint8_t* data, size_t size, uint32_t imageType = CXIMAGE_FORMAT_UNKNOWN);
  // A quick load for thumbnails: the result covers at least maxWidth × maxHeight when the
  // picture is that large, and may be smaller than the file's full size.
  bool LoadThumbnail(const std::string& fileName, uint32_t imageType, uint32_t maxWidth,
                     uint32_t maxHeight);

  bool Create(uint32_t width, uint32_t height, uint32_t bpp,
              uint32_t imageType = CXIMAGE_FORMAT_UNKNOWN);
  void Destroy();

  bool IsValid() const { return m_dib != nullptr; }
  uint32_t GetWidth() const { return m_width; }
  uint32_t GetHeight() const { return m_height; }
  uint32_t GetBpp() const { return m_bpp; }
  uint32_t GetType() const { return m_type; }
  // Bytes per stored row, padding included.
  uint32_t GetEffWidth() const { return m_effWidth; }
  uint32_t GetNumColors() const { return m_bpp <= 8 ? 1u << m_bpp : 0; }

  // The packed DIB, or nullptr when invalid.
  const uint8_t* GetDIB() const { return m_dib.get(); }
  size_t GetDIBSize() const { return m_dibSize; }
  // A zero-initialised copy of the packed DIB (what the clipboard takes); none when invalid.
  std::optional<std::vector<uint8_t>> CopyToHandle() const;

  RGBQUAD* GetPalette();
  const RGBQUAD* GetPalette() const;
  void SetPaletteColor(uint32_t index, uint8_t r, uint8_t g, uint8_t b);
  RGBQUAD GetPaletteColor(uint32_t index) const;
  void SetGrayPalette();
  // Row `y` counted from the bottom, as stored.
  uint8_t* GetBits(uint32_t y = 0);
  const uint8_t* GetBits(uint32_t y = 0) const;
  // Colour of pixel (x, y), y counted from the bottom; black outside the picture.
  RGBQUAD GetPixelColor(uint32_t x, uint32_t y) const;
  uint8_t GetPixelIndex(uint32_t x, uint32_t y) const;
  void SetPixelIndex(uint32_t x, uint32_t y, uint8_t index);

  bool GrayScale();
  bool DecreaseBpp(uint32_t bpp, bool errorDiffusion, const RGBQUAD* palette = nullptr,
                   uint32_t importantColors = 0);
  bool IncreaseBpp(uint32_t bpp);

  // An index not below the colour count becomes 0; a negative value means none.
  void SetTransIndex(long index);
  long GetTransIndex() const { return m_transIndex; }
  // Stored as given; writing rounds it and caps it at 100.
  void SetJpegQuality(float quality);
  float GetJpegQuality() const { return m_jpegQuality; }
  uint32_t GetXDPI() const { return m_xdpi; }
  uint32_t GetYDPI() const { return m_ydpi; }
  void SetXDPI(uint32_t dpi);
  void SetYDPI(uint32_t dpi);

  // Writes through a temporary file in the same folder, so a failed write leaves the old file.
  bool Save(const std::string& fileName, uint32_t imageType);
  bool Encode(std::vector<uint8_t>& out, uint32_t imageType) const;

  const char* GetLastError() const { return m_lastError; }
  // Keeps at most 255 bytes (256 with the terminator), never cutting a UTF-8 sequence.
  void SetLastError(std::string_view text) const;

  // Rounds a requested depth up to one the object stores: 1, 4, 8 or 24.
  static uint32_t RoundBpp(uint32_t bpp);

 private:
  struct FreeDeleter {
    void operator()(uint8_t* p) const;
  };
  bool DecodeWith(uint32_t imageType, const uint8_t* data, size_t size, const CxDecodeHint& hint);
  bool DecodeAny(const uint8_t* data, size_t size, const CxDecodeHint& hint, uint32_t skipType);
  bool DecodeFile(const std::string& fileName, uint32_t imageType, const CxDecodeHint& hint);
  void WriteHeader();
  // False (with the last-error text set) when the smaller picture could not be made.
  bool ShrinkToFit(uint32_t maxWidth, uint32_t maxHeight);

  std::unique_ptr<uint8_t, FreeDeleter> m_dib;
  size_t m_dibSize = 0;
  uint32_t m_width = 0;
  uint32_t m_height = 0;
  uint32_t m_bpp = 0;
  uint32_t m_effWidth = 0;
  uint32_t m_type = CXIMAGE_FORMAT_UNKNOWN;
  float m_jpegQuality = 90;
  long m_transIndex = -1;
  uint32_t m_xdpi = 96;
  uint32_t m_ydpi = 96;
  // A fixed buffer, so reporting an error (an allocation failure above all) never allocates.
  mutable char m_lastError[256] = {};
};
