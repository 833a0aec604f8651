#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/image/CxImage.h"

// A whole file read into memory; codecs parse from this block.
struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

// Largest file the loaders read. The whole file is held while it decodes, so it counts against
// the same budget as a picture: a hostile path (a device, a sparse file) cannot exhaust memory,
// and the largest picture the object holds still fits in a file of this size uncompressed.
inline constexpr uint64_t kMaxPictureFileBytes = kCxImageMaxMemory + 64 * 1024;

[[nodiscard]] bool ReadWholeFile(const std::string& fileName, FileBytes& out, std::string& error);
// Writes to a temporary file beside the target and renames it over the target.
[[nodiscard]] bool WriteFileReplacing(const std::string& fileName,
                                      const std::vector<uint8_t>& bytes, std::string& error);
