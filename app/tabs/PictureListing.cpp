#include "app/tabs/PictureListing.h"

#include <algorithm>
#include <system_error>

#include "app/image/PictureType.h"

namespace tabs {
namespace {

bool EndsWithGif(const std::string& name) {
  if (name.size() < 3) return false;
  std::string tail = name.substr(name.size() - 3);
  for (char& c : tail) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return tail == "gif";
}

// Calls `take` with the name of every plain file of the folder the picture type rule accepts,
// until it returns false. Unreadable entries are skipped; a missing folder holds nothing.
template <typename Take>
void ForEachPictureFile(const std::filesystem::path& folder, Take take) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    std::string name = it->path().filename().string();
    if (PictureTypeFromName(name) == 0) continue;
    if (!take(std::move(name))) return;
  }
}

}  // namespace

bool FolderHasPictures(const std::filesystem::path& folder) {
  bool found = false;
  ForEachPictureFile(folder, [&](std::string&&) {
    found = true;
    return false;
  });
  return found;
}

bool ListPictures(const std::filesystem::path& folder, bool showGif,
                  const std::atomic<bool>& stop, std::vector<std::string>& names) {
  names.clear();
  ForEachPictureFile(folder, [&](std::string&& name) {
    if (stop.load()) return false;
    if (!showGif && EndsWithGif(name)) return true;
    names.push_back(std::move(name));
    return true;
  });
  // std::string compares its bytes as unsigned characters: upper case before lower case, and
  // every multibyte name after the ASCII ones.
  if (!stop.load()) std::sort(names.begin(), names.end());
  return !names.empty();
}

}  // namespace tabs
