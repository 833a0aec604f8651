#include "app/store/TreeSelection.h"

#include <algorithm>

namespace store {

bool TreeSelection::SharesListParent(const TreeItem* item) const {
  const auto& list = m_model.Selection();
  if (list.empty()) return true;
  return item && item->parent == list.front()->parent;
}

void TreeSelection::LeftPress(TreeItem* item, bool ctrl, bool shift) {
  const auto& list = m_model.Selection();
  if (ctrl && !list.empty()) {
    if (!item || !SharesListParent(item)) return;
    if (m_model.IsListed(item)) {
      m_model.RemoveFromSelection(item);
    } else {
      m_model.AddToSelection(item);
    }
    return;
  }
  if (shift && !list.empty()) {
    if (item) ExtendTo(item);
    return;
  }
  m_model.SetAnchor(item);
  if (list.size() <= 1) {
    m_model.SetCaret(item);
    m_model.SetOnlySelected(item);
  }
}

void TreeSelection::LeftRelease() {
  if (m_model.Selection().empty()) return;
  TreeItem* anchor = m_model.Anchor();
  m_model.SetCaret(anchor);
  m_model.SetOnlySelected(anchor);
}

void TreeSelection::RightClick(TreeItem* item) {
  m_model.SetCaret(item);
  m_model.SetOnlySelected(item);
}

void TreeSelection::ShiftArrow(bool down) {
  if (!m_model.Anchor()) m_model.SetAnchor(m_model.Caret());
  TreeItem* anchor = m_model.Anchor();
  if (!anchor) return;
  TreeItem* next = down ? m_model.NextVisible(anchor) : m_model.PrevVisible(anchor);
  if (next && ExtendTo(next)) m_model.SetAnchor(next);
}

void TreeSelection::CaretKey() {
  m_model.SetAnchor(nullptr);
  m_model.ClearSelection();
}

void TreeSelection::CaretMovedByKeyboard(TreeItem* item) {
  m_model.SetAnchor(nullptr);
  m_model.SetOnlySelected(item);
}

bool TreeSelection::ExtendTo(TreeItem* item) {
  if (!item || !SharesListParent(item)) return false;
  TreeItem* caret = m_model.Caret();
  m_model.ClearSelection();
  if (!caret) {
    m_model.AddToSelection(item);
    return true;
  }
  const std::vector<TreeItem*> visible = m_model.VisibleItems();
  auto from = std::find(visible.begin(), visible.end(), caret);
  auto to = std::find(visible.begin(), visible.end(), item);
  if (from == visible.end() || to == visible.end()) {
    m_model.AddToSelection(item);
    return true;
  }
  if (to < from) std::swap(from, to);
  for (auto it = from; it <= to; ++it) m_model.AddToSelection(*it);
  return true;
}

}  // namespace store
