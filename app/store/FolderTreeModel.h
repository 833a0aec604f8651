#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/store/TreeItem.h"

namespace store {

// The folder tree without any window: the home item and everything loaded below it, the
// folder records, lazy loading one level ahead of what is expanded, ordering by sort type,
// select by path, expanding, and the selection state (caret item, selection list, anchor).
// A view mirrors it through TreeObserver; tests drive it directly on real folders.
class FolderTreeModel {
 public:
  enum class InsertAt { First, Last, After };

  explicit FolderTreeModel(TreeObserver* observer = nullptr);
  // Releases every record, so each loaded directory gets its Scrap.ini.
  ~FolderTreeModel();
  FolderTreeModel(const FolderTreeModel&) = delete;
  FolderTreeModel& operator=(const FolderTreeModel&) = delete;

  void SetObserver(TreeObserver* observer) { m_observer = observer; }

  // Stores the home folder path; the tree is rebuilt only by Refresh.
  void SetHomeFolder(const std::string& path) { m_homePath = path; }
  [[nodiscard]] const std::string& HomePath() const { return m_homePath; }
  [[nodiscard]] TreeItem* Home() const { return m_home.get(); }
  [[nodiscard]] bool IsHomePath(std::string_view path) const;

  // Rebuilds the tree from disk and selects path (empty: the caret item's path, else the path
  // remembered from the last refresh).
  void Refresh(const std::string& path);
  // Releases all records (writing their Scrap.ini files) and removes every item.
  void Clear();

  // Inserts an item for every subdirectory of item's directory (not Images) and orders them.
  void LoadChildren(TreeItem* item);
  // Loads the children of each child of item the first time item opens or closes.
  void PrepareExpand(TreeItem* item);
  TreeItem* InsertFolderItem(const std::string& path, TreeItem* parent, InsertAt where,
                             TreeItem* after = nullptr);
  // The child named name, or else the directory of that name inserted as parent's first child;
  // null when there is neither. Names on disk are case-sensitive: an exact name wins, in the
  // tree or on disk, and a child or directory whose name differs only in case stands in only
  // when nothing carries the exact name.
  TreeItem* FindOrInsertChild(TreeItem* parent, std::string_view name);
  // The child whose text is exactly name, else one whose text differs from it only in case.
  [[nodiscard]] TreeItem* FindChild(const TreeItem* parent, std::string_view name) const;
  // The child whose text is exactly name.
  [[nodiscard]] TreeItem* FindExactChild(const TreeItem* parent, std::string_view name) const;

  // Puts item's children in the order of item's sort type (stable for equal keys).
  void SortChildren(TreeItem* item);
  // Gives item's children the custom positions 1..n in display order.
  void Renumber(TreeItem* item);
  // Moves child to position newIndex among its siblings.
  void MoveChild(TreeItem* child, std::size_t newIndex);
  // Removes item and its descendants from the tree; releaseRecord also frees their records
  // (writing Scrap.ini). A caret item inside moves to the next sibling, the previous one or
  // the parent, like the host control does.
  void DeleteItem(TreeItem* item, bool releaseRecord);
  // Removes item's child items, releasing their records.
  void DiscardChildItems(TreeItem* item);
  // Takes item out of its parent (keeping it and its records) and puts it under newParent.
  void Reparent(TreeItem* item, TreeItem* newParent, InsertAt where, TreeItem* after = nullptr);
  // Collapses item, drops its child items and loads them again from disk.
  void ReloadChildren(TreeItem* item);

  TreeItem* SelectByPath(const std::string& path);
  void Expand(TreeItem* item);
  void Collapse(TreeItem* item);
  void ExpandAll();
  void CollapseAll();
  void RootToggle();
  // Expands item's ancestors and asks the view to scroll it into view.
  void EnsureVisible(TreeItem* item);

  [[nodiscard]] int ExpandAllState() const { return m_expandAllState; }
  void SetExpandAllState(int state) { m_expandAllState = state; }
  [[nodiscard]] int RootToggleState() const { return m_rootToggleState; }

