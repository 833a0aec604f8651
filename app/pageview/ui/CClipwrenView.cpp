#include "app/pageview/ui/CClipwrenView.h"

#include <wx/sizer.h>

#include <utility>

#include "app/document/ui/CClipwrenDoc.h"

namespace {
constexpr int kTabCtrlId = 1014;
}

CClipwrenView::CClipwrenView(wxWindow* parent, CClipwrenDoc* doc)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE),
      m_doc(doc ? doc : CClipwrenDoc::Current()) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  m_tabs = new CSBTabCtrl(this, kTabCtrlId, m_doc);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(m_tabs, 1, wxEXPAND);
  SetSizer(sizer);
  if (m_doc) m_doc->AddView(this);
  // The focus that F6 or Tab brings to the pane goes on to the tab that shows, so the keys
  // scroll the page or edit the text at once.
  Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent&) {
    wxWindow* view = m_tabs->Current() >= 0 ? m_tabs->View(m_tabs->Current()) : nullptr;
    if (view && view->IsShown()) view->SetFocus();
  });
  // Ctrl+Page Down and Ctrl+Page Up go to the next and the previous tab from anywhere in the
  // pane, as in other tabbed windows, and the keys then reach the tab that shows.
  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    const bool down = key == WXK_PAGEDOWN || key == WXK_NUMPAD_PAGEDOWN;
    const bool up = key == WXK_PAGEUP || key == WXK_NUMPAD_PAGEUP;
    if (event.GetModifiers() != wxMOD_CONTROL || (!down && !up)) {
      event.Skip();
      return;
    }
    if (m_tabs->SelectNeighbourTab(down ? +1 : -1)) {
      if (wxWindow* view = m_tabs->View(m_tabs->Current()); view && view->IsShown())
        view->SetFocus();
    }
  });
}

CClipwrenView::~CClipwrenView() {
  if (m_doc) m_doc->RemoveView(this);
}

bool CClipwrenView::OpenScrap(const std::string& folder) {
  if (!m_doc) return false;
  // Unsaved changes that could not be saved keep the open scrap where it is.
  if (!m_doc->OpenScrap(folder)) return false;
  m_opened = true;
  // Selection runs against the buttons of the previous scrap, so a tab the new scrap lacks
  // passes on to the next available one before the buttons change.
  m_tabs->SelectTab(m_tabs->Current());
  m_tabs->LayoutButtons();
  return true;
}

void CClipwrenView::OnDocumentGone() {
  m_doc = nullptr;
  m_tabs->ForgetDocument();
}

void CClipwrenView::OnUpdate(CDocView*, const DocUpdate& update) {
  if (update.hint == DocHint::kCaretMoved && update.caret) {
    const std::string folder = update.caret->CaretPath();
    const std::string returning = std::exchange(m_returningTo, std::string());
    if (!returning.empty() && folder == returning) return;  // the open scrap, still open
    if (OpenScrap(folder) || !m_doc) return;
    // The scrap with the unsaved changes stays open, so the tree goes back to it once this
    // announcement is over.
    m_returningTo = m_doc->Folder();
    ICaretPathSource* tree = update.caret;
    CallAfter([tree, back = m_returningTo] { tree->ReturnCaretTo(back); });
  } else if (update.hint == DocHint::kTabsChanged) {
    m_tabs->LayoutButtons();
    m_tabs->SelectTab(update.tab);
  }
}
