#include "app/store/TreeDrop.h"

#include <filesystem>
#include <system_error>

#include "app/store/FolderOperations.h"
#include "app/store/ScrapStore.h"

namespace store {

namespace fs = std::filesystem;

bool TreeDrop::AllShareParentOf(const TreeItem* target) const {
  for (const TreeItem* item : m_model.Selection()) {
    if (item && item->parent != target->parent) return false;
  }
  return true;
}

bool TreeDrop::IntoOwnSubtree(const TreeItem* target) const {
  for (const TreeItem* item : m_model.Selection()) {
    if (item && item->IsSelfOrAncestorOf(target)) return true;
  }
  return false;
}

TreeDrop::Action TreeDrop::Decide(const TreeItem* target) const {
  const auto& list = m_model.Selection();
  if (!target || list.empty()) return Action::None;
  if (target == list.front()->parent) return Action::ReorderTop;
  if (target->IsScrap()) return AllShareParentOf(target) ? Action::ReorderAfter : Action::None;
  if (IntoOwnSubtree(target)) return Action::None;
  return Action::Into;
}

TreeDrop::Cursor TreeDrop::CursorFor(const TreeItem* target, bool ctrl) const {
  if (!target) return Cursor::Unchanged;
  if (target->IsScrap()) return AllShareParentOf(target) ? Cursor::Move : Cursor::NoDrop;
  const auto& list = m_model.Selection();
  const bool ownParent = !list.empty() && target == list.front()->parent;
  if (!ownParent && IntoOwnSubtree(target)) return Cursor::NoDrop;
  return ctrl ? Cursor::Copy : Cursor::Move;
}

TreeDrop::Feedback TreeDrop::FeedbackFor(TreeItem* target) const {
  const auto& list = m_model.Selection();
  if (!target) return {};
  if (!list.empty() && target == list.front()->parent) {
    return {FeedbackKind::InsertBefore, m_model.NextVisible(target)};
  }
  if (target->IsScrap()) {
    if (AllShareParentOf(target)) return {FeedbackKind::InsertAfter, target};
    return {};
  }
  if (IntoOwnSubtree(target)) return {};
  return {FeedbackKind::Highlight, target};
}

void TreeDrop::Drop(TreeItem* target, bool copy, bool noUndo) {
  switch (Decide(target)) {
    case Action::None: return;
    case Action::Into: DropInto(target, copy, noUndo); return;
    case Action::ReorderTop:
    case Action::ReorderAfter: Reorder(target, Decide(target)); return;
  }
}

void TreeDrop::DropInto(TreeItem* target, bool copy, bool noUndo) {
  std::string reselect = m_model.Caret() ? m_model.Caret()->Path() : std::string();
  // Items below a listed folder travel with it. The list is cut down before anything is
  // reloaded, and an item a reload freed on the way is skipped.
  const FolderTreeModel::ItemWatch pending(m_model,
                                           FolderOperations::TopLevelItems(m_model.Selection()));
  m_model.BeginBulk();
  m_model.SetCaret(nullptr);
  for (std::size_t i = 0; i < pending.Size(); ++i) {
    TreeItem* item = pending.At(i);
    if (!item || item == target || !item->record) continue;
    m_model.SetMarked(item, false);
    const bool wasCaret = item->Path() == reselect;
    // The directory travels with the settings the user sees, not those of the last save.
    WriteRecordSettings(item->record);
    platform::FileOperation op;
    op.op = copy ? platform::FileOp::Copy : platform::FileOp::Move;
    op.from = {item->record->path};
    op.to = target->Path();
    // No progress window; errors are still reported.
    op.flags = platform::kSilent | platform::kNoConfirmMkdir;
    if (!noUndo) op.flags |= platform::kAllowUndo;
    const bool ok = platform::ShellFileOperation(op, m_ui).ok();
    const std::string movedTo = target->Path() + "/" + item->text;
    if (ok && !copy && m_moved && movedTo != item->record->path)
      m_moved(item->record->path, movedTo);

    if (!ok) {
      // The shell may have done part of the work: show what is there now, by name.
      TreeItem* result = m_model.FindOrInsertChild(target, item->text);
      if (result) {
        m_model.ReplaceInSelection(item, result);
        if (wasCaret) reselect = result->Path();
      }
      std::error_code ec;
      if (!copy && result != item && !fs::exists(item->record->path, ec)) {
        m_model.DeleteItem(item, true);
      }
      continue;
    }
    // The result carries the item's own name; a child whose name differs only in case is a
    // different folder.
    if (TreeItem* existing = m_model.FindExactChild(target, item->text)) {
      if (existing == item) continue;
      m_model.ReplaceInSelection(item, existing);
      if (wasCaret) reselect = existing->Path();
      // The item goes before the reload, which may free it when it lies below the existing one.
      if (!copy) m_model.DeleteItem(item, true);
      m_model.ReloadChildren(existing);
    } else if (copy) {
      TreeItem* added = m_model.InsertFolderItem(target->Path() + "/" + item->text, target,
                                                 FolderTreeModel::InsertAt::Last);
      m_model.LoadChildren(added);
      m_model.ReplaceInSelection(item, added);
      if (wasCaret) reselect = added->Path();
    } else {
      // Records below the item still name the old place; they are dropped (their writes
      // fail silently there) and read again from the new place.
      m_model.DiscardChildItems(item);
      m_model.Reparent(item, target, FolderTreeModel::InsertAt::Last);
      MoveRecord(item->record, target->record);
      item->record->path = target->Path() + "/" + item->text;
      m_model.ReloadChildren(item);
      if (wasCaret) reselect = item->Path();
    }
    target->record->sortType = kSortCustom;
  }
  m_model.Renumber(target);
  m_model.EndBulk();
  FinishDrop(reselect);
}

void TreeDrop::Reorder(TreeItem* target, Action action) {
  TreeItem* parent = action == Action::ReorderTop ? target : target->parent;
  std::size_t position = action == Action::ReorderTop ? 0 : target->index + 1;
  const std::string reselect = m_model.Caret() ? m_model.Caret()->Path() : std::string();
  // A Shift range may hold the children of an expanded sibling; they stay with their folder,
  // whose reload below frees them.
  const FolderTreeModel::ItemWatch pending(m_model,
                                           FolderOperations::TopLevelItems(m_model.Selection()));
  m_model.BeginBulk();
  m_model.SetCaret(nullptr);
  for (std::size_t i = 0; i < pending.Size(); ++i) {
    TreeItem* item = pending.At(i);
    // Only a reorder among siblings; an item of another level would leave its directory.
    if (!item || item->parent != parent) continue;
    const std::size_t to = item->index < position ? position - 1 : position;
    m_model.MoveChild(item, to);
    position = item->index + 1;
    m_model.ReloadChildren(item);
    parent->record->sortType = kSortCustom;
  }
  m_model.Renumber(parent);
  m_model.EndBulk();
  FinishDrop(reselect);
}

void TreeDrop::FinishDrop(const std::string& reselectPath) {
  m_model.SelectByPath(reselectPath);
  for (TreeItem* item : m_model.Selection()) m_model.SetMarked(item, true);
}

}  // namespace store