  // Caret item: the one item the user works on (null: none).
  [[nodiscard]] TreeItem* Caret() const { return m_caret; }
  void SetCaret(TreeItem* item);
  // Makes item the caret item, the anchor and the only listed item (none: no caret item, an
  // empty list). After an operation the program starts, the item shown selected is the one
  // delete and drag act on.
  void SelectOnly(TreeItem* item);
  // The tree's own multi-selection, in list order; every listed item is marked.
  [[nodiscard]] const std::vector<TreeItem*>& Selection() const { return m_selection; }
  void ClearSelection();
  void SetOnlySelected(TreeItem* item);
  void AddToSelection(TreeItem* item);
  void RemoveFromSelection(TreeItem* item);
  void ReplaceInSelection(TreeItem* oldItem, TreeItem* newItem);
  [[nodiscard]] bool IsListed(const TreeItem* item) const;
  void SetMarked(TreeItem* item, bool marked);
  [[nodiscard]] TreeItem* Anchor() const { return m_anchor; }
  void SetAnchor(TreeItem* item) { m_anchor = item; }
  [[nodiscard]] TreeItem* Hot() const { return m_hot; }
  // Tells the view that item's text or picture changed.
  void NotifyChanged(TreeItem* item) {
    if (m_observer && item) m_observer->ItemChanged(item);
  }
  void SetHot(TreeItem* item);

  // Items in the order they show on screen (descending only into expanded items).
  [[nodiscard]] std::vector<TreeItem*> VisibleItems() const;
  [[nodiscard]] TreeItem* PrevVisible(const TreeItem* item) const;
  [[nodiscard]] TreeItem* NextVisible(const TreeItem* item) const;

  // Redrawing off with the redraw-suspended flag set, for bulk changes; nests.
  void BeginBulk();
  void EndBulk();
  [[nodiscard]] bool RedrawSuspended() const { return m_bulkDepth > 0; }

  // The one-step undo of a sort command: the item and its sort type before the command.
  struct SortUndo {
    TreeItem* item = nullptr;
    int sortType = 1;
  };
  [[nodiscard]] const SortUndo& Undo() const { return m_undo; }
  void SetUndo(TreeItem* item, int sortType) { m_undo = {item, sortType}; }

  // A list of items kept current while the tree changes: an entry whose item leaves the tree
  // becomes null. Operations that walk the selection list while they reload children hold
  // one, because a reload may free items listed further on.
  class ItemWatch {
   public:
    ItemWatch(FolderTreeModel& model, std::vector<TreeItem*> items);
    ~ItemWatch();
    ItemWatch(const ItemWatch&) = delete;
    ItemWatch& operator=(const ItemWatch&) = delete;
    [[nodiscard]] std::size_t Size() const { return m_items.size(); }
    // The i-th item, or null when it has left the tree.
    [[nodiscard]] TreeItem* At(std::size_t i) const { return m_items[i]; }

   private:
    friend class FolderTreeModel;
    FolderTreeModel& m_model;
    std::vector<TreeItem*> m_items;
  };

  // Every item, home first, parents before children (tests and the view's full rebuild).
  template <typename F>
  void ForEach(F&& f) const {
    if (m_home) ForEachBelow(m_home.get(), f);
  }

 private:
  template <typename F>
  static void ForEachBelow(TreeItem* item, F& f) {
    f(item);
    for (auto& child : item->children) ForEachBelow(child.get(), f);
  }
  void Reindex(TreeItem* parent, std::size_t from = 0);
  void AnnounceInserted(TreeItem* item);
  void Forget(TreeItem* item);
  void ExpandBelow(TreeItem* item);
  void CollapseBelow(TreeItem* item);
  std::size_t InsertIndex(TreeItem* parent, InsertAt where, TreeItem* after) const;
  std::unique_ptr<TreeItem> Detach(TreeItem* item);

  TreeObserver* m_observer;
  std::string m_homePath;
  std::string m_reselectPath;
  std::unique_ptr<TreeItem> m_home;
  int m_expandAllState = 1;
  int m_rootToggleState = 1;
  int m_bulkDepth = 0;
  TreeItem* m_caret = nullptr;
  std::vector<TreeItem*> m_selection;
  TreeItem* m_anchor = nullptr;
  TreeItem* m_hot = nullptr;
  SortUndo m_undo;
  std::vector<ItemWatch*> m_watches;
};

}  // namespace store
