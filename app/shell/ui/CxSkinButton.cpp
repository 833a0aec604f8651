#include "app/shell/ui/CxSkinButton.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>
#include <vector>

#include "app/res/ui/ResArt.h"

wxDEFINE_EVENT(EVT_SKIN_GROUP_UNCHECK, wxCommandEvent);
wxIMPLEMENT_DYNAMIC_CLASS(CxSkinButton, wxControl);

namespace {

wxColour Sys(wxSystemColour c) { return wxSystemSettings::GetColour(c); }

// A two-line 3-D edge: raised looks lit from the top left, sunken the reverse.
void DrawEdge(wxDC& dc, const wxRect& r, bool raised) {
  const wxColour light = Sys(wxSYS_COLOUR_BTNHIGHLIGHT), dark = Sys(wxSYS_COLOUR_3DDKSHADOW),
                 shadow = Sys(wxSYS_COLOUR_BTNSHADOW), face = Sys(wxSYS_COLOUR_3DLIGHT);
  const auto frame = [&](const wxRect& f, const wxColour& topLeft, const wxColour& bottomRight) {
    dc.SetPen(wxPen(topLeft));
    dc.DrawLine(f.GetLeft(), f.GetBottom(), f.GetLeft(), f.GetTop());
    dc.DrawLine(f.GetLeft(), f.GetTop(), f.GetRight(), f.GetTop());
    dc.SetPen(wxPen(bottomRight));
    dc.DrawLine(f.GetRight(), f.GetTop(), f.GetRight(), f.GetBottom());
    dc.DrawLine(f.GetRight(), f.GetBottom(), f.GetLeft() - 1, f.GetBottom());
  };
  if (raised) {
    frame(r, light, dark);
    frame(wxRect(r).Deflate(1), face, shadow);
  } else {
    frame(r, shadow, light);
    frame(wxRect(r).Deflate(1), dark, face);
  }
}

}  // namespace

CxSkinButton::CxSkinButton(wxWindow* parent, wxWindowID id, const wxString& caption,
                           const wxPoint& pos, const wxSize& size, Behaviour behaviour,
                           long style) {
  Create(parent, id, caption, pos, size, behaviour, style);
}

bool CxSkinButton::Create(wxWindow* parent, wxWindowID id, const wxString& caption,
                          const wxPoint& pos, const wxSize& size, Behaviour behaviour, long style) {
  // Outside a mask's shape the parent shows through where the toolkit can do that.
  // The question goes to the parent: this window does not exist yet.
  SetBackgroundStyle(parent && parent->IsTransparentBackgroundSupported() ? wxBG_STYLE_TRANSPARENT
                                                                          : wxBG_STYLE_PAINT);
  if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE | wxWANTS_CHARS))
    return false;
  SetLabel(caption);
  m_behaviour = behaviour;
  m_textColour = Sys(wxSYS_COLOUR_BTNTEXT);
  if (size == wxDefaultSize) SetInitialSize(size);

  Bind(wxEVT_PAINT, &CxSkinButton::OnPaint, this);
  Bind(wxEVT_MOTION, &CxSkinButton::OnMotion, this);
  Bind(wxEVT_LEAVE_WINDOW, &CxSkinButton::OnLeave, this);
  Bind(wxEVT_LEFT_DOWN, &CxSkinButton::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &CxSkinButton::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &CxSkinButton::OnLeftUp, this);
  Bind(wxEVT_KEY_UP, &CxSkinButton::OnKeyUp, this);
  Bind(wxEVT_KILL_FOCUS, &CxSkinButton::OnKillFocus, this);
  Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
    Refresh();
    e.Skip();
  });
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CxSkinButton::OnCaptureLost, this);
  Bind(EVT_SKIN_GROUP_UNCHECK, &CxSkinButton::OnGroupUncheck, this);
  return true;
}

