#include "app/pageview/ui/CAllView.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>

#include <algorithm>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/CArrowGesture.h"
#include "app/pageview/CPenGesture.h"
#include "app/pageview/CTextBoxGesture.h"
#include "app/pageview/MarkRaster.h"
#include "app/pageview/PictureRender.h"
#include "app/pageview/ui/CTextBoxEdit.h"
#include "app/pageview/ui/TextBoxPaint.h"
#include "app/res/Resource.h"

namespace {

constexpr uint8_t kBackgroundGrey = 128;

}  // namespace

CAllView::CAllView(wxWindow* parent, int id, CClipwrenDoc* doc)
    // Command-numbered ids pass 32767, which window creation refuses; the id is set after.
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxBORDER_SUNKEN | wxHSCROLL | wxVSCROLL | wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE),
      m_doc(doc ? doc : CClipwrenDoc::Current()),
      m_tab(id == res::kIdCopyView ? kTabCopy : kTabPage) {
  SetId(id);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CAllView::OnPaint, this);
  Bind(wxEVT_SIZE, &CAllView::OnSize, this);
  Bind(wxEVT_SCROLLWIN_TOP, &CAllView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_BOTTOM, &CAllView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_LINEUP, &CAllView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_LINEDOWN, &CAllView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_PAGEUP, &CAllView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_PAGEDOWN, &CAllView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_THUMBTRACK, &CAllView::OnScroll, this);
  Bind(wxEVT_SCROLLWIN_THUMBRELEASE, &CAllView::OnScroll, this);
  Bind(wxEVT_MOUSEWHEEL, &CAllView::OnWheel, this);
  Bind(wxEVT_KEY_DOWN, &CAllView::OnKeyDown, this);
  Bind(wxEVT_SET_CURSOR, &CAllView::OnSetCursor, this);
  Bind(wxEVT_LEFT_DOWN, &CAllView::OnLeftDown, this);
  Bind(wxEVT_MOTION, &CAllView::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &CAllView::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CAllView::OnCaptureLost, this);
  Bind(wxEVT_CONTEXT_MENU, &CAllView::OnContextMenu, this);
  // The range commands act on this view's selection, so the view answers them itself.
  Bind(wxEVT_MENU, &CAllView::OnEraseRange, this, res::kIdEraseRange);
  Bind(wxEVT_MENU, &CAllView::OnCopyRange, this, res::kIdCopyRange);
  Bind(wxEVT_UPDATE_UI, &CAllView::OnUpdateRangeCommand, this, res::kIdEraseRange);
  Bind(wxEVT_UPDATE_UI, &CAllView::OnUpdateRangeCommand, this, res::kIdCopyRange);
  if (m_doc) {
    m_doc->AddView(this);
    m_doc->SetPageView(m_tab, this);
  }
  UpdateScrollbars();
}

CAllView::~CAllView() {
  if (m_doc) {
    // The picture tabs' text boxes are our children and die with us.
    if (CSBImage* image = Image()) {
      for (auto& box : image->TextBoxes()) box->SetWindow(nullptr);
      image->SetView(nullptr);
    }
    if (m_doc->PageViewOf(m_tab) == this) m_doc->SetPageView(m_tab, nullptr);
    m_doc->RemoveView(this);
  }
}

void CAllView::OnUpdate(CDocView*, const DocUpdate&) { Refresh(false); }

CSBImage* CAllView::Image() const { return m_doc ? m_doc->ImageOf(this) : nullptr; }

void CAllView::ResetView() {
  m_state.Reset();
  m_feedback.reset();
  m_focusedBox = nullptr;
  m_gesture.reset();
  if (HasCapture()) ReleaseMouse();
  UpdateScrollbars();
  // Until a new picture is built the size shown is nobody's.
  if (m_doc && m_doc->CurrentPageView() == this) SetPane(res::kIdPaneSize, wxString());
}

bool CAllView::BuildWorkingBitmap(const CxImage& picture) {
  const CViewState::BuildResult result = m_state.BuildWorkingBitmap(picture);
  if (result == CViewState::BuildResult::TooBig) {
    wxMessageBox(wxString::FromUTF8("画像が大き過ぎるため作成に失敗しました。"),
                 wxTheApp ? wxTheApp->GetAppDisplayName() : wxString(), wxOK, this);
  }
  if (result != CViewState::BuildResult::Ok) return false;
  // The pane shows the active picture tab's size; the other tab shows its own when chosen.
  if (m_doc && m_doc->CurrentPageView() == this)
    SetPane(res::kIdPaneSize, wxString::Format("%d X %d", picture.GetWidth(), picture.GetHeight()));
  return true;
}

