#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/store/FolderRecord.h"

namespace store {

// Picture index of an item in the tree's image list; normal and selected pictures are equal.
enum ItemImage : int { kImageFolder = 0, kImageScrap = 1, kImageHome = 2 };

// One row of the folder tree as the model keeps it. Children are in display order; the
// record is shared with the record chain, which owns it.
struct TreeItem {
  TreeItem* parent = nullptr;
  std::vector<std::unique_ptr<TreeItem>> children;
  std::string text;
  int image = kImageFolder;
  FolderRecord* record = nullptr;
  bool expanded = false;
  bool marked = false;       // listed in the selection (or the drop target): drawn highlighted
  bool bold = false;         // the hot item under the pointer
  std::size_t index = 0;     // place among the parent's children, kept current by the model
  void* handle = nullptr;    // the view's own item, for the view's use only

  [[nodiscard]] bool IsScrap() const { return image == kImageScrap; }
  [[nodiscard]] bool HasChildren() const { return !children.empty(); }
  [[nodiscard]] const std::string& Path() const;
  [[nodiscard]] TreeItem* PrevSibling() const;
  [[nodiscard]] TreeItem* NextSibling() const;
  [[nodiscard]] TreeItem* FirstChild() const;
  // The item and all its ancestors: 1 for the home item.
  [[nodiscard]] int Depth() const;
  [[nodiscard]] bool IsSelfOrAncestorOf(const TreeItem* other) const;
};

// What the view mirrors. The model calls these after changing its own state.
class TreeObserver {
 public:
  virtual ~TreeObserver() = default;
  // item is in place (item->parent, item->index); its children are announced one by one after.
  virtual void ItemInserted(TreeItem* item) = 0;
  // item and its descendants are about to be freed.
  virtual void ItemRemoving(TreeItem* item) = 0;
  // parent's children changed places (item->index says where each is now).
  virtual void ChildrenReordered(TreeItem* parent) = 0;
  virtual void ItemExpanded(TreeItem* item) = 0;  // item->expanded says which way
  // text, picture, marked or bold changed.
  virtual void ItemChanged(TreeItem* item) = 0;
  // The caret item changed (null: no caret item). The view selects it and, when it is not null,
  // tells the document.
  virtual void CaretChanged(TreeItem* item) = 0;
  // Scroll item into view keeping the horizontal scroll (its ancestors are already expanded).
  virtual void MakeVisible(TreeItem* item) = 0;
  // Redrawing off (true) and back on (false) around a bulk change; calls nest.
  virtual void SuspendRedraw(bool suspend) = 0;
};

}  // namespace store
