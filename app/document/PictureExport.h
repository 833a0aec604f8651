#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The file types the picture export offers, and how a chosen file name is completed.
namespace share {

struct ExportType {
  uint32_t type;                 // the image object's format number
  std::string_view description;  // what the save dialog lists
  std::string_view patterns;     // ";"-separated
  std::string_view extension;    // added to a name that has none the picture can be saved as
};

// BMP first, JPEG second.
[[nodiscard]] std::span<const ExportType> ExportTypes();
// The type a picture export proposes.
inline constexpr uint32_t kDefaultExportType = 3;

// The 0-based filter index of a type; 0 when it is not offered.
[[nodiscard]] int ExportFilterIndex(uint32_t type);
// The type of a filter index; the default type for an index out of range.
[[nodiscard]] const ExportType& ExportTypeAt(int filterIndex);

// The save dialog's filter list: "description|patterns" entries joined by "|".
[[nodiscard]] std::string ExportWildcard();

// The file the picture is written to for the name the user chose: the name itself when its
// extension is one the picture can be saved as (bmp, jpg, jpeg, gif, any letter case),
// otherwise the name with the chosen filter's extension added, so an export never ends
// without a file.
[[nodiscard]] std::string CompleteExportPath(const std::string& chosen, int filterIndex);

}  // namespace share