void CAllView::ShowLoadedPicture() {
  const CxImage* wb = m_state.WorkingBitmap();
  m_state.SetExtent(wb ? static_cast<int>(wb->GetWidth()) : 0,
                    wb ? static_cast<int>(wb->GetHeight()) : 0);
  if (m_doc && m_doc->CurrentPageView() == this) m_doc->ShowZoom(wb ? 100 : 0);
  m_state.SetScrollPos({0, 0});
  UpdateScrollbars();
  Refresh(false);
}

void CAllView::ApplyZoom() {
  CSBImage* image = Image();
  m_state.ApplyZoom(image ? image->VersionIndex() : 0);
  const bool loaded = image && image->IsLoaded();
  SetPane(res::kIdPaneSize,
          loaded ? wxString::Format("%d X %d", m_state.ExtentWidth(), m_state.ExtentHeight())
                 : wxString());
  UpdateScrollbars();
  Refresh(false);
}

int CAllView::FitToWindow(int versionIndex) {
  // The window rectangle, border included.
  const wxSize size = GetSize();
  return m_state.FitToWindow(versionIndex, size.x, size.y);
}

void CAllView::SetPane(int paneId, const wxString& text) {
  if (m_doc && m_doc->Frame()) m_doc->Frame()->SetPaneText(paneId, text);
}

void CAllView::SendCommand(int id) {
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(this);
  // The view's own commands (erasing the range) first, then the document's.
  if (GetEventHandler()->ProcessEventLocally(event)) return;
  if (m_doc) m_doc->ProcessEvent(event);
}

CPoint CAllView::ToView(const wxPoint& client) const {
  const CPoint s = m_state.ScrollPos();
  return {client.x + s.x, client.y + s.y};
}

wxPoint CAllView::ToClient(CPoint view) const {
  const CPoint s = m_state.ScrollPos();
  return {view.x - s.x, view.y - s.y};
}

void CAllView::UpdateScrollbars() {
  const wxSize client = GetClientSize();
  const int w = m_state.ExtentWidth(), h = m_state.ExtentHeight();
  CPoint pos = m_state.ScrollPos();
  pos.x = std::clamp(pos.x, 0, std::max(0, w - client.x));
  pos.y = std::clamp(pos.y, 0, std::max(0, h - client.y));
  m_state.SetScrollPos(pos);
  SetScrollbar(wxHORIZONTAL, pos.x, client.x, w > client.x ? w : 0);
  SetScrollbar(wxVERTICAL, pos.y, client.y, h > client.y ? h : 0);
  PlaceTextBoxWindows();
}

void CAllView::ScrollTo(CPoint pos) {
  const wxSize client = GetClientSize();
  pos.x = std::clamp(pos.x, 0, std::max(0, m_state.ExtentWidth() - client.x));
  pos.y = std::clamp(pos.y, 0, std::max(0, m_state.ExtentHeight() - client.y));
  if (pos == m_state.ScrollPos()) return;
  m_state.SetScrollPos(pos);
  SetScrollPos(wxHORIZONTAL, pos.x);
  SetScrollPos(wxVERTICAL, pos.y);
  PlaceTextBoxWindows();
  Refresh(false);
}

void CAllView::PlaceTextBoxWindows() {
  CSBImage* image = Image();
  if (!image) return;
  for (auto& box : image->TextBoxes()) {
    auto* edit = dynamic_cast<CTextBoxEdit*>(box->Window());
    if (!edit) continue;
    const CRect r = box->Rect();
    const wxPoint at = ToClient(r.TopLeft());
    edit->SetSize(at.x, at.y, r.Width(), r.Height());
  }
}

void CAllView::OnSize(wxSizeEvent& event) {
  UpdateScrollbars();
  Refresh(false);
  event.Skip();
}

