#include <wx/clipbrd.h>
#include <wx/dc.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include <algorithm>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/CCropGesture.h"
#include "app/pageview/CErasePatchStore.h"
#include "app/pageview/ui/CAllView.h"
#include "app/res/Resource.h"
#include "app/res/ui/MenuBuilder.h"

// The range tool and crop mode of the page view: their drags, the floating pixels and frame
// they paint, the erase and copy commands and the picture's context menu.

namespace {

const char kTooBig[] = "画像が大き過ぎるため作成に失敗しました。";

// A 24-bit picture as a toolkit image (top-down RGB).
wxImage ToImage(const CxImage& picture) {
  const int w = static_cast<int>(picture.GetWidth()), h = static_cast<int>(picture.GetHeight());
  wxImage image(w, h, false);
  if (!image.IsOk()) return image;
  unsigned char* out = image.GetData();
  for (int y = 0; y < h; ++y) {
    const uint8_t* in = picture.GetBits(static_cast<uint32_t>(h - 1 - y));
    for (int x = 0; x < w; ++x, out += 3) {
      out[0] = in[3 * x + 2];
      out[1] = in[3 * x + 1];
      out[2] = in[3 * x];
    }
  }
  return image;
}

}  // namespace

void CAllView::BeginRangeOrCrop(CSBImage& image, CPoint view) {
  if (image.EditFlag() != 1) {
    m_gesture = image.BeginCropDrag(view);
  } else {
    CSBImage::LiftResult lift = CSBImage::LiftResult::Nothing;
    m_gesture = image.BeginRangeDrag(view, &lift);
    if (lift == CSBImage::LiftResult::TooBig) {
      wxMessageBox(wxString::FromUTF8(kTooBig),
                   wxTheApp ? wxTheApp->GetAppDisplayName() : wxString(), wxOK, this);
    }
    // A lift erases the range: the picture has changed.
    if (m_gesture && image.Selection().IsFloating() && m_doc) m_doc->SetModifiedFlag();
  }
  if (m_gesture) StartGesture(std::move(m_gesture), view);
}

CPoint CAllView::ScrollTowards(CPoint view) {
  const wxSize client = GetClientSize();
  const wxPoint at = ToClient(view);
  const int lineX = std::max(1, m_state.ExtentWidth() / 100);
  const int lineY = std::max(1, m_state.ExtentHeight() / 100);
  const int dx = at.x < 0 ? -lineX : at.x >= client.x ? lineX : 0;
  const int dy = at.y < 0 ? -lineY : at.y >= client.y ? lineY : 0;
  if (dx == 0 && dy == 0) return view;
  const CPoint s = m_state.ScrollPos();
  ScrollTo({s.x + dx, s.y + dy});
  const wxPoint edge{std::clamp(at.x, 0, std::max(0, client.x - 1)),
                     std::clamp(at.y, 0, std::max(0, client.y - 1))};
  WarpPointer(edge.x, edge.y);
  return ToView(edge);
}

CCropGesture* CAllView::CropDrag() const { return dynamic_cast<CCropGesture*>(m_gesture.get()); }

void CAllView::MoveCrop(CCropGesture& crop, wxPoint client) {
  const CPoint scrollBefore = m_state.ScrollPos();
  const CPoint view = ScrollTowards(KeepInPicture(ToView(client)));
  crop.SetLastPoint(view);
  crop.Move(view);
  const CRect r = crop.Rect();
  SetPane(res::kIdPaneSelection, wxString::Format("%d X %d", r.Width(), r.Height()));
  if (!(m_state.ScrollPos() == scrollBefore)) return;  // the scroll repaints everything
  for (const CRect& strip : crop.ChangedStrips()) {
    const wxPoint at = ToClient(strip.TopLeft());
    RefreshRect(wxRect(at.x, at.y, strip.Width(), strip.Height()), false);
  }
}

void CAllView::EndCrop(bool cropped) {
  SetPane(res::kIdPaneSelection, wxString());
  if (cropped && m_doc) {
    m_doc->SetModifiedFlag();
    if (CSBImage* image = Image()) m_doc->ShowZoom(image->Zoom());
  }
}

