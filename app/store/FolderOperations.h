#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/store/FolderTreeModel.h"
#include "platform/ShellFileOperation.h"

namespace store {

// The tree's commands that change the scrapbook or its order: new folder, rename, delete, the
// sort commands with their one-step undo, move up and move down. Changes to existing
// directories go through the shell file operation, so deletes land in the Trash and the
// user is asked about conflicts; the model changes only when the shell reports success.
class FolderOperations {
 public:
  FolderOperations(FolderTreeModel& model, platform::ShellUi& ui) : m_model(model), m_ui(ui) {}

  // Creates "新しいフォルダ" (or the next free name) in the caret item, or in the home folder
  // when the caret item is a scrap, and makes it the caret item. Returns the new item for the
  // view to start renaming; null (and nothing changes) without a caret item or when the
  // directory cannot be created.
  TreeItem* NewFolder();
  // Whether item may get a new name: any item but the home folder.
  [[nodiscard]] bool CanRename(const TreeItem* item) const;
  // Renames item's directory to newText exactly as typed. On success the item shows the new
  // name and it and its loaded descendants get their new paths; false leaves everything as it
  // was. A text that is not one plain name (empty, ".", "..", or holding "/") is refused with
  // the shell's invalid-name message before anything on disk is touched.
  bool Rename(TreeItem* item, const std::string& newText);
  [[nodiscard]] static bool IsUsableName(std::string_view name);
  // Deletes the directories of the listed items (not the home folder): to the Trash, or for
  // good when permanent. beforeDelete runs first (it clears the document's modified flag, so
  // deleting the open scrap asks no save question). The list is emptied in every case.
  bool DeleteSelection(bool permanent, const std::function<void()>& beforeDelete = {});

  // Sort type 0, 1 or 2 for the caret item's children, remembering the old one for undo.
  void SetSortType(int sortType);
  [[nodiscard]] bool CanUndoSort() const { return m_model.Undo().item != nullptr; }
  void UndoSort();

  [[nodiscard]] bool CanMoveUp() const;
  [[nodiscard]] bool CanMoveDown() const;
  // Swap the caret item with its previous (next) sibling; the parent's order becomes custom.
  void MoveUp();
  void MoveDown();

  // The listed items in list order, leaving out those whose ancestor is also listed (they go
  // with their ancestor).
  [[nodiscard]] static std::vector<TreeItem*> TopLevelItems(const std::vector<TreeItem*>& list);

 private:
  void MoveNeighbour(TreeItem* neighbour);

  FolderTreeModel& m_model;
  platform::ShellUi& m_ui;
};

// Base name of a new folder made from the tree.
inline constexpr const char* kNewFolderBaseName = "新しいフォルダ";

}  // namespace store
