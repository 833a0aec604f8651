#include "app/store/ScrapStore.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <system_error>

#include "platform/Profile.h"
#include "platform/TextConv.h"

namespace store {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSortTypeKey = "SortType";
constexpr std::string_view kCustomSortIdKey = "CustomSortID";
// The settings are read through a 10-byte buffer, so only the first 9 characters count.
constexpr std::size_t kSortValueBuffer = 10;

int ReadSortValue(const fs::path& ini, std::string_view key, int defaultValue) {
  const std::string text = platform::profile::GetString(ini, key, key, "", kSortValueBuffer);
  if (text.empty()) return defaultValue;
  return static_cast<int>(std::clamp<long long>(platform::text::ParseDecimalPrefix(text),
                                                INT_MIN, INT_MAX));
}

}  // namespace

fs::path HomeFolderFor(const fs::path& saveFolder) {
  if (saveFolder.empty()) return {};
  return saveFolder / std::string(kHomeFolderName);
}

bool IsScrapFolder(const fs::path& dir) {
  std::error_code ec;
  fs::directory_iterator it(dir, ec);
  if (ec) return false;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) return false;
    if (platform::text::AsciiIEquals(it->path().filename().string(), kMainPicture)) return true;
  }
  return false;
}

fs::path ScrapFilePath(const fs::path& dir, std::string_view name) {
  fs::path exact = dir / std::string(name);
  std::error_code ec;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  fs::directory_iterator it(dir, ec);
  if (ec) return exact;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    if (ec) break;
    if (platform::text::AsciiIEquals(it->path().filename().string(), name)) return it->path();
  }
  return exact;
}

bool IsPicturesFolder(std::string_view name) {
  return platform::text::AsciiIEquals(name, kPicturesFolder);
}

SortSettings ReadSortSettings(const fs::path& dir) {
  SortSettings settings;
  if (dir.empty()) return settings;
  const fs::path ini = dir / std::string(kSortIni);
  settings.sortType = ReadSortValue(ini, kSortTypeKey, kSortDateDescending);
  settings.customSortId = ReadSortValue(ini, kCustomSortIdKey, 0);
  return settings;
}

void WriteSortSettings(const fs::path& dir, const SortSettings& settings) {
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return;
  char sortType[16];
  char customSortId[16];
  std::snprintf(sortType, sizeof sortType, "%d", settings.sortType);
  std::snprintf(customSortId, sizeof customSortId, "%d", settings.customSortId);
  // Both keys in one replacement, without waiting for the disk: the tree writes this file for
  // every loaded folder when it quits, and a lost write only brings back the defaults.
  (void)platform::profile::WriteStrings(dir / std::string(kSortIni),
                                        {{kSortTypeKey, kSortTypeKey, sortType},
                                         {kCustomSortIdKey, kCustomSortIdKey, customSortId}},
                                        false);
}

std::int64_t CreationTime(const fs::path& dir) {
  struct statx sx {};
  if (statx(AT_FDCWD, dir.c_str(), 0, STATX_BTIME | STATX_MTIME, &sx) != 0) return 0;
  if (sx.stx_mask & STATX_BTIME) return sx.stx_btime.tv_sec;
  if (sx.stx_mask & STATX_MTIME) return sx.stx_mtime.tv_sec;
  return 0;
}

fs::path CreateUniqueFolderPath(const fs::path& parent, std::string_view baseName) {
  const std::string base = platform::text::AsciiLower(baseName);
  long long highest = -1;
  std::error_code ec;
  fs::directory_iterator it(parent, ec);
  if (!ec) {
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
      if (ec) break;
      if (!it->is_directory(ec)) continue;
      const std::string name = platform::text::AsciiLower(it->path().filename().string());
      if (name.compare(0, base.size(), base) != 0 || name.size() < base.size()) continue;
      // Skip the base and the one separator byte after it; the rest is the number. A name
      // equal to the base has no rest and counts as 0.
      const std::string_view rest =
          name.size() > base.size() ? std::string_view(name).substr(base.size() + 1) : "";
      highest = std::max(highest, platform::text::ParseDecimalPrefix(rest));
    }
  }
  if (highest < 0) return parent / std::string(baseName);
  const long long next = highest == LLONG_MAX ? highest : highest + 1;
  return parent / (std::string(baseName) + "_" + std::to_string(next));
}

std::string CleanName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  // UTF-8 never uses ASCII bytes inside a multibyte character, so byte-wise replacement keeps
  // every multibyte character whole.
  for (const char c : name) {
    switch (c) {
      case '\\':
      case ':':
        break;
      case '/':
        out += '_';
        break;
      case '*':
      case '!':
      case '?':
      case '<':
      case '>':
      case '|':
      case '"':
        out += '~';
        break;
      case ' ':
        out += '_';
        break;
      default:
        out += c;
    }
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == '_' || out.back() == '~')) {
    out.pop_back();
  }
  if (out.size() > kMaxCleanNameBytes) {
    out.resize(platform::text::Utf8PrefixLength(out, kMaxCleanNameBytes));
  }
  if (out.empty() || out == "." || out == "..") return std::string(kEmptyCleanName);
  return out;
}

}  // namespace store
