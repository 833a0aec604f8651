#include "app/image/ImageCodecs.h"

#include <array>

namespace {

// Formats with a strong signature first; TGA and WBMP have almost none, raw camera files are
// the most expensive to probe.
constexpr std::array kCodecs{
    CodecEntry{CXIMAGE_FORMAT_BMP, SniffBmp, DecodeBmp, EncodeBmp},
    CodecEntry{CXIMAGE_FORMAT_JPG, SniffJpeg, DecodeJpeg, EncodeJpeg},
    CodecEntry{CXIMAGE_FORMAT_PNG, SniffPng, DecodePng, nullptr},
    CodecEntry{CXIMAGE_FORMAT_GIF, SniffGif, DecodeGif, EncodeGif},
    CodecEntry{CXIMAGE_FORMAT_TIF, SniffTiff, DecodeTiff, nullptr},
    CodecEntry{CXIMAGE_FORMAT_MNG, SniffMng, DecodeMng, nullptr},
    CodecEntry{CXIMAGE_FORMAT_JP2, SniffJp2, DecodeJp2, nullptr},
    CodecEntry{CXIMAGE_FORMAT_JPC, SniffJpc, DecodeJpc, nullptr},
    CodecEntry{CXIMAGE_FORMAT_PGX, SniffPgx, DecodePgx, nullptr},
    CodecEntry{CXIMAGE_FORMAT_PNM, SniffPnm, DecodePnm, nullptr},
    CodecEntry{CXIMAGE_FORMAT_RAS, SniffRas, DecodeRas, nullptr},
    CodecEntry{CXIMAGE_FORMAT_ICO, SniffIco, DecodeIco, nullptr},
    CodecEntry{CXIMAGE_FORMAT_PCX, SniffPcx, DecodePcx, nullptr},
    CodecEntry{CXIMAGE_FORMAT_WMF, SniffWmf, DecodeWmf, nullptr},
    CodecEntry{CXIMAGE_FORMAT_JBG, SniffJbig, DecodeJbig, nullptr},
    CodecEntry{CXIMAGE_FORMAT_TGA, SniffTga, DecodeTga, nullptr},
    CodecEntry{CXIMAGE_FORMAT_WBMP, SniffWbmp, DecodeWbmp, nullptr},
    CodecEntry{CXIMAGE_FORMAT_RAW, SniffRaw, DecodeRaw, nullptr},
};

}  // namespace

std::span<const CodecEntry> AllCodecs() { return kCodecs; }

const CodecEntry* FindCodec(uint32_t type) {
  for (const CodecEntry& codec : kCodecs)
    if (codec.type == type) return &codec;
  return nullptr;
}
