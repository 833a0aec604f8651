#include "app/store/FolderRecord.h"

#include "app/store/ScrapStore.h"

namespace store {

FolderRecord* MakeFolderRecord(const std::string& path, FolderRecord* parent) {
  auto* rec = new FolderRecord;
  rec->path = path;
  if (!path.empty()) {
    const SortSettings settings = ReadSortSettings(path);
    rec->sortType = settings.sortType;
    rec->customSortId = settings.customSortId;
    rec->creationTime = CreationTime(path);
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
    if (!rec->path.empty()) WriteSortSettings(rec->path, {rec->sortType, rec->customSortId});
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

void WriteRecordSettings(const FolderRecord* rec) {
  if (!rec) return;
  if (!rec->path.empty()) WriteSortSettings(rec->path, {rec->sortType, rec->customSortId});
  for (const FolderRecord* child = rec->firstChild; child; child = child->nextSibling) {
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
