#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A whole file read into memory; codecs parse from this block.
struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

// Largest file the loaders read: far above any picture the object can hold once decoded,
// low enough that a hostile path (a device, a sparse file) cannot exhaust memory.
inline constexpr uint64_t kMaxPictureFileBytes = 1024ull * 1024 * 1024;

[[nodiscard]] bool ReadWholeFile(const std::string& fileName, FileBytes& out, std::string& error);
// Writes to a temporary file beside the target and renames it over the target.
[[nodiscard]] bool WriteFileReplacing(const std::string& fileName,
                                      const std::vector<uint8_t>& bytes, std::string& error);
