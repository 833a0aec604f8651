#include "app/store/FolderOperations.h"

#include <filesystem>
#include <system_error>

#include "app/store/ScrapStore.h"

namespace store {

namespace fs = std::filesystem;

namespace {

// New paths for item's loaded descendants after item's own path changed.
void UpdateDescendantPaths(TreeItem* item) {
  for (auto& child : item->children) {
    if (child->record) child->record->path = item->Path() + "/" + child->text;
    UpdateDescendantPaths(child.get());
  }
}

}  // namespace

std::vector<TreeItem*> FolderOperations::TopLevelItems(const std::vector<TreeItem*>& list) {
  std::vector<TreeItem*> result;
  for (TreeItem* item : list) {
    if (!item) continue;
    bool underListed = false;
    for (TreeItem* other : list) {
      if (other && other != item && other->IsSelfOrAncestorOf(item)) underListed = true;
    }
    if (!underListed) result.push_back(item);
  }
  return result;
}

TreeItem* FolderOperations::NewFolder() {
  TreeItem* parent = m_model.Caret();
  if (!parent) return nullptr;
  if (parent->IsScrap()) parent = m_model.Home();
  if (!parent || !parent->record) return nullptr;
  const fs::path path = CreateUniqueFolderPath(parent->record->path, kNewFolderBaseName);
  std::error_code ec;
  if (!fs::create_directory(path, ec)) return nullptr;
  TreeItem* item =
      m_model.InsertFolderItem(path.string(), parent, FolderTreeModel::InsertAt::Last);
  // The new folder replaces whatever was listed: a Delete right after it names the new one.
  m_model.SelectOnly(item);
  m_model.EnsureVisible(item);
  return item;
}

bool FolderOperations::CanRename(const TreeItem* item) const {
  return item && item->record && !m_model.IsHomePath(item->record->path);
}

bool FolderOperations::IsUsableName(std::string_view name) {
  // The text becomes one directory name next to the old one: a "/" would put the folder
  // somewhere else, or give an item whose text no longer names its folder.
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

bool FolderOperations::Rename(TreeItem* item, const std::string& newText) {
  if (!CanRename(item)) return false;
  if (!IsUsableName(newText)) {
    m_ui.ReportError(platform::FileOpErrorMessage(platform::kFileOpInvalidName, newText));
    return false;
  }
  const std::string parentPath = item->parent ? item->parent->Path() : m_model.HomePath();
  platform::FileOperation op;
  op.op = platform::FileOp::Rename;
  op.from = {item->record->path};
  op.to = parentPath + "/" + newText;
  op.flags = platform::kAllowUndo;
  if (!platform::ShellFileOperation(op, m_ui).ok()) return false;
  item->text = newText;
  item->record->path = parentPath + "/" + newText;
  UpdateDescendantPaths(item);
  m_model.NotifyChanged(item);
  return true;
}

bool FolderOperations::DeleteSelection(bool permanent, const std::function<void()>& beforeDelete) {
  std::vector<TreeItem*> items;
  for (TreeItem* item : TopLevelItems(m_model.Selection())) {
    if (item->record && !m_model.IsHomePath(item->record->path)) items.push_back(item);
  }
  if (items.empty()) {
    m_model.ClearSelection();
    return false;
  }
  platform::FileOperation op;
  op.op = platform::FileOp::Delete;
  for (TreeItem* item : items) op.from.emplace_back(item->record->path);
  op.flags = permanent ? 0u : static_cast<unsigned>(platform::kAllowUndo);
  if (beforeDelete) beforeDelete();
  const bool ok = platform::ShellFileOperation(op, m_ui).ok();
  m_model.ClearSelection();
  bool removed = false;
  for (TreeItem* item : items) {
    // After a failure or a cancel only what really went away leaves the tree.
    std::error_code ec;
    if (ok || !fs::exists(item->record->path, ec)) {
      m_model.DeleteItem(item, true);
      removed = true;
    }
  }
  // The item that took the caret is the one a second Delete names.
  if (removed && m_model.Caret()) m_model.SelectOnly(m_model.Caret());
  return ok;
}

void FolderOperations::SetSortType(int sortType) {
  TreeItem* caret = m_model.Caret();
  if (!caret || !caret->record) return;
  if (caret->record->sortType != sortType) {
    m_model.SetUndo(caret, caret->record->sortType);
    caret->record->sortType = sortType;
  }
  m_model.SortChildren(caret);
}

void FolderOperations::UndoSort() {
  const FolderTreeModel::SortUndo undo = m_model.Undo();
  if (undo.item) {
    m_model.SelectOnly(undo.item);
    if (undo.sortType >= kSortDateAscending && undo.sortType <= kSortName) {
      SetSortType(undo.sortType);
    }
  }
  m_model.SetUndo(nullptr, kSortDateDescending);
}

bool FolderOperations::CanMoveUp() const {
  const TreeItem* caret = m_model.Caret();
  return caret && caret->parent && caret->PrevSibling();
}

bool FolderOperations::CanMoveDown() const {
  const TreeItem* caret = m_model.Caret();
  return caret && caret->parent && caret->NextSibling();
}

void FolderOperations::MoveUp() {
  if (CanMoveUp()) MoveNeighbour(m_model.Caret()->PrevSibling());
}

void FolderOperations::MoveDown() {
  if (CanMoveDown()) MoveNeighbour(m_model.Caret()->NextSibling());
}

void FolderOperations::MoveNeighbour(TreeItem* neighbour) {
  // The neighbour moves, so the caret item keeps its place in the view and stays selected.
  TreeItem* caret = m_model.Caret();
  TreeItem* parent = caret->parent;
  m_model.BeginBulk();
  m_model.MoveChild(neighbour, caret->index);
  m_model.ReloadChildren(neighbour);
  m_model.Renumber(parent);
  m_model.EnsureVisible(neighbour);
  m_model.EndBulk();
  parent->record->sortType = kSortCustom;
}

}  // namespace store