void CxSkinButton::SetSkin(int normal, int pressed, int hover, int disabled, int focus, int mask,
                           int drawMode, bool border, int focusMargin) {
  const auto load = [](int id) { return id ? res::ui::ResourceBitmap(id) : wxNullBitmap; };
  SetSkin(load(normal), load(pressed), load(hover), load(disabled), load(focus), load(mask),
          drawMode, border, focusMargin);
}

void CxSkinButton::SetSkin(const wxBitmap& normal, const wxBitmap& pressed, const wxBitmap& hover,
                           const wxBitmap& disabled, const wxBitmap& focus, const wxBitmap& mask,
                           int drawMode, bool border, int focusMargin) {
  m_normal = normal;
  m_pressedPic = pressed;
  m_hover = hover;
  m_disabled = disabled.IsOk() ? disabled : normal;
  m_focus = focus;
  m_mask = mask;
  m_region.Clear();
  m_drawMode = std::clamp(drawMode, 0, 2);
  m_border = border;
  m_focusMargin = std::max(focusMargin, 0);
  ApplyMask();
  Refresh();
}

void CxSkinButton::ApplyMask() {
  if (!m_mask.IsOk()) return;
  m_region = RegionFromMask(m_mask.ConvertToImage());
  if (m_drawMode == kNaturalSize) SetSize(m_mask.GetWidth(), m_mask.GetHeight());
}

wxRegion CxSkinButton::RegionFromMask(const wxImage& mask) {
  wxRegion region;
  if (!mask.IsOk()) return region;
  const int w = mask.GetWidth(), h = mask.GetHeight();
  const unsigned char* rgb = mask.GetData();
  for (int y = 0; y < h; ++y) {
    int x = 0;
    while (x < w) {
      const auto isWhite = [&](int px) {
        const unsigned char* p = rgb + (static_cast<std::size_t>(y) * w + px) * 3;
        return p[0] == 255 && p[1] == 255 && p[2] == 255;
      };
      while (x < w && isWhite(x)) ++x;
      const int start = x;
      while (x < w && !isWhite(x)) ++x;
      if (x > start) region.Union(start, y, x - start, 1);
    }
  }
  return region;
}

bool CxSkinButton::HitTest(const wxPoint& client) const {
  if (!GetClientRect().Contains(client)) return false;
  return m_region.IsEmpty() || m_region.Contains(client) == wxInRegion;
}

wxColour CxSkinButton::SetTextColor(const wxColour& colour) {
  const wxColour previous = m_textColour;
  m_textColour = colour;
  Refresh();
  return previous;
}

void CxSkinButton::SetToolTipText(const wxString& text) { SetToolTip(text); }

void CxSkinButton::SetHighlighted(int flag) {
  m_highlighted = (flag & 0xFF) != 0;
  Refresh();
}

void CxSkinButton::SetButtonState(bool pushed) {
  if (m_shownPushed == pushed) return;
  m_shownPushed = pushed;
  Refresh();
}

void CxSkinButton::SetCheck(int check) {
  if (m_behaviour == kPushButton) {
    m_checked = false;
    return;
  }
  m_checked = check != 0;
  if (m_checked && m_behaviour == kRadioButton) UncheckGroupSiblings();
  Refresh();
}

void CxSkinButton::UncheckGroupSiblings() {
  wxWindow* parent = GetParent();
  if (!parent) return;
  // The parent's skinned buttons in creation order, as a dialog's tab order lists them.
  std::vector<CxSkinButton*> buttons;
  for (wxWindow* w : parent->GetChildren()) {
    if (auto* button = dynamic_cast<CxSkinButton*>(w)) buttons.push_back(button);
  }
  const auto self = std::find(buttons.begin(), buttons.end(), this);
  if (self == buttons.end()) return;
  // From the nearest group start at or before this button up to the next group start.
  auto first = self;
  while (!(*first)->IsGroupStart() && first != buttons.begin()) --first;
  for (auto it = first; it != buttons.end(); ++it) {
    CxSkinButton* member = *it;
    if (it != first && member->IsGroupStart()) break;
    if (member == this || member->GetBehaviour() != kRadioButton) continue;
    auto* event = new wxCommandEvent(EVT_SKIN_GROUP_UNCHECK, member->GetId());
    event->SetEventObject(this);
    event->StopPropagation();
    wxQueueEvent(member, event);
  }
}

