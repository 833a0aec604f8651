#include "app/pageview/ui/CSBTabCtrl.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ui/CAllView.h"
#include "app/res/Resource.h"

namespace {

struct TabDef {
  int id;
  const char* caption;
  int normal, down, over;
};
constexpr TabDef kTabDefs[4] = {
    {res::kIdTabPage, "全体", res::kSkinTabPageNormal, res::kSkinTabPageDown,
     res::kSkinTabPageOver},
    {res::kIdTabCopy, "コピー", res::kSkinTabCopyNormal, res::kSkinTabCopyDown,
     res::kSkinTabCopyOver},
    {res::kIdTabText, "テキスト", res::kSkinTabTextNormal, res::kSkinTabTextDown,
     res::kSkinTabTextOver},
    {res::kIdTabPictures, "画像", res::kSkinTabPicturesNormal, res::kSkinTabPicturesDown,
     res::kSkinTabPicturesOver},
};
const wxColour kGrey(128, 128, 128);

}  // namespace

CSBTabCtrl::CSBTabCtrl(wxWindow* parent, int id, CClipwrenDoc* doc)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE),
      m_doc(doc ? doc : CClipwrenDoc::Current()) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  for (int i = 0; i < 4; ++i) {
    const TabDef& t = kTabDefs[i];
    const wxString caption = wxString::FromUTF8(t.caption);
    auto* button = new CxSkinButton(this, t.id, caption, wxPoint(3 + i * kButtonWidth, 3),
                                    wxSize(kButtonWidth, kButtonHeight));
    // Over, focus: the same picture; no disabled picture; the common tab mask.
    button->SetSkin(t.normal, t.down, t.over, 0, t.over, res::kSkinTabMask,
                    CxSkinButton::kNaturalSize, false, 0);
    button->SetToolTipText(caption);
    button->SetFont(button->GetFont().Bold());
    button->SetTextColor(wxColour(40, 48, 56));
    button->Hide();
    m_buttons[static_cast<size_t>(i)] = button;
    Bind(wxEVT_BUTTON, &CSBTabCtrl::OnButton, this, t.id);
  }
  Bind(wxEVT_PAINT, &CSBTabCtrl::OnPaint, this);
  Bind(wxEVT_SIZE, &CSBTabCtrl::OnSize, this);
}

bool CSBTabCtrl::RegisterView(int index, wxWindow* view) {
  if (!view || index < 0 || index > 3) return false;
  m_views[static_cast<size_t>(index)] = view;
  if (view->GetParent() != this) view->Reparent(this);
  const wxSize size = GetClientSize();
  view->SetSize(0, kStripHeight, size.x, std::max(0, size.y - kStripHeight));
  view->Hide();
  return true;
}

bool CSBTabCtrl::IsAvailable(int index) const {
  if (!m_doc) return index == 0;
  switch (index) {
    case 0: return m_doc->PageImage() && m_doc->PageImage()->IsLoaded();
    case 1: return m_doc->HasCopy() && m_doc->CopyImage() && m_doc->CopyImage()->IsLoaded();
    case 2: return m_doc->HasText();
    case 3: return m_doc->PicturesCount() > 0;
    default: return false;
  }
}

void CSBTabCtrl::LayoutButtons() {
  int x = 3;
  for (int i = 0; i < 4; ++i) {
    CxSkinButton* button = m_buttons[static_cast<size_t>(i)];
    const bool show = i == 1 ? (m_doc && m_doc->HasCopy()) : IsAvailable(i);
    if (show) {
      button->SetSize(x, 3, kButtonWidth, kButtonHeight);
      x += kButtonWidth;
    }
    button->Show(show);
  }
  Refresh(false);
}

