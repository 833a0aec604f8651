#pragma once

#include <string>

class CClipwrenDoc;

// What the document knows of a view: it tells each registered view when something changed.
// hint says what changed (1: the folder tree's caret item), hintObject who or what.
class CDocView {
 public:
  virtual ~CDocView() = default;
  virtual void OnUpdate(CDocView* sender, long hint, void* hintObject) = 0;
  // The document is being destroyed before the view: forget it.
  virtual void OnDocumentGone() {}
};

// Hint 1 ("the caret item changed") carries its sender as this interface, so the right pane
// can read the caret item's folder path without knowing the tree.
class ICaretPathSource {
 public:
  virtual ~ICaretPathSource() = default;
  // Folder path of the caret item; empty when there is none.
  virtual std::string CaretPath() const = 0;
};
