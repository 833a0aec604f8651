#include "app/shell/ui/CScrapStatusBar.h"

#include <wx/dc.h>

#include "app/res/Resource.h"
#include "app/res/StringTable.h"
#include "app/res/ToolBars.h"
#include "app/res/ui/ResArt.h"

namespace {

constexpr int kIconGap = 3;

}  // namespace

CScrapStatusBar::CScrapStatusBar(wxWindow* parent, wxWindowID id)
    : wxStatusBar(parent, id, wxSTB_DEFAULT_STYLE & ~wxSTB_SHOW_TIPS) {
  m_widths[0] = res::kMessagePaneInitialWidth;
  int i = 1;
  for (const res::StatusPaneDef& pane : res::StatusPanes()) {
    m_widths[i] = pane.width;
    m_icons[i] = res::ui::ResourceBundle(pane.icon);
    ++i;
  }
  SetFieldsCount(4);
  ApplyWidths();
  // The message pane follows the bar's width, once the new size has settled.
  Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    event.Skip();
    CallAfter([this] { FitMessagePane(); });
  });
}

void CScrapStatusBar::ApplyWidths() {
  int widths[4];
  for (int i = 0; i < 4; ++i) widths[i] = FromDIP(m_widths[i]);
  SetStatusWidths(4, widths);
}

int CScrapStatusBar::FieldOf(int paneId) {
  switch (paneId) {
    case res::kIdPaneCursor:
      return 1;
    case res::kIdPaneSelection:
      return 2;
    case res::kIdPaneSize:
      return 3;
    default:
      return -1;
  }
}

void CScrapStatusBar::SetPaneText(int paneId, const wxString& text) {
  const int field = FieldOf(paneId);
  if (field < 0 || GetStatusText(field) == text) return;
  SetStatusText(text, field);
  Refresh();  // the icon comes and goes with the text
}

void CScrapStatusBar::ClearPane(int paneId) { SetPaneText(paneId, wxEmptyString); }

wxString CScrapStatusBar::PaneText(int paneId) const {
  const int field = FieldOf(paneId);
  return field < 0 ? wxString() : GetStatusText(field);
}

void CScrapStatusBar::SetCursorPosition(int x, int y) {
  SetPaneText(res::kIdPaneCursor, wxString::Format("%d, %d", x, y));
}

void CScrapStatusBar::SetSelectionSize(int w, int h) {
  SetPaneText(res::kIdPaneSelection, wxString::Format("%d X %d", w, h));
}

void CScrapStatusBar::SetPictureSize(int w, int h) {
  SetPaneText(res::kIdPaneSize, wxString::Format("%d X %d", w, h));
}

int CScrapStatusBar::MessagePaneWidth(int clientWidth, int currentWidth) {
  int others = 0;
  for (const res::StatusPaneDef& pane : res::StatusPanes()) others += pane.width;
  const int width = clientWidth - others - 50;
  return width > 100 ? width : currentWidth;
}

void CScrapStatusBar::FitMessagePane() {
  const int width = MessagePaneWidth(ToDIP(GetClientSize().x), m_widths[0]);
  if (width == m_widths[0]) return;
  m_widths[0] = width;
  ApplyWidths();
}

void CScrapStatusBar::DrawField(wxDC& dc, int i, int textHeight) {
  if (i == 0 || GetStatusText(i).empty() || !m_icons[i].IsOk()) {
    wxStatusBar::DrawField(dc, i, textHeight);
    return;
  }
  wxRect rect;
  if (!GetFieldRect(i, rect)) return;
  const wxBitmap icon = m_icons[i].GetBitmapFor(this);
  dc.DrawBitmap(icon, rect.x + kIconGap, rect.y + (rect.height - icon.GetLogicalHeight()) / 2,
                true);
  const int textLeft = rect.x + kIconGap * 2 + icon.GetLogicalWidth();
  dc.SetFont(GetFont());
  dc.SetTextForeground(GetForegroundColour());
  dc.DrawText(GetStatusText(i), textLeft, rect.y + (rect.height - textHeight) / 2);
}
