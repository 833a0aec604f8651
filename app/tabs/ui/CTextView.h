#pragma once

#include <wx/accel.h>
#include <wx/fdrepdlg.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <string>

#include "app/document/ui/DocPanes.h"
#include "app/store/FullTextSearch.h"
#include "app/tabs/TextEditHistory.h"

class CClipwrenDoc;
class CDimEditCtrl;

// The context menu's only command, "クリップボードにコピー".
inline constexpr int kIdTextContextCopy = 205;
// The view's own style bit, set while its find dialog is open: the selection keeps its
// focused colours while the dialog has the focus, so the found text stays plain to see.
inline constexpr long kStyleKeepSelection = 0x20;

// The text tab: the scrap's page text in a native multi-line text control (input methods work
// as in any text field), with the edit commands, undo and redo, a one-item context menu, the
// find dialog, the search box's Enter and the F3 family of searches. The main window's
// accelerator keys work inside it. Any edit that makes the text differ from the document's copy
// marks the document modified; nothing here ever clears that flag.
class CTextView : public wxTextCtrl, public ITextPane, public store::ScrapTextFinder {
 public:
  CTextView(wxWindow* parent, CClipwrenDoc* doc);
  ~CTextView() override;

  // The main window's search box: the searches read and fill it, and its Enter comes here.
  void SetSearchBox(CDimEditCtrl* box);
  CDimEditCtrl* SearchBox() const { return m_searchBox.get(); }

  // ITextPane: the document loads the scrap's text here and reads it back when saving.
  void SetText(const std::string& utf8) override;
  std::string GetText() const override;
  // The find dialog (one at a time; nothing happens while it is open).
  void OpenFindDialog() override;

  // Searches the text from the selection (after it when down, before it when up) and selects
  // the occurrence; with allowWrap, once more from the far end when nothing was found. Returns
  // where the occurrence starts, or -1 (the selection then stays).
  long Find(const wxString& text, bool matchCase, bool down, bool allowWrap);

  // The scrapbook-wide search found the text in the scrap it just opened: the text tab is
  // brought forward with the focus, and the occurrence selected.
  long FindInOpenScrap(const std::string& text, bool matchCase, bool down, bool allowWrap) override;

  bool MatchCase() const { return m_matchCase; }
  bool SearchDown() const { return m_searchDown; }
  wxFindReplaceDialog* FindDialog() const { return m_findDialog.get(); }
  long EditStyle() const { return m_editStyle; }
  bool CanUndoEdit() const { return m_history.CanUndo(); }
  bool CanRedoEdit() const { return m_history.CanRedo(); }
  void UndoEdit();
  void RedoEdit();
  bool HasTextSelection() const;

  // Called by the text buffer before it changes (GTK signal handlers).
  void BufferInserting(long pos, const wxString& text);
  void BufferDeleting(long from, const wxString& text);

 private:
  void BindCommands();
  void OnCommand(wxCommandEvent& event);
  void OnUpdateCommand(wxUpdateUIEvent& event);
  void OnText(wxCommandEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnRightDown(wxMouseEvent& event);
  void OnRightUp(wxMouseEvent& event);
  void OnFindNext(wxFindDialogEvent& event);
  void OnFindClose(wxFindDialogEvent& event);
  void OnSearchBoxEnter(wxCommandEvent& event);
  // F3, Shift+F3 and Ctrl+F3.
  void SearchFromBox(bool down);
  void SearchSelection();
  wxString SearchBoxText() const;
  void SetSearchBoxText(const wxString& text);
  // Offers a key to the main window's accelerator table; true when it became a command.
  bool TranslateAccelerator(const wxKeyEvent& event);
  void SetKeepSelection(bool keep);
  void ApplyEdit(long pos, std::size_t oldLength, const std::wstring& text);

  CClipwrenDoc* m_doc;
  // Both may go before this view does (the frame's bars, a dialog the toolkit closed).
  wxWeakRef<CDimEditCtrl> m_searchBox;
  bool m_matchCase = true;
  bool m_searchDown = true;
  wxFindReplaceData m_findData;
  wxWeakRef<wxFindReplaceDialog> m_findDialog;
  long m_editStyle = 0;
  bool m_styleChanged = false;
  wxAcceleratorTable m_accelerators;
  tabs::TextEditHistory m_history;
  int m_applying = 0;  // >0 while the program itself changes the text: not the user's edit
};
