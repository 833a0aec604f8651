// FolderTreeModel: select by path, expanding and collapsing, the selection state and the
// visible order.
#include <algorithm>

#include "app/store/FolderTreeModel.h"

namespace store {

TreeItem* FolderTreeModel::SelectByPath(const std::string& path) {
  if (!m_home) return nullptr;
  if (path.empty()) {
    TreeItem* item = m_home->HasChildren() ? m_home->FirstChild() : m_home.get();
    SetCaret(item);
    return item;
  }
  std::string_view p = path;
  if (p.size() > 3 && p.back() == '/') p.remove_suffix(1);
  // Only a path below the home folder, at a component boundary, names an item of this tree.
  if (p.size() <= m_homePath.size() || p.substr(0, m_homePath.size()) != m_homePath ||
      p[m_homePath.size()] != '/') {
    return nullptr;
  }
  std::string_view rest = p.substr(m_homePath.size() + 1);

  BeginBulk();
  TreeItem* current = m_home.get();
  while (current && !rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view component = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
    if (component.empty() || component == ".") continue;
    Expand(current);
    Renumber(current);
    current = FindOrInsertChild(current, component);
  }
  if (current && current != m_home.get()) {
    Renumber(current);
    SetCaret(current);
    EnsureVisible(current);
  } else {
    current = nullptr;
  }
  EndBulk();
  return current;
}

void FolderTreeModel::Expand(TreeItem* item) {
  if (!item || !item->HasChildren()) return;
  PrepareExpand(item);
  if (item->expanded) return;
  item->expanded = true;
  if (m_observer) m_observer->ItemExpanded(item);
}

void FolderTreeModel::Collapse(TreeItem* item) {
  if (!item || !item->HasChildren()) return;
  PrepareExpand(item);
  if (!item->expanded) return;
  item->expanded = false;
  if (m_observer) m_observer->ItemExpanded(item);
}

void FolderTreeModel::ExpandBelow(TreeItem* item) {
  Expand(item);
  for (auto& child : item->children) {
    if (child->HasChildren()) ExpandBelow(child.get());
  }
}

void FolderTreeModel::CollapseBelow(TreeItem* item) {
  for (auto& child : item->children) {
    if (child->HasChildren()) {
      CollapseBelow(child.get());
      Collapse(child.get());
    }
  }
}

void FolderTreeModel::ExpandAll() {
  if (!m_home) return;
  BeginBulk();
  ExpandBelow(m_home.get());
  m_expandAllState = 1;
  TreeItem* show = m_caret;
  if (!show) show = m_home->HasChildren() ? m_home->FirstChild() : m_home.get();
  EnsureVisible(show);
  EndBulk();
  m_rootToggleState = 1;
}

void FolderTreeModel::CollapseAll() {
  if (!m_home) return;
  BeginBulk();
  Expand(m_home.get());
  CollapseBelow(m_home.get());
  m_expandAllState = 0;
  TreeItem* show = m_caret;
  if (!show || show == m_home.get()) {
    show = m_home->HasChildren() ? m_home->FirstChild() : m_home.get();
  }
  EnsureVisible(show);
  EndBulk();
  m_rootToggleState = 0;
}

void FolderTreeModel::RootToggle() {
  if (!m_home) return;
  BeginBulk();
  Expand(m_home.get());
  const bool collapse = m_rootToggleState == 1;
  for (auto& child : m_home->children) {
    if (collapse) {
      Collapse(child.get());
    } else {
      Expand(child.get());
    }
  }
  m_rootToggleState = collapse ? 0 : 1;
  EndBulk();
  m_anchor = m_home.get();
  ClearSelection();
  SetCaret(m_home.get());
}

void FolderTreeModel::EnsureVisible(TreeItem* item) {
  if (!item) return;
  std::vector<TreeItem*> ancestors;
  for (TreeItem* it = item->parent; it; it = it->parent) ancestors.push_back(it);
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) Expand(*it);
  if (m_observer) m_observer->MakeVisible(item);
}

void FolderTreeModel::SetCaret(TreeItem* item) {
  if (item == m_caret) return;
  m_caret = item;
  if (m_observer) m_observer->CaretChanged(item);
}

void FolderTreeModel::SelectOnly(TreeItem* item) {
  SetCaret(item);
  m_anchor = item;
  SetOnlySelected(item);
}

void FolderTreeModel::SetMarked(TreeItem* item, bool marked) {
  if (!item || item->marked == marked) return;
  item->marked = marked;
  if (m_observer) m_observer->ItemChanged(item);
}

void FolderTreeModel::ClearSelection() {
  for (TreeItem* item : m_selection) SetMarked(item, false);
  m_selection.clear();
}

void FolderTreeModel::SetOnlySelected(TreeItem* item) {
  ClearSelection();
  AddToSelection(item);
}

void FolderTreeModel::AddToSelection(TreeItem* item) {
  if (!item || IsListed(item)) return;
  SetMarked(item, true);
  m_selection.push_back(item);
}

void FolderTreeModel::RemoveFromSelection(TreeItem* item) {
  const auto it = std::find(m_selection.begin(), m_selection.end(), item);
  if (it == m_selection.end()) return;
  m_selection.erase(it);
  SetMarked(item, false);
}

void FolderTreeModel::ReplaceInSelection(TreeItem* oldItem, TreeItem* newItem) {
  const auto it = std::find(m_selection.begin(), m_selection.end(), oldItem);
  if (it == m_selection.end() || !newItem) return;
  if (oldItem != newItem && IsListed(newItem)) {
    m_selection.erase(it);
  } else {
    *it = newItem;
  }
  SetMarked(oldItem, false);
}

bool FolderTreeModel::IsListed(const TreeItem* item) const {
  return std::find(m_selection.begin(), m_selection.end(), item) != m_selection.end();
}

void FolderTreeModel::SetHot(TreeItem* item) {
  if (item == m_hot) return;
  if (m_hot) {
    m_hot->bold = false;
    if (m_observer) m_observer->ItemChanged(m_hot);
  }
  m_hot = item;
  if (m_hot) {
    m_hot->bold = true;
    if (m_observer) m_observer->ItemChanged(m_hot);
  }
}

std::vector<TreeItem*> FolderTreeModel::VisibleItems() const {
  std::vector<TreeItem*> items;
  if (!m_home) return items;
  std::vector<TreeItem*> stack{m_home.get()};
  while (!stack.empty()) {
    TreeItem* item = stack.back();
    stack.pop_back();
    items.push_back(item);
    if (!item->expanded) continue;
    for (auto it = item->children.rbegin(); it != item->children.rend(); ++it) {
      stack.push_back(it->get());
    }
  }
  return items;
}

TreeItem* FolderTreeModel::PrevVisible(const TreeItem* item) const {
  if (!item || !item->parent) return nullptr;
  TreeItem* prev = item->PrevSibling();
  if (!prev) return item->parent;
  while (prev->expanded && prev->HasChildren()) prev = prev->children.back().get();
  return prev;
}

TreeItem* FolderTreeModel::NextVisible(const TreeItem* item) const {
  if (!item) return nullptr;
  if (item->expanded && item->HasChildren()) return item->FirstChild();
  for (const TreeItem* it = item; it; it = it->parent) {
    if (TreeItem* next = it->NextSibling()) return next;
  }
  return nullptr;
}

}  // namespace store