void CxSkinButton::OnGroupUncheck(wxCommandEvent&) {
  m_checked = false;
  Refresh();
}

void CxSkinButton::ChangeCheckAsClicked() {
  if (m_behaviour == kCheckBox)
    SetCheck(m_checked ? 0 : 1);
  else if (m_behaviour == kRadioButton)
    SetCheck(1);
}

void CxSkinButton::SendClick() {
  wxCommandEvent click(wxEVT_BUTTON, GetId());
  click.SetEventObject(this);
  click.SetInt(GetCheck());
  ProcessWindowEvent(click);
}

bool CxSkinButton::Enable(bool enable) {
  const bool changed = wxControl::Enable(enable);
  Refresh();
  return changed;
}

wxSize CxSkinButton::DoGetBestSize() const {
  if (m_mask.IsOk()) return m_mask.GetSize();
  if (m_normal.IsOk()) return m_normal.GetSize();
  const wxSize text = GetTextExtent(GetLabel());
  return {text.x + 16, text.y + 10};
}

void CxSkinButton::DrawPicture(wxDC& dc, const wxBitmap& picture, const wxRect& r) const {
  if (!picture.IsOk()) return;
  const bool stretch = m_drawMode == kStretch && picture.GetSize() != r.GetSize();
  if (m_mask.IsOk()) {
    // Pixels where the mask is white keep what is already there.
    wxImage image = picture.ConvertToImage();
    wxImage mask = m_mask.ConvertToImage();
    if (stretch) {
      image.Rescale(r.width, r.height, wxIMAGE_QUALITY_HIGH);
      mask.Rescale(r.width, r.height, wxIMAGE_QUALITY_NORMAL);
    } else if (mask.GetSize() != image.GetSize()) {
      mask.Resize(image.GetSize(), wxPoint(0, 0), 255, 255, 255);
    }
    wxBitmap masked(image);
    masked.SetMask(new wxMask(wxBitmap(mask), *wxWHITE));
    dc.DrawBitmap(masked, r.GetTopLeft(), true);
    return;
  }
  switch (m_drawMode) {
    case kTile: {
      wxDCClipper clip(dc, r);
      for (int y = r.y; y < r.GetBottom() + 1; y += picture.GetHeight())
        for (int x = r.x; x < r.GetRight() + 1; x += picture.GetWidth())
          dc.DrawBitmap(picture, x, y, true);
      break;
    }
    case kStretch:
      if (stretch) {
        wxImage image = picture.ConvertToImage();
        image.Rescale(r.width, r.height, wxIMAGE_QUALITY_HIGH);
        dc.DrawBitmap(wxBitmap(image), r.GetTopLeft(), true);
        break;
      }
      [[fallthrough]];
    default:
      dc.DrawBitmap(picture, r.GetTopLeft(), true);
  }
}

void CxSkinButton::DrawCaption(wxDC& dc, wxRect textRect, const wxColour& colour) const {
  dc.SetTextForeground(colour);
  dc.DrawLabel(GetLabel(), textRect, wxALIGN_CENTER);
}

