#pragma once

#include <wx/event.h>
#include <wx/string.h>

#include <vector>

#include "app/document/ui/CDocView.h"

// The program's single document: the scrap that is open. One object for the whole run, reused
// for every scrap. It sits in the command route after the active view and before the frame.
class CClipwrenDoc : public wxEvtHandler {
 public:
  CClipwrenDoc();
  ~CClipwrenDoc() override;

  // Name of the open scrap (last component of its folder path).
  const wxString& GetTitle() const { return m_title; }
  void SetTitle(const wxString& title) { m_title = title; }

  bool IsModified() const { return m_modified; }
  void SetModifiedFlag(bool modified = true) { m_modified = modified; }

  // Set when a save question is answered with yes: the next save writes every part.
  bool IsSaveAll() const { return m_saveAll; }
  void SetSaveAll(bool saveAll) { m_saveAll = saveAll; }

  void AddView(CDocView* view);
  void RemoveView(CDocView* view);
  const std::vector<CDocView*>& Views() const { return m_views; }
  void UpdateAllViews(CDocView* sender, long hint = 0, void* hintObject = nullptr);

 private:
  wxString m_title;
  bool m_modified = false;
  bool m_saveAll = false;
  std::vector<CDocView*> m_views;
};
