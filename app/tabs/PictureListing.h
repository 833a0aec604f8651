#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tabs {

// True when the folder holds a file (not a folder) whose name the picture type rule accepts,
// GIF files included whatever the GIF setting: this is what makes a scrap's pictures tab exist.
bool FolderHasPictures(const std::filesystem::path& folder);

// Fills `names` with the picture files of `folder` (names only), in case-sensitive byte order.
// Folders, names the picture type rule rejects, and names ending in "gif" (any case) when
// `showGif` is false are left out. When `stop` is set the listing ends where it is and the
// names are left unsorted. True when at least one name was found.
bool ListPictures(const std::filesystem::path& folder, bool showGif,
                  const std::atomic<bool>& stop, std::vector<std::string>& names);

// The index selected after a listing: the first picture only when there are at least two.
inline int InitialSelection(std::size_t count) { return count >= 2 ? 0 : -1; }

}  // namespace tabs