void CxSkinButton::Render(wxDC& dc) {
  const wxRect r = GetClientRect();
  dc.SetFont(GetFont());
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  if (GetBackgroundStyle() != wxBG_STYLE_TRANSPARENT && !m_region.IsEmpty()) {
    // Without see-through windows, the parent's colour stands in outside the shape.
    dc.SetBrush(wxBrush(GetParent()->GetBackgroundColour()));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(r);
  }
  const auto fillFace = [&] {
    dc.SetBrush(wxBrush(Sys(wxSYS_COLOUR_BTNFACE)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    if (m_region.IsEmpty()) {
      dc.DrawRectangle(r);
    } else {
      dc.SetDeviceClippingRegion(m_region);
      dc.DrawRectangle(r);
      dc.DestroyClippingRegion();
    }
  };
  wxRect text = r;
  text.x += m_focusMargin + 2;
  text.width -= 2 * (m_focusMargin + 2);

  if (!IsEnabled()) {
    if (m_disabled.IsOk())
      DrawPicture(dc, m_disabled, r);
    else
      fillFace();
    if (m_border) DrawEdge(dc, r, true);
    DrawCaption(dc, text, Sys(wxSYS_COLOUR_BTNHIGHLIGHT));
    text.Offset(-1, -1);
    DrawCaption(dc, text, Sys(wxSYS_COLOUR_GRAYTEXT));
    return;
  }
  const bool focused = HasFocus();
  if (m_shownPushed || m_checked) {
    if (m_pressedPic.IsOk())
      DrawPicture(dc, m_pressedPic, r);
    else
      fillFace();
    if (m_highlighted) DrawPicture(dc, m_focus, r);
    text.Offset(1, 1);
    if (m_border) DrawEdge(dc, r, false);
  } else {
    if (m_normal.IsOk()) {
      const wxBitmap& picture = (m_hovering && m_hover.IsOk()) ? m_hover
                                : (focused && m_focus.IsOk())  ? m_focus
                                                               : m_normal;
      DrawPicture(dc, picture, r);
    } else {
      fillFace();
    }
    if (m_highlighted) DrawPicture(dc, m_focus, r);
    if (m_border) DrawEdge(dc, r, true);
  }
  if (focused && m_focusMargin > 0) {
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(m_textColour, 1, wxPENSTYLE_DOT));
    dc.DrawRectangle(wxRect(r).Deflate(m_focusMargin));
  }
  DrawCaption(dc, text, m_textColour);
}

void CxSkinButton::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  Render(dc);
}

void CxSkinButton::OnMotion(wxMouseEvent& event) {
  const bool inside = HitTest(event.GetPosition());
  if (m_pressed && HasCapture()) {
    SetButtonState(inside);
  } else if (!m_hovering && inside) {
    m_hovering = true;
    Refresh();
  } else if (m_hovering && !inside) {
    // Outside a mask's shape counts as having left the button.
    m_hovering = false;
    Refresh();
  }
  event.Skip();
}

void CxSkinButton::OnLeave(wxMouseEvent& event) {
  if (m_hovering) {
    m_hovering = false;
    Refresh();
  }
  event.Skip();
}

void CxSkinButton::OnLeftDown(wxMouseEvent& event) {
  if (!HitTest(event.GetPosition())) return;  // outside the shape the button is not there
  m_hovering = false;
  if (CanAcceptFocus()) SetFocus();
  if (!HasCapture()) CaptureMouse();
  m_pressed = true;
  SetButtonState(true);
}

void CxSkinButton::OnLeftUp(wxMouseEvent& event) {
  if (!m_pressed) return;
  const bool inside = HitTest(event.GetPosition());
  if (HasCapture()) ReleaseMouse();
  if (inside) ChangeCheckAsClicked();
  m_pressed = false;
  SetButtonState(false);
  if (inside) SendClick();
}

void CxSkinButton::OnKeyUp(wxKeyEvent& event) {
  if (event.GetKeyCode() != WXK_SPACE) {
    event.Skip();
    return;
  }
  ChangeCheckAsClicked();
  SendClick();
}

void CxSkinButton::OnKillFocus(wxFocusEvent& event) {
  if (HasCapture()) {
    ReleaseMouse();
    m_pressed = false;
    SetButtonState(false);
  }
  Refresh();
  event.Skip();
}

void CxSkinButton::OnCaptureLost(wxMouseCaptureLostEvent&) {
  m_pressed = false;
  SetButtonState(false);
}
