#include "app/store/PickerFolders.h"

#include <algorithm>
#include <filesystem>

#include "app/store/DirListing.h"
#include "app/store/ScrapStore.h"
#include "platform/TextConv.h"

namespace store {

bool PickerTextLess(const std::string& a, const std::string& b) {
  const std::string la = platform::text::AsciiLower(a), lb = platform::text::AsciiLower(b);
  return la != lb ? la < lb : a < b;
}

bool IsPickerFolder(const std::string& dir) { return !IsScrapFolder(dir); }

std::vector<std::string> PickerChildFolders(const std::string& dir) {
  std::vector<std::string> names = ListTreeSubdirectories(dir);
  std::stable_sort(names.begin(), names.end(), PickerTextLess);
  std::vector<std::string> out;
  out.reserve(names.size());
  for (const std::string& name : names) {
    std::string path = (std::filesystem::path(dir) / name).string();
    if (IsPickerFolder(path)) out.push_back(std::move(path));
  }
  return out;
}

}  // namespace store