void CSBTabCtrl::SelectTab(int index) {
  if (index < 0 || index > 3 || !m_buttons[static_cast<size_t>(index)]->IsShown()) index = 0;
  int chosen = 0;
  for (int i = index; i < 4; ++i) {
    if (IsAvailable(i)) {
      chosen = i;
      break;
    }
  }
  m_current = chosen;
  if (m_doc) m_doc->SetActiveTab(chosen);
  for (int i = 0; i < 4; ++i) {
    CxSkinButton* button = m_buttons[static_cast<size_t>(i)];
    button->SetButtonState(i == chosen);
    button->SetHighlighted(i == chosen);
  }
  for (int i = 0; i < 4; ++i) {
    if (wxWindow* view = m_views[static_cast<size_t>(i)]) view->Show(i == chosen);
  }
  if (m_doc && m_doc->Frame()) m_doc->Frame()->OnActiveTabChanged(chosen, chosen == kTabText);
  if (m_doc && (chosen == kTabPage || chosen == kTabCopy)) {
    CSBImage* image = chosen == kTabCopy ? m_doc->CopyImage() : m_doc->PageImage();
    if (image && image->IsLoaded()) {
      m_doc->SetCurrentPictureTab(chosen);
      if (IPageView* view = m_doc->PageViewOf(chosen)) view->ApplyZoom();
    } else {
      if (wxWindow* view = m_views[static_cast<size_t>(chosen)]) view->Hide();
      // A picture that could not be decoded has no size to show.
      if (m_doc->Frame()) m_doc->Frame()->SetPaneText(res::kIdPaneSize, wxString());
    }
  }
  if (m_doc && chosen == kTabPictures) {
    // Showing the tab fills its list; what it finds decides whether the scrap keeps the tab.
    auto* pictures = dynamic_cast<IPicturesPane*>(m_views[kTabPictures]);
    const bool shown = pictures && pictures->ApplyViewMode();
    m_doc->SetPicturesCount(shown ? 1 : 0);
    if (!shown && m_views[kTabPictures]) m_views[kTabPictures]->Hide();
    LayoutButtons();
  }
  if (m_doc) {
    const CSBImage* image = m_doc->CurrentImage();
    m_doc->ShowZoom(image ? image->Zoom() : 100);
  }
  Refresh(false);
}

bool CSBTabCtrl::SelectNeighbourTab(int step) {
  const int from = m_current;
  for (int n = 1; n < 4; ++n) {
    const int i = ((from + (step < 0 ? -n : n)) % 4 + 4) % 4;
    if (m_buttons[static_cast<size_t>(i)]->IsShown() && IsAvailable(i)) {
      SelectTab(i);
      return m_current != from;
    }
  }
  return false;
}

void CSBTabCtrl::OnButton(wxCommandEvent& event) {
  for (int i = 0; i < 4; ++i) {
    if (kTabDefs[i].id == event.GetId()) SelectTab(i);
  }
}

void CSBTabCtrl::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(kGrey));
  dc.Clear();
}

void CSBTabCtrl::OnSize(wxSizeEvent& event) {
  const wxSize size = GetClientSize();
  for (wxWindow* view : m_views) {
    if (view) view->SetSize(0, kStripHeight, size.x, std::max(0, size.y - kStripHeight));
  }
  event.Skip();
}

wxBitmap CSBTabCtrl::Snapshot() const {
  const wxSize size = GetClientSize();
  wxBitmap shot(std::max(1, size.x), std::max(1, size.y), 24);
  wxMemoryDC dc(shot);
  dc.SetBackground(wxBrush(kGrey));
  dc.Clear();
  for (CxSkinButton* button : m_buttons) {
    if (!button->IsShown()) continue;
    wxBitmap face(button->GetSize(), 24);
    {
      wxMemoryDC buttonDc(face);
      buttonDc.SetBackground(wxBrush(kGrey));
      buttonDc.Clear();
      button->Render(buttonDc);
    }
    dc.DrawBitmap(face, button->GetPosition());
  }
  if (auto* view = dynamic_cast<CAllView*>(m_views[static_cast<size_t>(m_current)])) {
    const wxBitmap picture = view->PaintBuffer();
    if (picture.IsOk()) dc.DrawBitmap(picture, view->GetPosition() + view->GetClientAreaOrigin());
  }
  return shot;
}
