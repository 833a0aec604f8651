#include "app/store/DirListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "app/store/ScrapStore.h"
#include "platform/TextConv.h"

namespace store {

namespace {

// Calls f(name) for every entry of dir that is a real directory (links are not followed).
template <typename F>
void ForEachSubdirectory(const std::string& dir, F&& f) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  while (const dirent* entry = readdir(d)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool isDir = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st {};
      const std::string full = dir + "/" + std::string(name);
      isDir = lstat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    if (isDir && !IsPicturesFolder(name)) f(name);
  }
  closedir(d);
}

}  // namespace

std::vector<std::string> ListTreeSubdirectories(const std::string& dir) {
  std::vector<std::string> names;
  ForEachSubdirectory(dir, [&](std::string_view name) { names.emplace_back(name); });
  std::sort(names.begin(), names.end());
  return names;
}

std::string FindTreeSubdirectory(const std::string& dir, std::string_view name) {
  std::string found;
  ForEachSubdirectory(dir, [&](std::string_view entry) {
    // An exact match wins over one that differs only in case.
    if ((found.empty() || found != name) && platform::text::AsciiIEquals(entry, name)) {
      found = entry;
    }
  });
  return found;
}

std::string DisplayName(const std::string& path) {
  std::string_view p = path;
  while (p.size() > 1 && p.back() == '/') p.remove_suffix(1);
  const auto slash = p.rfind('/');
  return std::string(slash == std::string_view::npos ? p : p.substr(slash + 1));
}

}  // namespace store
