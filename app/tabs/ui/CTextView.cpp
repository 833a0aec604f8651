#include "app/tabs/ui/CTextView.h"

#include <wx/menu.h>

#include <gtk/gtk.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/res/Accelerators.h"
#include "app/res/Resource.h"
#include "app/res/ui/FindDialog.h"
#include "app/res/ui/MenuBuilder.h"
#include "app/store/ui/CDimEditCtrl.h"
#include "app/tabs/TextSearch.h"

namespace {

constexpr const char* kKeepSelectionClass = "clipwren-keep-selection";

// The selection drawn as the focused view draws it, also while another window (the find
// dialog) is active.
GtkCssProvider* KeepSelectionStyle() {
  static GtkCssProvider* provider = [] {
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css,
                                    "textview.clipwren-keep-selection text selection,"
                                    "textview.clipwren-keep-selection text selection:backdrop {"
                                    "  background-color: @theme_selected_bg_color;"
                                    "  color: @theme_selected_fg_color; }",
                                    -1, nullptr);
    return css;
  }();
  return provider;
}

GtkTextBuffer* BufferOf(wxTextCtrl* control) {
  return gtk_text_view_get_buffer(GTK_TEXT_VIEW(control->GetConnectWidget()));
}

void InsertTextHandler(GtkTextBuffer*, GtkTextIter* location, gchar* text, gint length,
                       gpointer self) {
  static_cast<CTextView*>(self)->BufferInserting(gtk_text_iter_get_offset(location),
                                                 wxString::FromUTF8(text, length));
}

void DeleteRangeHandler(GtkTextBuffer* buffer, GtkTextIter* start, GtkTextIter* end,
                        gpointer self) {
  gchar* text = gtk_text_buffer_get_text(buffer, start, end, TRUE);
  const long from = std::min(gtk_text_iter_get_offset(start), gtk_text_iter_get_offset(end));
  static_cast<CTextView*>(self)->BufferDeleting(from, wxString::FromUTF8(text));
  g_free(text);
}

constexpr int kEditCommands[] = {
    res::kIdEditUndo,   res::kIdEditRedo,     res::kIdEditCut,          res::kIdEditCopy,
    kIdTextContextCopy, res::kIdEditPaste,    res::kIdEditClear,        res::kIdEditSelectAll,
    res::kIdFindNext,   res::kIdFindPrevious, res::kIdFindNextSelected,
};

}  // namespace

