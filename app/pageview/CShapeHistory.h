#pragma once

#include <vector>

#include "app/pageview/CShape.h"

// History actions of a picture tab.
enum HistoryAction : int {
  kActionPlaced = 0,
  kActionDeleted = 2,
  kActionCropped = 3,
  kActionErased = 4,
};

// One step the user can undo. Crop and erase steps carry no shape.
struct _HISITEM {
  int shapeType = 0;
  CShape* shape = nullptr;  // not owned
  int action = kActionPlaced;
  int reserved1 = 0;
  int reserved2 = 0;
};

// The undo history of a picture tab, oldest first. Recording a step after some were undone
// drops the undone ones, as editors do, so redo never re-applies a step out of its context.
class CShapeHistory {
 public:
  void Record(const _HISITEM& item);
  void Clear();

  bool CanUndo() const { return m_undo >= 0; }
  bool CanRedo() const { return m_redo >= 0; }
  // The entry to revert, moving the positions; nullptr when there is nothing to undo.
  const _HISITEM* TakeUndo();
  // The entry to re-apply; nullptr when there is nothing to redo.
  const _HISITEM* TakeRedo();

  int Size() const { return static_cast<int>(m_items.size()); }
  const _HISITEM& At(int index) const { return m_items[static_cast<size_t>(index)]; }
  int UndoPosition() const { return m_undo; }
  int RedoPosition() const { return m_redo; }

 private:
  std::vector<_HISITEM> m_items;
  int m_undo = -1;  // index of the entry the next undo reverts
  int m_redo = -1;  // index of the entry the next redo re-applies
};
