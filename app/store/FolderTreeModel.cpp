#include "app/store/FolderTreeModel.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/store/DirListing.h"
#include "app/store/ScrapStore.h"
#include "app/store/TreeOrder.h"
#include "platform/TextConv.h"

namespace store {

FolderTreeModel::FolderTreeModel(TreeObserver* observer) : m_observer(observer) {}

FolderTreeModel::~FolderTreeModel() {
  m_observer = nullptr;
  Clear();
}

bool FolderTreeModel::IsHomePath(std::string_view path) const {
  return platform::text::AsciiIEquals(path, m_homePath);
}

void FolderTreeModel::Clear() {
  if (!m_home) return;
  if (m_observer) m_observer->ItemRemoving(m_home.get());
  m_caret = nullptr;
  m_anchor = nullptr;
  m_hot = nullptr;
  m_selection.clear();
  m_undo = {};
  for (ItemWatch* watch : m_watches) {
    for (TreeItem*& watched : watch->m_items) watched = nullptr;
  }
  FolderRecord* homeRecord = m_home->record;
  m_home.reset();
  ReleaseRecordChain(homeRecord);
}

void FolderTreeModel::Refresh(const std::string& path) {
  BeginBulk();
  if (!path.empty()) {
    m_reselectPath = path;
  } else if (m_caret) {
    m_reselectPath = m_caret->Path();
  }
  Clear();
  // With no home path (no documents folder at start-up) the tree stays empty.
  if (!m_homePath.empty()) {
    std::error_code ec;
    std::filesystem::create_directory(m_homePath, ec);
    m_home = std::make_unique<TreeItem>();
    m_home->text = DisplayName(m_homePath);
    m_home->image = kImageHome;
    m_home->record = MakeFolderRecord(m_homePath, nullptr);
    if (m_observer) m_observer->ItemInserted(m_home.get());
    LoadChildren(m_home.get());
  }
  EndBulk();
  // The home folder itself is not selected by path; after a rebuild it is selected again.
  if (!SelectByPath(m_reselectPath) && m_home && IsHomePath(m_reselectPath)) {
    SetCaret(m_home.get());
  }
}

void FolderTreeModel::LoadChildren(TreeItem* item) {
  if (!item || !item->record) return;
  // Items already there (a drop or select by path put them in) are not loaded twice.
  const bool hadChildren = item->HasChildren();
  for (const std::string& name : ListTreeSubdirectories(item->record->path)) {
    // Exact names only: "photos" next to "Photos" is a folder of its own.
    if (hadChildren && FindExactChild(item, name)) continue;
    InsertFolderItem(item->record->path + "/" + name, item, InsertAt::Last);
  }
  SortChildren(item);
}

void FolderTreeModel::PrepareExpand(TreeItem* item) {
  if (!item || !item->record || item->record->childrenLoaded) return;
  for (auto& child : item->children) LoadChildren(child.get());
  item->record->childrenLoaded = true;
}

std::size_t FolderTreeModel::InsertIndex(TreeItem* parent, InsertAt where, TreeItem* after) const {
  switch (where) {
    case InsertAt::First: return 0;
    case InsertAt::After:
      if (after && after->parent == parent) return after->index + 1;
      return 0;
    case InsertAt::Last: break;
  }
  return parent->children.size();
}

TreeItem* FolderTreeModel::InsertFolderItem(const std::string& path, TreeItem* parent,
                                            InsertAt where, TreeItem* after) {
  if (!parent) return nullptr;
  auto owned = std::make_unique<TreeItem>();
  TreeItem* item = owned.get();
  item->parent = parent;
  item->text = DisplayName(path);
  item->image = IsScrapFolder(path) ? kImageScrap : kImageFolder;
  item->record = MakeFolderRecord(path, parent->record);
  const std::size_t at = InsertIndex(parent, where, after);
  parent->children.insert(parent->children.begin() + static_cast<std::ptrdiff_t>(at),
                          std::move(owned));
  Reindex(parent, at);
  if (m_observer) m_observer->ItemInserted(item);
  return item;
}

TreeItem* FolderTreeModel::FindExactChild(const TreeItem* parent, std::string_view name) const {
  if (!parent) return nullptr;
  for (const auto& child : parent->children) {
    if (child->text == name) return child.get();
  }
  return nullptr;
}

TreeItem* FolderTreeModel::FindChild(const TreeItem* parent, std::string_view name) const {
  if (TreeItem* exact = FindExactChild(parent, name)) return exact;
  if (!parent) return nullptr;
  for (const auto& child : parent->children) {
    if (platform::text::AsciiIEquals(child->text, name)) return child.get();
  }
  return nullptr;
}

TreeItem* FolderTreeModel::FindOrInsertChild(TreeItem* parent, std::string_view name) {
  if (TreeItem* found = FindExactChild(parent, name)) return found;
  if (!parent || !parent->record) return nullptr;
  // A directory with exactly this name that the tree does not show yet beats an item whose
  // name differs only in case.
  const std::string entry = FindTreeSubdirectory(parent->record->path, name);
  if (entry != name) {
    if (TreeItem* found = FindChild(parent, name)) return found;
  }
  if (entry.empty()) return nullptr;
  TreeItem* item = InsertFolderItem(parent->record->path + "/" + entry, parent, InsertAt::First);
  // The parent's children were loaded one level ahead already; the newcomer is brought to the
  // same state so it shows its expand button like its siblings.
  if (parent->record->childrenLoaded) LoadChildren(item);
  return item;
}

void FolderTreeModel::SortChildren(TreeItem* item) {
  if (!item || !item->record || item->children.size() < 2) return;
  const int sortType = item->record->sortType;
  std::stable_sort(item->children.begin(), item->children.end(),
                   [sortType](const std::unique_ptr<TreeItem>& a,
                              const std::unique_ptr<TreeItem>& b) {
                     return SortsBefore(sortType, *a->record, *b->record);
                   });
  Reindex(item);
  if (m_observer) m_observer->ChildrenReordered(item);
}

void FolderTreeModel::Renumber(TreeItem* item) {
  if (!item) return;
  int position = 1;
  for (auto& child : item->children) {
    if (child->record) child->record->customSortId = position;
    ++position;
  }
}

void FolderTreeModel::MoveChild(TreeItem* child, std::size_t newIndex) {
  if (!child || !child->parent) return;
  auto& siblings = child->parent->children;
  newIndex = std::min(newIndex, siblings.size() - 1);
  const std::size_t from = child->index;
  if (from == newIndex) return;
  auto owned = std::move(siblings[from]);
  siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(from));
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(newIndex), std::move(owned));
  Reindex(child->parent, std::min(from, newIndex));
  if (m_observer) m_observer->ChildrenReordered(child->parent);
}