CTextView::CTextView(wxWindow* parent, CClipwrenDoc* doc)
    : wxTextCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                 wxTE_MULTILINE | wxTE_RICH2 | wxTE_NOHIDESEL | wxTE_WORDWRAP | wxBORDER_SUNKEN |
                     wxVSCROLL),
      m_doc(doc),
      m_accelerators(res::ui::BuildAccelerators(res::kAccelMain)) {
  GtkWidget* view = GetConnectWidget();
  gtk_style_context_add_provider(gtk_widget_get_style_context(view),
                                 GTK_STYLE_PROVIDER(KeepSelectionStyle()),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  GtkTextBuffer* buffer = BufferOf(this);
  g_signal_connect(buffer, "insert-text", G_CALLBACK(InsertTextHandler), this);
  g_signal_connect(buffer, "delete-range", G_CALLBACK(DeleteRangeHandler), this);
  m_findData.SetFlags(wxFR_DOWN | wxFR_MATCHCASE);
  BindCommands();
}

CTextView::~CTextView() {
  g_signal_handlers_disconnect_by_data(BufferOf(this), this);
  if (m_searchBox && m_searchBox->GetNotifyWindow() == this) m_searchBox->SetNotifyWindow(nullptr);
  if (m_findDialog) m_findDialog->Destroy();
}

void CTextView::BindCommands() {
  for (int id : kEditCommands) {
    Bind(wxEVT_MENU, &CTextView::OnCommand, this, id);
    Bind(wxEVT_UPDATE_UI, &CTextView::OnUpdateCommand, this, id);
  }
  Bind(wxEVT_TEXT, &CTextView::OnText, this);
  Bind(wxEVT_KEY_DOWN, &CTextView::OnKeyDown, this);
  Bind(wxEVT_LEFT_DOWN, &CTextView::OnLeftDown, this);
  Bind(wxEVT_RIGHT_DOWN, &CTextView::OnRightDown, this);
  Bind(wxEVT_RIGHT_UP, &CTextView::OnRightUp, this);
  Bind(EVT_DIM_EDIT_ENTER, &CTextView::OnSearchBoxEnter, this);
}

void CTextView::SetSearchBox(CDimEditCtrl* box) {
  m_searchBox = box;
  if (box) box->SetNotifyWindow(this);
}

void CTextView::SetText(const std::string& utf8) {
  ++m_applying;
  ChangeValue(wxString::FromUTF8(utf8));
  --m_applying;
  m_history.Clear();
  SetInsertionPoint(0);
  ShowPosition(0);
}

std::string CTextView::GetText() const { return GetValue().utf8_string(); }

void CTextView::BufferInserting(long pos, const wxString& text) {
  if (m_applying) return;
  m_history.Record({pos, std::wstring(), text.ToStdWstring()});
}

void CTextView::BufferDeleting(long from, const wxString& text) {
  if (m_applying) return;
  m_history.Record({from, text.ToStdWstring(), std::wstring()});
}

bool CTextView::HasTextSelection() const {
  long from = 0, to = 0;
  GetSelection(&from, &to);
  return from != to;
}

void CTextView::OnText(wxCommandEvent& event) {
  // Once modified there is nothing to compare: equality would not clear the flag.
  if (m_doc && !m_doc->IsModified() && GetValue().utf8_string() != m_doc->Text()) {
    m_doc->SetModifiedFlag(true);
  }
  event.Skip();
}

void CTextView::ApplyEdit(long pos, std::size_t oldLength, const std::wstring& text) {
  // The undo step's own change: recorded by the history already, but the document hears of it
  // like any other change.
  ++m_applying;
  Replace(pos, pos + static_cast<long>(oldLength), wxString(text));
  --m_applying;
  const long end = pos + static_cast<long>(text.size());
  SetSelection(end, end);
  ShowPosition(end);
}

void CTextView::UndoEdit() {
  if (auto edit = m_history.Undo()) ApplyEdit(edit->pos, edit->inserted.size(), edit->removed);
}

void CTextView::RedoEdit() {
  if (auto edit = m_history.Redo()) ApplyEdit(edit->pos, edit->removed.size(), edit->inserted);
}

void CTextView::OnCommand(wxCommandEvent& event) {
  switch (event.GetId()) {
    case res::kIdEditUndo:
      UndoEdit();
      break;
    case res::kIdEditRedo:
      RedoEdit();
      break;
    case res::kIdEditCut:
      m_history.Seal();
      Cut();
      break;
    case res::kIdEditCopy:
    case kIdTextContextCopy:
      Copy();
      break;
    case res::kIdEditPaste:
      m_history.Seal();
      Paste();
      break;
    case res::kIdEditClear:
      m_history.Seal();
      RemoveSelection();
      break;
    case res::kIdEditSelectAll:
      SetSelection(-1, -1);
      break;
    case res::kIdFindNext:
      SearchFromBox(true);
      break;
    case res::kIdFindPrevious:
      SearchFromBox(false);
      break;
    case res::kIdFindNextSelected:
      SearchSelection();
      break;
    default:
      event.Skip();
  }
}

void CTextView::OnUpdateCommand(wxUpdateUIEvent& event) {
  switch (event.GetId()) {
    case res::kIdEditUndo:
      event.Enable(m_history.CanUndo());
      break;
    case res::kIdEditRedo:
      event.Enable(m_history.CanRedo());
      break;
    case res::kIdEditCut:
    case res::kIdEditClear:
      event.Enable(IsEditable() && HasTextSelection());
      break;
    case res::kIdEditCopy:
    case kIdTextContextCopy:
      event.Enable(HasTextSelection());
      break;
    case res::kIdEditPaste:
      event.Enable(CanPaste());
      break;
    case res::kIdEditSelectAll:
      event.Enable(!IsEmpty());
      break;
    default:
      event.Enable(true);
      break;
  }
}

long CTextView::Find(const wxString& text, bool matchCase, bool down, bool allowWrap) {
  if (text.empty()) return -1;
  const wxString value = GetValue();
  tabs::TextRange sel;
  GetSelection(&sel.start, &sel.end);
  const std::wstring needle = text.ToStdWstring();
  const long found = tabs::FindInText(std::wstring_view(value.wc_str(), value.length()), needle,
                                      sel, matchCase, down, allowWrap);
  if (found < 0) return -1;
  SetSelection(sel.start, sel.end);
  ShowPosition(sel.start);
  m_history.Seal();
  return found;
}

long CTextView::FindInOpenScrap(const std::string& text, bool matchCase, bool down,
                                bool allowWrap) {
  // The tab strip shows its text tab on the tab's own command, as when its button is released.
  if (wxWindow* strip = GetParent()) {
    wxCommandEvent showText(wxEVT_BUTTON, res::kIdTabText);
    showText.SetEventObject(this);
    strip->GetEventHandler()->ProcessEvent(showText);
  }
  SetFocus();
  return Find(wxString::FromUTF8(text), matchCase, down, allowWrap);
}

wxString CTextView::SearchBoxText() const {
  return m_searchBox ? m_searchBox->GetValue() : wxString();
}

void CTextView::SetSearchBoxText(const wxString& text) {
  if (m_searchBox) m_searchBox->SetValue(text);
}

void CTextView::SearchFromBox(bool down) {
  if (!down) {
    const wxString selected = GetStringSelection();
    if (!selected.empty()) SetSearchBoxText(selected);
  }
  (void)Find(SearchBoxText(), m_matchCase, down, true);
}

void CTextView::SearchSelection() {
  const wxString selected = GetStringSelection();
  SetSearchBoxText(selected);
  (void)Find(selected, m_matchCase, true, true);
}

void CTextView::OnSearchBoxEnter(wxCommandEvent& event) {
  const auto* box = dynamic_cast<wxTextCtrl*>(event.GetEventObject());
  if (!box) return;
  (void)Find(box->GetValue(), m_matchCase, m_searchDown, true);
}

void CTextView::OpenFindDialog() {
  if (m_findDialog) return;
  SetKeepSelection(true);
  int flags = 0;
  if (m_searchDown) flags |= wxFR_DOWN;
  if (m_matchCase) flags |= wxFR_MATCHCASE;
  m_findData.SetFlags(flags);
  m_findData.SetFindString(SearchBoxText());
  m_findDialog = res::ui::CreateFindDialog(this, &m_findData, wxString::FromUTF8("検索"));
  // The dialog's requests come here straight from the dialog: the toolkit hands a dialog's
  // events to its top-level parent, which is the main window, not this view.
  m_findDialog->Bind(wxEVT_FIND, &CTextView::OnFindNext, this);
  m_findDialog->Bind(wxEVT_FIND_NEXT, &CTextView::OnFindNext, this);
  m_findDialog->Bind(wxEVT_FIND_CLOSE, &CTextView::OnFindClose, this);
  m_findDialog->Show();
}

void CTextView::SetKeepSelection(bool keep) {
  GtkStyleContext* style = gtk_widget_get_style_context(GetConnectWidget());
  if (keep) {
    // A bit someone else set stays theirs to clear.
    if (m_editStyle & kStyleKeepSelection) {
      m_styleChanged = false;
      return;
    }
    m_editStyle |= kStyleKeepSelection;
    m_styleChanged = true;
    gtk_style_context_add_class(style, kKeepSelectionClass);
    if (!HasFocus()) Refresh();
  } else if (m_styleChanged) {
    m_editStyle &= ~kStyleKeepSelection;
    m_styleChanged = false;
    gtk_style_context_remove_class(style, kKeepSelectionClass);
    Refresh();
  }
}

void CTextView::OnFindNext(wxFindDialogEvent& event) {
  if (event.GetDialog() != m_findDialog) {
    event.Skip();
    return;
  }
  const int flags = event.GetFlags();
  m_matchCase = (flags & wxFR_MATCHCASE) != 0;
  m_searchDown = (flags & wxFR_DOWN) != 0;
  const wxString text = event.GetFindString();
  SetSearchBoxText(text);
  (void)Find(text, m_matchCase, m_searchDown, true);
}

void CTextView::OnFindClose(wxFindDialogEvent& event) {
  if (event.GetDialog() != m_findDialog) {
    event.Skip();
    return;
  }
  SetKeepSelection(false);
  m_findDialog->Destroy();
  m_findDialog = nullptr;
}

bool CTextView::TranslateAccelerator(const wxKeyEvent& event) {
  const int command = m_accelerators.GetCommand(event);
  if (command == -1) return false;
  wxWindow* top = wxGetTopLevelParent(this);
  if (!top) return false;
  // A key whose command is disabled is used up all the same, as a menu's key would be.
  wxUpdateUIEvent update(command);
  update.SetEventObject(top);
  top->GetEventHandler()->ProcessEvent(update);
  if (update.GetSetEnabled() && !update.GetEnabled()) return true;
  wxCommandEvent run(wxEVT_MENU, command);
  run.SetEventObject(top);
  top->GetEventHandler()->ProcessEvent(run);
  return true;
}

void CTextView::OnKeyDown(wxKeyEvent& event) {
  if (TranslateAccelerator(event)) return;
  const int key = event.GetKeyCode();
  if (event.GetModifiers() == wxMOD_CONTROL && (key == 'Z' || key == 'Y')) {
    if (key == 'Z') {
      UndoEdit();
    } else {
      RedoEdit();
    }
    return;
  }
  switch (key) {
    case WXK_LEFT:
    case WXK_RIGHT:
    case WXK_UP:
    case WXK_DOWN:
    case WXK_HOME:
    case WXK_END:
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
      // Moving the caret ends the run of typing that undo takes back in one step.
      m_history.Seal();
      break;
    default:
      break;
  }
  event.Skip();
}

void CTextView::OnLeftDown(wxMouseEvent& event) {
  m_history.Seal();
  event.Skip();
}

void CTextView::OnRightDown(wxMouseEvent&) {
  // The menu belongs to the release of the button; the toolkit's own menu on the press never
  // shows.
}

void CTextView::OnRightUp(wxMouseEvent& event) {
  SetFocus();
  wxMenu menu;
  menu.Append(kIdTextContextCopy, wxString::FromUTF8("クリップボードにコピー"));
  menu.Enable(kIdTextContextCopy, HasTextSelection());
  PopupMenu(&menu, event.GetPosition());
  event.Skip();
}
