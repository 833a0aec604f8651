#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The scrapbook on disk: a tree of ordinary directories below one home folder. Everything
// the program knows about that structure is read from the file system through these helpers.
namespace store {

// Folder below the save folder that holds the whole scrapbook.
inline constexpr std::string_view kHomeFolderName = "クリップレン";

// Fixed names inside a scrap folder.
inline constexpr std::string_view kMainPicture = "Main.jpg";
inline constexpr std::string_view kCopyPicture = "Main_copy.jpg";
inline constexpr std::string_view kContentText = "Content.txt";
inline constexpr std::string_view kInfoText = "info.txt";
inline constexpr std::string_view kImageViewIni = "ImageView.ini";
inline constexpr std::string_view kPicturesFolder = "Images";
inline constexpr std::string_view kSortIni = "Scrap.ini";

// Sort type of a directory's children in the tree.
enum SortType : int {
  kSortDateAscending = 0,
  kSortDateDescending = 1,
  kSortName = 2,
  kSortCustom = 3,
};

struct SortSettings {
  int sortType = kSortDateDescending;  // any value is kept; unknown ones order like 1
  int customSortId = 0;                // 1-based place among siblings; 0 = never numbered
};

// The home folder for a save folder ("<save folder>/クリップレン"); empty for an empty save
// folder, since then the documents folder could not be determined.
[[nodiscard]] std::filesystem::path HomeFolderFor(const std::filesystem::path& saveFolder);

// A directory is a scrap when it directly lists an entry named "Main.jpg" in any letter case
// (file or directory). A directory that cannot be listed is not a scrap.
[[nodiscard]] bool IsScrapFolder(const std::filesystem::path& dir);

// Where the scrap folder dir keeps the file of one of the fixed names above: the entry with
// exactly that name, else one whose name differs from it only in single-byte case (captures
// from case-insensitive systems write "main.JPG" and the like), else dir/name, where a new
// file of that name goes.
[[nodiscard]] std::filesystem::path ScrapFilePath(const std::filesystem::path& dir,
                                                  std::string_view name);

// Directories named "Images" (any case) hold a scrap's pictures and are never shown.
[[nodiscard]] bool IsPicturesFolder(std::string_view name);

// Reads dir/Scrap.ini. Missing file, keys or an empty path give the defaults (1, 0). Values
// are read as at most 9 characters and converted as decimal prefixes.
[[nodiscard]] SortSettings ReadSortSettings(const std::filesystem::path& dir);

// Writes both keys with "%d". Does nothing for an empty path and fails silently when dir does
// not exist (a directory deleted behind the program's back is not recreated).
void WriteSortSettings(const std::filesystem::path& dir, const SortSettings& settings);

// Seconds since 1970 (UTC) when the directory was created: its birth time where the file
// system records one, else its last-write time, 0 when it cannot be examined.
[[nodiscard]] std::int64_t CreationTime(const std::filesystem::path& dir);

// A new directory path below parent for base name: parent/base when no subdirectory name
// starts with base, else parent/base_<highest number + 1>. The caller creates the directory.
[[nodiscard]] std::filesystem::path CreateUniqueFolderPath(const std::filesystem::path& parent,
                                                           std::string_view baseName);

// Makes a typed name usable as a directory name: drops "\" and ":", turns "/" into "_",
// wildcard and redirection characters into "~", spaces into "_", trims trailing " _~" and cuts
// to 128 bytes without splitting a character. A name that cleans to nothing (or to "." or
// "..") becomes "noname", so a new scrap never lands in its destination folder itself.
[[nodiscard]] std::string CleanName(std::string_view name);

inline constexpr std::string_view kEmptyCleanName = "noname";
inline constexpr std::size_t kMaxCleanNameBytes = 128;

}  // namespace store
