#pragma once

#include <filesystem>

// The pictures tab's settings of a scrap, kept in its ImageView.ini.
struct ViewSettings {
  int viewMode = 0;  // 0 thumbnails, 1 photo, 2 details
  bool showGif = true;
};

namespace scrapfiles {

// Reads both keys; a missing file or key keeps the value already in `settings`, so a scrap
// without the file shows its pictures as the previous scrap did.
void ReadViewSettings(const std::filesystem::path& file, ViewSettings& settings);
// Writes both keys ("%d"); false when the file cannot be written.
[[nodiscard]] bool WriteViewSettings(const std::filesystem::path& file,
                                     const ViewSettings& settings);

}  // namespace scrapfiles
