#pragma once

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
