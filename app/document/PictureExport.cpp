#include "app/document/PictureExport.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/TextConv.h"

namespace share {
namespace {

constexpr std::array<ExportType, 2> kTypes = {{
    {1, "24 ﾋﾞｯﾄ ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)", "*.bmp", "bmp"},
    {3, "JPEG (*.JPG)", "*.jpg;*.jpeg", "jpg"},
}};

}  // namespace

std::span<const ExportType> ExportTypes() { return kTypes; }

int ExportFilterIndex(uint32_t type) {
  for (std::size_t i = 0; i < kTypes.size(); ++i)
    if (kTypes[i].type == type) return static_cast<int>(i);
  return 0;
}

const ExportType& ExportTypeAt(int filterIndex) {
  if (filterIndex < 0 || filterIndex >= static_cast<int>(kTypes.size()))
    return kTypes[static_cast<std::size_t>(ExportFilterIndex(kDefaultExportType))];
  return kTypes[static_cast<std::size_t>(filterIndex)];
}

std::string ExportWildcard() {
  std::string out;
  for (const ExportType& t : kTypes) {
    if (!out.empty()) out += '|';
    out.append(t.description).append("|").append(t.patterns);
  }
  return out;
}

std::string CompleteExportPath(const std::string& chosen, int filterIndex) {
  const std::string name = std::filesystem::path(chosen).filename().string();
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) {
    const std::string ext = platform::text::AsciiLower(std::string_view(name).substr(dot + 1));
    for (std::string_view writable : {"bmp", "jpg", "jpeg", "gif"})
      if (ext == writable) return chosen;
  }
  std::string path = chosen;
  if (!path.empty() && path.back() == '.') path.pop_back();
  return path + "." + std::string(ExportTypeAt(filterIndex).extension);
}

}  // namespace share
