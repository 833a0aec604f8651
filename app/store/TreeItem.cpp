#include "app/store/TreeItem.h"

namespace store {

const std::string& TreeItem::Path() const {
  static const std::string kNoPath;
  return record ? record->path : kNoPath;
}

TreeItem* TreeItem::PrevSibling() const {
  if (!parent || index == 0) return nullptr;
  return parent->children[index - 1].get();
}

TreeItem* TreeItem::NextSibling() const {
  if (!parent || index + 1 >= parent->children.size()) return nullptr;
  return parent->children[index + 1].get();
}

TreeItem* TreeItem::FirstChild() const {
  return children.empty() ? nullptr : children.front().get();
}

int TreeItem::Depth() const {
  int depth = 0;
  for (const TreeItem* it = this; it; it = it->parent) ++depth;
  return depth;
}

bool TreeItem::IsSelfOrAncestorOf(const TreeItem* other) const {
  for (const TreeItem* it = other; it; it = it->parent) {
    if (it == this) return true;
  }
  return false;
}

}  // namespace store
