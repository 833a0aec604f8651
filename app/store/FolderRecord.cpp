#include "app/store/FolderRecord.h"

#include <fstream>
#include <iterator>

#include "app/store/ScrapStore.h"

namespace store {

namespace {

// The text a write of these values leaves in a Scrap.ini that held nothing else.
std::string CanonicalIni(int sortType, int customSortId) {
  return "[SortType]\nSortType=" + std::to_string(sortType) + "\n[CustomSortID]\nCustomSortID=" +
         std::to_string(customSortId) + "\n";
}

bool IniHolds(const std::string& dir, int sortType, int customSortId) {
  std::ifstream in(dir + "/" + std::string(kSortIni), std::ios::binary);
  if (!in) return false;
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return text == CanonicalIni(sortType, customSortId);
}

void WriteIfChanged(FolderRecord* rec) {
  if (rec->path.empty()) return;
  if (rec->iniCurrent && rec->sortType == rec->iniSortType &&
      rec->customSortId == rec->iniCustomSortId) {
    return;
  }
  WriteSortSettings(rec->path, {rec->sortType, rec->customSortId});
  rec->iniCurrent = IniHolds(rec->path, rec->sortType, rec->customSortId);
  rec->iniSortType = rec->sortType;
  rec->iniCustomSortId = rec->customSortId;
}

}  // namespace

FolderRecord* MakeFolderRecord(const std::string& path, FolderRecord* parent) {
  auto* rec = new FolderRecord;
  rec->path = path;
  if (!path.empty()) {
    const SortSettings settings = ReadSortSettings(path);
    rec->sortType = settings.sortType;
    rec->customSortId = settings.customSortId;
    rec->creationTime = CreationTime(path);
    rec->iniCurrent = IniHolds(path, rec->sortType, rec->customSortId);
    rec->iniSortType = rec->sortType;
    rec->iniCustomSortId = rec->customSortId;
  }
  if (parent) {
    rec->parent = parent;
    FolderRecord** link = &parent->firstChild;
    while (*link) link = &(*link)->nextSibling;
    *link = rec;
  }
  return rec;
}

void ReleaseRecordChain(FolderRecord* rec) {
  // Siblings are walked in a loop and only children recurse, so a folder with thousands of
  // entries does not nest thousands of calls.
  while (rec) {
    FolderRecord* next = rec->nextSibling;
    ReleaseRecordChain(rec->firstChild);
    WriteIfChanged(rec);
    delete rec;
    rec = next;
  }
}

void UnlinkRecord(FolderRecord* rec) {
  if (!rec || !rec->parent) return;
  for (FolderRecord** link = &rec->parent->firstChild; *link; link = &(*link)->nextSibling) {
    if (*link == rec) {
      *link = rec->nextSibling;
      break;
    }
  }
  rec->parent = nullptr;
  rec->nextSibling = nullptr;
}

void ReleaseRecord(FolderRecord* rec) {
  if (!rec) return;
  UnlinkRecord(rec);
  rec->nextSibling = nullptr;
  ReleaseRecordChain(rec);
}

void WriteRecordSettings(FolderRecord* rec) {
  if (!rec) return;
  WriteIfChanged(rec);
  for (FolderRecord* child = rec->firstChild; child; child = child->nextSibling) {
    WriteRecordSettings(child);
  }
}

void MoveRecord(FolderRecord* rec, FolderRecord* newParent) {
  if (!rec || !newParent) return;
  UnlinkRecord(rec);
  rec->parent = newParent;
  FolderRecord** link = &newParent->firstChild;
  while (*link) link = &(*link)->nextSibling;
  *link = rec;
}

}  // namespace store
