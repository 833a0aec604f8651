#include "app/shell/ui/CMenuEx.h"

#include <wx/dcbuffer.h>
#include <wx/graphics.h>
#include <wx/settings.h>

#include "app/res/Menus.h"
#include "app/res/ui/ResArt.h"
#include "app/shell/ui/InterfaceFont.h"

const wxColour CMenuEx::kHighlightFill(216, 216, 235);
const wxColour CMenuEx::kHighlightFrame(64, 64, 128);

namespace {

// Measurements use the screen's default font, as the host's menu measuring does; the text
// itself is drawn in a 12-pixel gothic face.
wxFont MeasureFont() { return wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT); }

}  // namespace

CMenuEx::CMenuEx(wxWindow* owner) : wxPopupTransientWindow(owner, wxBORDER_SIMPLE), m_owner(owner) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  m_textFont = wxFont(wxFontInfo(wxSize(0, 12)).FaceName(ChooseInterfaceFace()));
  Bind(wxEVT_PAINT, &CMenuEx::OnPaint, this);
  Bind(wxEVT_MOTION, &CMenuEx::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &CMenuEx::OnLeftUp, this);
  Bind(wxEVT_KEY_DOWN, &CMenuEx::OnKeyDown, this);
}

void CMenuEx::AppendFrom(const res::MenuNode& subMenu) {
  for (const res::MenuNode& n : subMenu.items) {
    if (n.IsSeparator())
      AppendSeparator();
    else if (!n.IsSubMenu())
      Append(n.id, wxString::FromUTF8(n.text));
  }
}

void CMenuEx::Append(int id, const wxString& text) {
  Item item;
  item.id = id;
  item.text = text;
  item.picture = res::ui::ResourceBitmap(id);
  m_items.push_back(item);
  Relayout();
}

void CMenuEx::AppendSeparator() {
  m_items.push_back(Item{});
  Relayout();
}

void CMenuEx::CheckRadioItem(int id) {
  for (Item& item : m_items) item.checked = !item.IsSeparator() && item.id == id;
  Refresh();
}

int CMenuEx::CodePageBytes(const wxString& text) {
  int bytes = 0;
  for (wxUniChar c : text) {
    const auto v = c.GetValue();
    bytes += (v < 0x80 || (v >= 0xFF61 && v <= 0xFF9F)) ? 1 : 2;
  }
  return bytes;
}

wxSize CMenuEx::MeasureItem(const Item& item) const {
  wxClientDC dc(const_cast<CMenuEx*>(this));
  dc.SetFont(MeasureFont());
  const wxFontMetrics metrics = dc.GetFontMetrics();
  const int width = CodePageBytes(item.text) * metrics.averageWidth + 30;
  return {width, item.IsSeparator() ? kSeparatorHeight : metrics.height};
}

wxRect CMenuEx::ItemRect(std::size_t index) const {
  int top = 0, width = 0;
  for (const Item& item : m_items) width = std::max(width, MeasureItem(item).x);
  for (std::size_t i = 0; i < index && i < m_items.size(); ++i) top += MeasureItem(m_items[i]).y;
  const int height = index < m_items.size() ? MeasureItem(m_items[index]).y : 0;
  return {0, top, width, height};
}

void CMenuEx::Relayout() {
  if (m_items.empty()) return;
  const wxRect last = ItemRect(m_items.size() - 1);
  SetClientSize(last.width, last.GetBottom() + 1);
}

void CMenuEx::DrawItem(wxDC& dc, std::size_t index, const wxRect& r, bool selected) const {
  const Item& item = m_items[index];
  // Lines and boxes sit exactly on pixels, as the measurements say.
  if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_NONE);
  const wxColour background = wxSystemSettings::GetColour(wxSYS_COLOUR_MENU);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(background));
  dc.DrawRectangle(r);

  if (item.IsSeparator()) {
    // From x + 19 up to, not including, the last column but one.
    dc.SetBrush(*wxBLACK_BRUSH);
    dc.DrawRectangle(r.x + 19, r.y + 2, std::max(0, r.width - 1 - 19), 1);
    return;
  }
  // The highlight starts right of the check column.
  const wxRect band(r.x + 17, r.y, r.GetRight() + 1 - (r.x + 17), r.height);
  if (selected) {
    dc.SetPen(wxPen(kHighlightFrame));
    dc.SetBrush(wxBrush(kHighlightFill));
    dc.DrawRectangle(band);
  }
  dc.SetFont(m_textFont);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetTextForeground(item.enabled ? *wxBLACK
                                    : wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
  const wxRect textRect(r.x + 41, r.y, std::max(0, r.GetRight() + 1 - (r.x + 41)), r.height);
  dc.DrawLabel(item.text, textRect, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL);

  if (item.checked) {
    dc.SetPen(wxPen(kHighlightFrame));
    dc.SetBrush(wxBrush(kHighlightFill));
    dc.DrawRectangle(r.x + 1, r.y, 15, 18);
    // The tick: seven 3-pixel strokes whose tops trace a check mark.
    static constexpr int kTops[] = {8, 9, 10, 9, 8, 7, 6};
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(kHighlightFrame));
    for (int i = 0; i < 7; ++i) dc.DrawRectangle(r.x + 5 + i, r.y + kTops[i], 1, 3);
  }
  if (item.picture.IsOk()) {
    wxDCClipper clip(dc, wxRect(r.x + 19, r.y, 15, 18));
    dc.DrawBitmap(item.picture, r.x + 19, r.y, true);
  }
}

void CMenuEx::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  for (std::size_t i = 0; i < m_items.size(); ++i)
    DrawItem(dc, i, ItemRect(i), static_cast<int>(i) == m_selection);
}

int CMenuEx::HitItem(const wxPoint& client) const {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (ItemRect(i).Contains(client)) return static_cast<int>(i);
  return -1;
}

void CMenuEx::SetSelection(int index) {
  if (index >= 0 &&
      (static_cast<std::size_t>(index) >= m_items.size() || m_items[index].IsSeparator()))
    index = -1;
  if (index == m_selection) return;
  m_selection = index;
  Refresh();
}

void CMenuEx::Choose(std::size_t index) {
  if (index >= m_items.size() || m_items[index].IsSeparator() || !m_items[index].enabled) return;
  const int id = m_items[index].id;
  Dismiss();
  wxCommandEvent command(wxEVT_MENU, id);
  command.SetEventObject(m_owner);
  wxPostEvent(m_owner, command);
}

void CMenuEx::OnMotion(wxMouseEvent& event) { SetSelection(HitItem(event.GetPosition())); }

void CMenuEx::OnLeftUp(wxMouseEvent& event) {
  const int hit = HitItem(event.GetPosition());
  if (hit >= 0) Choose(hit);
}

void CMenuEx::OnKeyDown(wxKeyEvent& event) {
  const int count = static_cast<int>(m_items.size());
  const auto step = [&](int dir) {
    int i = m_selection;
    for (int n = 0; n < count; ++n) {
      i = (i + dir + count) % count;
      if (!m_items[i].IsSeparator()) break;
    }
    SetSelection(i);
  };
  switch (event.GetKeyCode()) {
    case WXK_DOWN:
      step(1);
      break;
    case WXK_UP:
      step(-1);
      break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      if (m_selection >= 0) Choose(m_selection);
      break;
    case WXK_ESCAPE:
      Dismiss();
      break;
    default:
      event.Skip();
  }
}

void CMenuEx::ShowAt(const wxPoint& screen) {
  Position(screen, wxSize(0, 0));
  Popup();
  SetFocus();
}
