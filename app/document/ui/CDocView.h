#pragma once

#include <string>

class CClipwrenDoc;
class ICaretPathSource;

// What the document tells its views, and what it concerns.
enum class DocHint {
  // Something changed that every view simply repaints for.
  kRefresh,
  // The folder tree's caret item changed; `caret` is the tree.
  kCaretMoved,
  // The copy tab was created or deleted; `tab` is the tab to select.
  kTabsChanged,
};

struct DocUpdate {
  DocHint hint = DocHint::kRefresh;
  ICaretPathSource* caret = nullptr;
  int tab = 0;

  static DocUpdate CaretMoved(ICaretPathSource& tree) {
    return {DocHint::kCaretMoved, &tree, 0};
  }
  static DocUpdate TabsChanged(int tab) { return {DocHint::kTabsChanged, nullptr, tab}; }
};

// What the document knows of a view: it tells each registered view when something changed.
class CDocView {
 public:
  virtual ~CDocView() = default;
  virtual void OnUpdate(CDocView* sender, const DocUpdate& update) = 0;
  // The document is being destroyed before the view: forget it.
  virtual void OnDocumentGone() {}
};

// The caret-moved update carries the tree as this interface, so the right pane can read the
// caret item's folder path without knowing the tree.
class ICaretPathSource {
 public:
  virtual ~ICaretPathSource() = default;
  // Folder path of the caret item; empty when there is none.
  virtual std::string CaretPath() const = 0;
  // Puts the caret back on the item of `folder`: the scrap that stays open because the one
  // chosen could not be opened (its changes could not be saved). The change is announced
  // like any other.
  virtual void ReturnCaretTo(const std::string& folder) = 0;
};
