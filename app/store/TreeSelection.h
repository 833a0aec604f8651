#pragma once

#include "app/store/FolderTreeModel.h"

namespace store {

// How mouse and keys change the caret item and the selection list. The caret item is the one
// the user works on; the selection list is the tree's own multi-selection of sibling items,
// which delete and drag act on.
class TreeSelection {
 public:
  explicit TreeSelection(FolderTreeModel& model) : m_model(model) {}

  // A left press on item (null: empty space), not on an expand button.
  void LeftPress(TreeItem* item, bool ctrl, bool shift);
  // The left button came up without Shift or Ctrl and without a drag.
  void LeftRelease();
  // Right click: the item (or none) becomes the caret item and the only listed item.
  void RightClick(TreeItem* item);
  // Shift+Up (down = false) or Shift+Down: moves the anchor and extends the list to it.
  void ShiftArrow(bool down);
  // A key the tree does not handle itself that moves the caret item or types (the control
  // jumps to a matching name): the anchor and the list are cleared. Modifier keys alone and
  // keys that do neither leave them, so Shift+click, Ctrl+click and Shift+Delete act on the
  // listed items.
  void CaretKey();
  // The control moved the caret item itself (keyboard navigation): the list follows it, so
  // Delete and drag act on what the user sees selected.
  void CaretMovedByKeyboard(TreeItem* item);

  // Marks every item from the caret item to item in visible order and makes them the list;
  // false (and nothing changes) when item does not share the parent of the listed items.
  bool ExtendTo(TreeItem* item);
  // Whether item has the parent of the listed items (true when the list is empty).
  [[nodiscard]] bool SharesListParent(const TreeItem* item) const;

 private:
  FolderTreeModel& m_model;
};

}  // namespace store
