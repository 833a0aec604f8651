#pragma once

#include <wx/window.h>

#include <string>

#include "app/document/ui/CDocView.h"
#include "app/pageview/ui/CSBTabCtrl.h"

class CClipwrenDoc;

// The right pane of the main window: holds the tab strip and opens the scrap the folder tree
// selects.
class CClipwrenView : public wxWindow, public CDocView {
 public:
  explicit CClipwrenView(wxWindow* parent, CClipwrenDoc* doc = nullptr);
  ~CClipwrenView() override;

  CSBTabCtrl* TabCtrl() const { return m_tabs; }
  void OnUpdate(CDocView* sender, const DocUpdate& update) override;
  void OnDocumentGone() override;
  // Opens a scrap folder and refreshes the tabs (what a tree selection does). False when the
  // open scrap stays because its changes could not be saved.
  bool OpenScrap(const std::string& folder);

 private:
  CClipwrenDoc* m_doc;
  CSBTabCtrl* m_tabs;
  bool m_opened = false;
  // The folder the tree's caret is being put back on; its announcement opens nothing.
  std::string m_returningTo;
};
