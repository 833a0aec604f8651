// Feeds the thumbnail path: arbitrary files through LoadThumbnail into boxes of any size, and
// pictures of extreme shapes (one row or one column of up to millions of pixels) made here, so
// the shrinking itself meets sizes that files rarely reach by chance.
//
// Input: byte 0 picks the format code the caller claims, or (from 0xE0 up) a made-up picture;
// bytes 1..4 give the box as two 16-bit numbers (0xFFFF stands for the largest box); the rest is
// the file, or for a made-up picture its shape and pixels.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/image/CxImage.h"
#include "app/image/ReducedLoad.h"

namespace {

// LoadThumbnail reads a file: one per process, rewritten for every input.
const std::string& ScratchPath() {
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/clipwren-thumbnail-fuzz-" +
           std::to_string(getpid());
  }();
  return path;
}

bool WriteScratch(const std::string& bytes) {
  FILE* f = std::fopen(ScratchPath().c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

uint32_t BoxSide(const uint8_t* p) {
  const uint32_t v = uint32_t(p[0]) | (uint32_t(p[1]) << 8);
  return v == 0xFFFF ? 0xFFFFFFFFu : v;
}

// A one-row or one-column picture as a PNM file: 1-bit (P4) up to 2^25 pixels long, or 8-bit
// grey (P5) up to 2^20, its pixels repeating the input's bytes.
std::string ExtremeShape(const uint8_t* data, size_t size) {
  if (size < 4) return {};
  const bool column = data[0] & 1, grey = data[0] & 2;
  const uint32_t bits = uint32_t(data[1]) | (uint32_t(data[2]) << 8) | (uint32_t(data[3]) << 16);
  // Columns of 1-bit pixels take a whole byte per row, so they are kept shorter.
  const uint32_t longest = grey ? 1u << 20 : column ? 1u << 22 : 1u << 25;
  const uint32_t length = 1 + bits % longest;
  const uint32_t w = column ? 1 : length, h = column ? length : 1;
  const size_t rowBytes = grey ? w : (size_t(w) + 7) / 8;
  std::string file = std::string(grey ? "P5 " : "P4 ") + std::to_string(w) + " " +
                     std::to_string(h) + (grey ? " 255\n" : "\n");
  const size_t header = file.size();
  file.resize(header + rowBytes * h);
  for (size_t i = header, k = 4; i < file.size(); ++i, ++k)
    file[i] = char(size > 4 ? data[4 + k % (size - 4)] : 0);
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const uint32_t boxW = BoxSide(data + 1), boxH = BoxSide(data + 3);
  const bool made = data[0] >= 0xE0;
  const std::string file = made ? ExtremeShape(data + 5, size - 5)
                                : std::string(reinterpret_cast<const char*>(data + 5), size - 5);
  if (file.empty() || !WriteScratch(file)) return 0;
  CxImage img;
  const uint32_t format = made ? uint32_t(CXIMAGE_FORMAT_PNM) : data[0] % 20;
  if (img.LoadThumbnail(ScratchPath(), format, boxW, boxH) && boxW && boxH) {
    // A thumbnail always fits its box.
    if (img.GetWidth() > boxW || img.GetHeight() > boxH) __builtin_trap();
  }
  // The pictures tab's reduced load: a reduced picture is never larger than the file's own.
  CxImage reduced;
  uint32_t fullW = 0, fullH = 0;
  if (LoadReducedForBox(reduced, ScratchPath(), format, boxW, boxH, fullW, fullH) &&
      (reduced.GetWidth() > fullW || reduced.GetHeight() > fullH))
    __builtin_trap();
  return 0;
}
