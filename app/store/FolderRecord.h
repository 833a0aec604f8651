#pragma once

#include <cstdint>
#include <string>

// The tree's per-directory record: where the directory is and how its children are ordered.
// Records form a chain (parent, first child, next sibling) that says which record belongs below
// which; the display order lives in the tree items, so reordering items never touches the chain.
namespace store {

struct FolderRecord {
  FolderRecord* parent = nullptr;
  FolderRecord* firstChild = nullptr;
  FolderRecord* nextSibling = nullptr;
  std::string path;
  // True once the children of every child item of this record's item have been loaded.
  bool childrenLoaded = false;
  int sortType = 1;
  int customSortId = 0;
  std::int64_t creationTime = 0;
  // The values the directory's Scrap.ini holds, both keys exactly as a write would put them;
  // a release that would write the same bytes again skips the write.
  bool iniCurrent = false;
  int iniSortType = 1;
  int iniCustomSortId = 0;
};

// A new record for a directory, its sort settings and creation time read from disk, appended at
// the end of parent's chain (parent may be null for the home record). An empty path reads
// nothing and keeps the defaults.
FolderRecord* MakeFolderRecord(const std::string& path, FolderRecord* parent);

// Frees rec, its whole first-child chain and its whole next-sibling chain. Every freed record
// with a non-empty path writes its sort settings to the Scrap.ini of its directory first
// (unless that file already holds exactly those settings).
void ReleaseRecordChain(FolderRecord* rec);

// Unlinks rec from its parent's chain, clears its next-sibling link and releases it with its
// descendants (writing their Scrap.ini files).
void ReleaseRecord(FolderRecord* rec);

// Writes the Scrap.ini of rec and every record below it without freeing anything, so that a
// directory about to be moved or copied carries the settings the user sees.
void WriteRecordSettings(FolderRecord* rec);

// Unlinks rec from its old parent's chain and appends it at the end of newParent's chain.
void MoveRecord(FolderRecord* rec, FolderRecord* newParent);

// Unlinks rec from its parent's chain (no-op without a parent).
void UnlinkRecord(FolderRecord* rec);

}  // namespace store
