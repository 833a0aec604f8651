#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Format code of a picture file from its name alone: the last three and four characters are
// compared without regard to case; no dot is needed. 0 means the file is not a picture.
uint32_t PictureTypeFromName(std::string_view name);

// One row of the file-type list that open and save dialogs are built from.
struct PictureFileType {
  int formatCode;  // -1 for the "all supported files" row
  const char* description;
  const char* patterns;  // separated by ';'
  bool listedForOpen;
  bool listedForSave;
};

// Rows in the order dialogs show them.
std::span<const PictureFileType> PictureFileTypes();