void CAllView::OnScroll(wxScrollWinEvent& event) {
  const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
  const wxSize client = GetClientSize();
  const int extent = horizontal ? m_state.ExtentWidth() : m_state.ExtentHeight();
  const int page = std::max(1, extent / 10);
  const int line = std::max(1, page / 10);
  const CPoint pos = m_state.ScrollPos();
  int v = horizontal ? pos.x : pos.y;
  const wxEventType type = event.GetEventType();
  if (type == wxEVT_SCROLLWIN_LINEUP)
    v -= line;
  else if (type == wxEVT_SCROLLWIN_LINEDOWN)
    v += line;
  else if (type == wxEVT_SCROLLWIN_PAGEUP)
    v -= page;
  else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
    v += page;
  else if (type == wxEVT_SCROLLWIN_TOP)
    v = 0;
  else if (type == wxEVT_SCROLLWIN_BOTTOM)
    v = extent;
  else
    v = event.GetPosition();
  (void)client;
  ScrollTo(horizontal ? CPoint{v, pos.y} : CPoint{pos.x, v});
}

void CAllView::OnWheel(wxMouseEvent& event) {
  const wxSize client = GetClientSize();
  const bool vertical = m_state.ExtentWidth() < client.x || m_state.ExtentHeight() > client.y;
  const bool hasBar =
      vertical ? m_state.ExtentHeight() > client.y : m_state.ExtentWidth() > client.x;
  if (!hasBar) {
    event.Skip();
    return;
  }
  // Positive rotation (away from the user) moves up or left, one pixel per unit.
  const int delta = static_cast<int16_t>(event.GetWheelRotation());
  const CPoint pos = m_state.ScrollPos();
  ScrollTo(vertical ? CPoint{pos.x, pos.y - delta} : CPoint{pos.x - delta, pos.y});
}

void CAllView::OnKeyDown(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  CSBImage* image = Image();
  if (event.ControlDown()) {
    if (key == 'Z')
      SendCommand(res::kIdShapeUndo);
    else if (key == 'Y')
      SendCommand(res::kIdShapeRedo);
  } else if (key == WXK_DELETE) {
    if (image && image->EditFlag() == 1) {
      SendCommand(image->Tool() == kToolRangeSelect ? res::kIdEraseRange : res::kIdShapeDelete);
    }
  } else if (key == WXK_F5) {
    SendCommand(res::kIdUndo);
  } else if ((key == '=' && event.ShiftDown()) || key == '+' || key == WXK_NUMPAD_ADD) {
    SendCommand(res::kIdZoomIn);
  } else if ((key == '-' && !event.ShiftDown()) || key == WXK_NUMPAD_SUBTRACT) {
    SendCommand(res::kIdZoomOut);
  } else if (key == WXK_UP || key == WXK_DOWN || key == WXK_LEFT || key == WXK_RIGHT) {
    const bool vertical = key == WXK_UP || key == WXK_DOWN;
    const wxSize client = GetClientSize();
    const bool hasBar =
        vertical ? m_state.ExtentHeight() > client.y : m_state.ExtentWidth() > client.x;
    if (hasBar) {
      const int extent = vertical ? m_state.ExtentHeight() : m_state.ExtentWidth();
      const int line = std::max(1, extent / 100);
      const CPoint pos = m_state.ScrollPos();
      const int step = (key == WXK_UP || key == WXK_LEFT) ? -line : line;
      ScrollTo(vertical ? CPoint{pos.x, pos.y + step} : CPoint{pos.x + step, pos.y});
    }
    // Arrow keys belong to the view: passed on, the toolkit would move the focus away.
    return;
  }
  event.Skip();
}