void FolderTreeModel::Reindex(TreeItem* parent, std::size_t from) {
  for (std::size_t i = from; i < parent->children.size(); ++i) parent->children[i]->index = i;
}

void FolderTreeModel::Forget(TreeItem* item) {
  // Drops every reference the tree state holds into item's subtree.
  std::erase_if(m_selection, [item](TreeItem* listed) { return item->IsSelfOrAncestorOf(listed); });
  if (m_anchor && item->IsSelfOrAncestorOf(m_anchor)) m_anchor = nullptr;
  if (m_hot && item->IsSelfOrAncestorOf(m_hot)) m_hot = nullptr;
  if (m_undo.item && item->IsSelfOrAncestorOf(m_undo.item)) m_undo = {};
  for (ItemWatch* watch : m_watches) {
    for (TreeItem*& watched : watch->m_items) {
      if (watched && item->IsSelfOrAncestorOf(watched)) watched = nullptr;
    }
  }
}

FolderTreeModel::ItemWatch::ItemWatch(FolderTreeModel& model, std::vector<TreeItem*> items)
    : m_model(model), m_items(std::move(items)) {
  m_model.m_watches.push_back(this);
}

FolderTreeModel::ItemWatch::~ItemWatch() { std::erase(m_model.m_watches, this); }

std::unique_ptr<TreeItem> FolderTreeModel::Detach(TreeItem* item) {
  TreeItem* parent = item->parent;
  if (m_observer) m_observer->ItemRemoving(item);
  auto& siblings = parent->children;
  const std::size_t at = item->index;
  auto owned = std::move(siblings[at]);
  siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(at));
  Reindex(parent, at);
  item->parent = nullptr;
  return owned;
}

void FolderTreeModel::DeleteItem(TreeItem* item, bool releaseRecord) {
  if (!item) return;
  if (!item->parent) {  // the home item goes only with the whole tree
    Clear();
    return;
  }
  TreeItem* newCaret = nullptr;
  const bool caretInside = m_caret && item->IsSelfOrAncestorOf(m_caret);
  if (caretInside) {
    newCaret = item->NextSibling();
    if (!newCaret) newCaret = item->PrevSibling();
    if (!newCaret) newCaret = item->parent;
  }
  Forget(item);
  if (caretInside) m_caret = nullptr;
  FolderRecord* record = item->record;
  auto owned = Detach(item);
  owned.reset();
  if (releaseRecord) ReleaseRecord(record);
  if (caretInside) SetCaret(newCaret);
}

void FolderTreeModel::DiscardChildItems(TreeItem* item) {
  if (!item) return;
  while (!item->children.empty()) DeleteItem(item->children.back().get(), true);
}

void FolderTreeModel::Reparent(TreeItem* item, TreeItem* newParent, InsertAt where,
                               TreeItem* after) {
  if (!item || !item->parent || !newParent || item->IsSelfOrAncestorOf(newParent)) return;
  if (m_caret && item->IsSelfOrAncestorOf(m_caret)) SetCaret(nullptr);
  // The pointer was over the item at its old place; at the new one it is drawn plain, or it
  // would stay bold once the pointer makes another item hot.
  if (m_hot && item->IsSelfOrAncestorOf(m_hot)) {
    m_hot->bold = false;
    m_hot = nullptr;
  }
  auto owned = Detach(item);
  const std::size_t at = InsertIndex(newParent, where, after);
  item->parent = newParent;
  newParent->children.insert(newParent->children.begin() + static_cast<std::ptrdiff_t>(at),
                             std::move(owned));
  Reindex(newParent, at);
  AnnounceInserted(item);
}

void FolderTreeModel::AnnounceInserted(TreeItem* item) {
  if (!m_observer) return;
  m_observer->ItemInserted(item);
  for (auto& child : item->children) AnnounceInserted(child.get());
  if (item->expanded) m_observer->ItemExpanded(item);
}

void FolderTreeModel::ReloadChildren(TreeItem* item) {
  if (!item || !item->record) return;
  if (item->expanded) {
    item->expanded = false;
    if (m_observer) m_observer->ItemExpanded(item);
  }
  DiscardChildItems(item);
  item->record->childrenLoaded = false;
  LoadChildren(item);
}

void FolderTreeModel::BeginBulk() {
  if (m_bulkDepth++ == 0 && m_observer) m_observer->SuspendRedraw(true);
}

void FolderTreeModel::EndBulk() {
  if (m_bulkDepth > 0 && --m_bulkDepth == 0 && m_observer) m_observer->SuspendRedraw(false);
}

}  // namespace store