std::optional<CRect> CAllView::CropFeedback() const {
  const CCropGesture* crop = CropDrag();
  if (!crop) return std::nullopt;
  const CRect r = crop->Rect();
  return r.IsEmpty() ? std::nullopt : std::optional<CRect>(r);
}

void CAllView::ComposeRange(const PixelTarget& target) const {
  CSBImage* image = Image();
  if (!image || image->EditFlag() != 1 || image->Tool() != kToolRangeSelect) return;
  const CSelectionRect& sel = image->Selection();
  if (!sel.IsFloating()) return;
  const CPoint s = m_state.ScrollPos();
  pixels::Stretch(sel.Lifted(), target, sel.Rect().Offset(-s.x, -s.y));
}

void CAllView::DrawRangeFrame(wxDC& dc) const {
  CSBImage* image = Image();
  if (!image || image->EditFlag() != 1 || image->Tool() != kToolRangeSelect) return;
  const CSelectionRect& sel = image->Selection();
  if (sel.IsEmpty()) return;
  const CShapeRectTracker tracker = sel.Tracker();
  const CRect r = tracker.Rect();
  const wxPoint at = ToClient(r.TopLeft());
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
  dc.DrawRectangle(at.x, at.y, std::max(1, r.Width()), std::max(1, r.Height()));
  dc.SetBrush(*wxBLACK_BRUSH);
  dc.SetPen(*wxTRANSPARENT_PEN);
  using Hit = CShapeRectTracker::Hit;
  for (Hit h : {Hit::TopLeft, Hit::TopRight, Hit::BottomRight, Hit::BottomLeft, Hit::Top,
                Hit::Right, Hit::Bottom, Hit::Left}) {
    const CRect hr = tracker.HandleRect(h);
    const wxPoint hat = ToClient(hr.TopLeft());
    dc.DrawRectangle(hat.x, hat.y, hr.Width(), hr.Height());
  }
}

bool CAllView::CopySelection() {
  CSBImage* image = Image();
  if (!image || image->Selection().IsEmpty()) return false;
  // What the screen shows under the selection: zoomed, with marks and floating pixels.
  const std::optional<CxImage> shown = image->ComposeView(image->Selection().Rect());
  if (!shown) return false;
  const wxImage picture = ToImage(*shown);
  if (!picture.IsOk()) return false;
  // Other programs ask for the picture as PNG, which the toolkit encodes only through its
  // PNG image handler; without it they get nothing.
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxClipboard* clipboard = wxTheClipboard;
  if (!clipboard->Open()) return false;
  clipboard->Clear();
  const bool done = clipboard->SetData(new wxBitmapDataObject(wxBitmap(picture)));
  clipboard->Close();
  return done;
}

void CAllView::OnEraseRange(wxCommandEvent&) {
  CSBImage* image = Image();
  if (!image || !image->IsLoaded() || image->Tool() != kToolRangeSelect) return;
  if (image->EraseSelection() && m_doc) m_doc->SetModifiedFlag();
  Refresh(false);
}

void CAllView::OnCopyRange(wxCommandEvent&) { (void)CopySelection(); }

void CAllView::OnUpdateRangeCommand(wxUpdateUIEvent& event) {
  const CSBImage* image = Image();
  event.Enable(image && image->IsLoaded() && image->EditFlag() == 1 &&
               image->Tool() == kToolRangeSelect && !image->Selection().IsEmpty());
}

void CAllView::OnContextMenu(wxContextMenuEvent& event) {
  CSBImage* image = Image();
  wxPoint client = event.GetPosition();
  // From the keyboard there is no pointer position; the menu then opens at the pointer.
  if (client == wxDefaultPosition)
    client = ScreenToClient(wxGetMousePosition());
  else
    client = ScreenToClient(client);
  if (!image || image->EditFlag() != 1 || image->Tool() != kToolRangeSelect ||
      image->Selection().IsEmpty() || !image->Selection().Rect().Contains(ToView(client))) {
    event.Skip();
    return;
  }
  std::unique_ptr<wxMenu> menu(res::ui::BuildPopup(res::kPopupPicture));
  if (menu) PopupMenu(menu.get(), client);
}