void CAllView::ComposeClient(std::vector<uint8_t>& rgb, int width, int height) const {
  rgb.assign(static_cast<size_t>(width) * height * 3, kBackgroundGrey);
  const PixelTarget target = TargetOfRgb(rgb.data(), width, height);
  const CxImage* wb = m_state.WorkingBitmap();
  CSBImage* image = Image();
  if (!wb) return;
  RenderVersion(*wb, m_state.Version(image ? image->VersionIndex() : 0), m_state.ScrollPos(),
                target);
  if (!image) return;
  ComposeRange(target);
  const CPoint s = m_state.ScrollPos();
  const ViewMapping map{1.0, static_cast<double>(-s.x), static_cast<double>(-s.y)};
  // In list order, as saving draws them, so the screen shows what a save writes. A text box
  // whose editor is open paints itself.
  for (const _SHAPE& shape : image->Shapes()) {
    if (shape.shapeType == kShapeStroke) {
      marks::DrawStroke(target, map, *static_cast<CStroke*>(shape.shape));
    } else if (shape.shapeType == kShapeArrow) {
      marks::DrawArrow(target, map, *static_cast<CArrow*>(shape.shape));
    } else if (shape.shapeType == kShapeTextBox && shape.shape->IsVisible()) {
      const auto* box = static_cast<const CTextBox*>(shape.shape);
      const auto* edit = dynamic_cast<const CTextBoxEdit*>(box->Window());
      if (!edit || !edit->IsShown())
        BurnBoxText(target, map, box->Text(), box->Rect(), TextBoxFont());
    }
  }
  // The mark being drawn is not in the shape list yet.
  if (const auto* pen = dynamic_cast<const CPenGesture*>(m_gesture.get()))
    marks::DrawStroke(target, map, pen->Stroke());
  if (const auto* arrow = dynamic_cast<const CArrowGesture*>(m_gesture.get()))
    marks::DrawArrow(target, map, arrow->Arrow());
  if (m_feedback) marks::InvertFrame(target, m_feedback->Offset(-s.x, -s.y), 2);
  if (const std::optional<CRect> crop = CropFeedback()) {
    // Inverted all over: a frame as thick as the rectangle.
    marks::InvertFrame(target, crop->Offset(-s.x, -s.y), std::max(crop->Width(), crop->Height()));
  }
}

void CAllView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxBitmap buffer = PaintBuffer();
  if (buffer.IsOk()) dc.DrawBitmap(buffer, 0, 0);
}

wxBitmap CAllView::PaintBuffer() const {
  const wxSize client = GetClientSize();
  if (client.x <= 0 || client.y <= 0) return wxBitmap();
  std::vector<uint8_t> rgb;
  ComposeClient(rgb, client.x, client.y);
  wxImage frame(client.x, client.y, rgb.data(), true);
  wxBitmap buffer(frame);
  {
    wxMemoryDC mem(buffer);
    CSBImage* image = Image();
    if (image) {
      // Selection frames: dotted, as the trackers draw them.
      mem.SetBrush(*wxTRANSPARENT_BRUSH);
      mem.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
      for (const _SHAPE& shape : image->Shapes()) {
        if (!shape.shape->IsVisible() || !shape.shape->IsSelected()) continue;
        const CShapeRectTracker tracker = shape.shape->Tracker();
        const CRect r = tracker.Rect();
        const wxPoint at = ToClient(r.TopLeft());
        mem.SetBrush(*wxTRANSPARENT_BRUSH);
        mem.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
        mem.DrawRectangle(at.x, at.y, std::max(1, r.Width()), std::max(1, r.Height()));
        if (!tracker.HasHandles()) continue;
        mem.SetBrush(*wxBLACK_BRUSH);
        mem.SetPen(*wxTRANSPARENT_PEN);
        for (auto h : {CShapeRectTracker::Hit::TopLeft, CShapeRectTracker::Hit::TopRight,
                       CShapeRectTracker::Hit::BottomRight, CShapeRectTracker::Hit::BottomLeft,
                       CShapeRectTracker::Hit::Top, CShapeRectTracker::Hit::Right,
                       CShapeRectTracker::Hit::Bottom, CShapeRectTracker::Hit::Left}) {
          const CRect hr = tracker.HandleRect(h);
          const wxPoint hat = ToClient(hr.TopLeft());
          mem.DrawRectangle(hat.x, hat.y, hr.Width(), hr.Height());
        }
      }
    }
    DrawRangeFrame(mem);
    if (const auto* box = dynamic_cast<const CTextBoxGesture*>(m_gesture.get())) {
      // The rubber band of a text box being dragged out.
      mem.SetBrush(*wxTRANSPARENT_BRUSH);
      mem.SetPen(*wxBLACK_PEN);
      const CRect r = box->Band();
      const wxPoint at = ToClient(r.TopLeft());
      mem.DrawRectangle(at.x, at.y, std::max(1, r.Width()), std::max(1, r.Height()));
    }
  }
  return buffer;
}

void CAllView::DrawTextBoxText(const PixelTarget& target, const ViewMapping& map,
                               const CTextBox& box) {
  BurnBoxText(target, map, box.Text(), box.Rect(), TextBoxFont());
}
