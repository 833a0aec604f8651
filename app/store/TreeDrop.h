#pragma once

#include <functional>
#include <string>

#include "app/store/FolderTreeModel.h"
#include "platform/ShellFileOperation.h"

namespace store {

// What dropping the tree's selection list on an item means, and doing it. A drop on the
// listed items' own parent puts them at its top; a drop on a sibling scrap puts them after it;
// a drop on any other folder (or the home item) moves or copies them into it on disk.
class TreeDrop {
 public:
  enum class Cursor { Unchanged, NoDrop, Move, Copy };
  enum class Action { None, ReorderTop, ReorderAfter, Into };
  // Insert mark before or after item, or item drawn highlighted as the drop target.
  enum class FeedbackKind { None, InsertBefore, InsertAfter, Highlight };
  struct Feedback {
    FeedbackKind kind = FeedbackKind::None;
    TreeItem* item = nullptr;
  };

  TreeDrop(FolderTreeModel& model, platform::ShellUi& ui) : m_model(model), m_ui(ui) {}

  [[nodiscard]] Action Decide(const TreeItem* target) const;
  [[nodiscard]] Cursor CursorFor(const TreeItem* target, bool ctrl) const;
  [[nodiscard]] Feedback FeedbackFor(TreeItem* target) const;

  // Runs the drop the selection list would make on target. copy: Ctrl was down at the drop;
  // noUndo: Shift was down, so a replaced folder is not kept in the Trash.
  void Drop(TreeItem* target, bool copy, bool noUndo);
  // Called for each folder a drop moved on disk, with its old and new path, before the moved
  // caret item is selected again (the open scrap must know where it now is by then).
  void SetMovedHook(std::function<void(const std::string& from, const std::string& to)> hook) {
    m_moved = std::move(hook);
  }

 private:
  [[nodiscard]] bool AllShareParentOf(const TreeItem* target) const;
  [[nodiscard]] bool IntoOwnSubtree(const TreeItem* target) const;
  void DropInto(TreeItem* target, bool copy, bool noUndo);
  void Reorder(TreeItem* target, Action action);
  void FinishDrop(const std::string& reselectPath);

  FolderTreeModel& m_model;
  platform::ShellUi& m_ui;
  std::function<void(const std::string&, const std::string&)> m_moved;
};

}  // namespace store
