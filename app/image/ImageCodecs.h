#pragma once

// The codecs behind CxImage. Each decoder parses a whole file held in memory, checks every
// offset against the block's end, creates the picture through CxImage::Create (which enforces
// the memory limit) and reports failures through the object's last-error text.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/image/CxImage.h"

struct ByteSpan {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

using SniffFn = bool (*)(ByteSpan);
using DecodeFn = bool (*)(CxImage&, ByteSpan, const CxDecodeHint&);
using EncodeFn = bool (*)(const CxImage&, std::vector<uint8_t>&);

struct CodecEntry {
  uint32_t type;
  SniffFn sniff;    // cheap signature test used by recognition
  DecodeFn decode;  // null when the format cannot be read
  EncodeFn encode;  // null when the format cannot be written
};

// Recognition order: formats with strong signatures first, weak ones (TGA, WBMP) last.
std::span<const CodecEntry> AllCodecs();
const CodecEntry* FindCodec(uint32_t type);

inline uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint16_t Be16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t Be32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// Blends a colour over the white page background the program shows pictures on.
inline uint8_t OverWhite(uint32_t value, uint32_t alpha) {
  return uint8_t((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

// Leaves the picture invalid with `text` as its last error; returns false for chaining.
inline bool DecodeFailed(CxImage& img, const char* text) {
  img.Destroy();
  img.SetLastError(text);
  return false;
}

// Per-codec entry points.
bool SniffBmp(ByteSpan in);
bool DecodeBmp(CxImage& img, ByteSpan in, const CxDecodeHint& hint);
bool EncodeBmp(const CxImage& img, std::vector<uint8_t>& out);
// Decodes a bare DIB (information or core header first), as found in icons and clipboards.
// `heightOverride` replaces the header's height when non-zero (icons store twice the height).
bool DecodeDibBody(CxImage& img, ByteSpan in, uint32_t heightOverride, size_t bitsOffset);

bool SniffJpeg(ByteSpan in);
bool DecodeJpeg(CxImage& img, ByteSpan in, const CxDecodeHint& hint);
bool EncodeJpeg(const CxImage& img, std::vector<uint8_t>& out);
// The frame's size from the header alone, and whether colour is stored at a lower resolution
// than brightness; false when libjpeg cannot read the header.
bool JpegFrameSize(ByteSpan in, uint32_t& width, uint32_t& height, bool& subsampledChroma);
// Decodes a sequential JPEG whose restart markers fall on row boundaries in horizontal stripes
// on several threads; false (without a message) when the file does not qualify or a stripe
// fails, and the caller then decodes it in one pass.
bool DecodeJpegInStripes(CxImage& img, ByteSpan in);

bool SniffPng(ByteSpan in);
bool DecodePng(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffGif(ByteSpan in);
bool DecodeGif(CxImage& img, ByteSpan in, const CxDecodeHint& hint);
bool EncodeGif(const CxImage& img, std::vector<uint8_t>& out);

bool SniffIco(ByteSpan in);
bool DecodeIco(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffTiff(ByteSpan in);
bool DecodeTiff(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffTga(ByteSpan in);
bool DecodeTga(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffPcx(ByteSpan in);
bool DecodePcx(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffWbmp(ByteSpan in);
bool DecodeWbmp(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffWmf(ByteSpan in);
bool DecodeWmf(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffJp2(ByteSpan in);
bool DecodeJp2(CxImage& img, ByteSpan in, const CxDecodeHint& hint);
bool SniffJpc(ByteSpan in);
bool DecodeJpc(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffPgx(ByteSpan in);
bool DecodePgx(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffPnm(ByteSpan in);
bool DecodePnm(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffRas(ByteSpan in);
bool DecodeRas(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffMng(ByteSpan in);
bool DecodeMng(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffJbig(ByteSpan in);
bool DecodeJbig(CxImage& img, ByteSpan in, const CxDecodeHint& hint);

bool SniffRaw(ByteSpan in);
bool DecodeRaw(CxImage& img, ByteSpan in, const CxDecodeHint& hint);
