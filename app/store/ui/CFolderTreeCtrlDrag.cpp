// CFolderTreeCtrl: dragging the selection list, its feedback, cursors and the drag timer.
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <algorithm>

#include "app/store/ui/CFolderTreeCtrl.h"

namespace {

// A pointer arrow with a small page below it, and a plus sign beside the page for a copy.
wxCursor MakeDragCursor(bool copy) {
  wxBitmap bitmap(32, 32);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    const wxPoint arrow[] = {{0, 0}, {0, 15}, {4, 11}, {7, 17}, {9, 16}, {6, 10}, {11, 10}};
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(wxBrush(wxColour(254, 254, 254)));
    dc.DrawPolygon(7, arrow);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(10, 18, 11, 9);
    if (copy) {
      dc.SetBrush(*wxBLACK_BRUSH);
      dc.DrawRectangle(22, 22, 9, 9);
      dc.SetPen(wxPen(wxColour(254, 254, 254)));
      dc.DrawLine(24, 26, 29, 26);
      dc.DrawLine(26, 24, 26, 29);
    }
  }
  wxImage image = bitmap.ConvertToImage();
  image.SetMaskColour(255, 255, 255);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, 0);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, 0);
  return wxCursor(image);
}

}  // namespace

wxBitmap CFolderTreeCtrl::BuildDragBitmap() const {
  const auto& list = m_model.Selection();
  if (list.empty()) return wxBitmap();
  wxMemoryDC measure;
  measure.SetFont(GetFont());
  const int iconWidth = 16;
  int h = 0;
  int widest = 0;
  for (const store::TreeItem* item : list) {
    const wxSize extent = measure.GetTextExtent(wxString::FromUTF8(item->text));
    h = std::max(h, extent.y);
    widest = std::max(widest, extent.x + iconWidth);
  }
  const int rows = static_cast<int>(list.size());
  // Room for the tree-line tick and the gaps around the box.
  const int width = widest + 3 + 6 + 2;
  wxBitmap bitmap(width + 2, rows * (h + 2));
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetFont(GetFont());
  dc.SetTextForeground(*wxBLACK);
  dc.SetBackgroundMode(wxTRANSPARENT);
  dc.SetPen(*wxBLACK_PEN);
  wxImageList* images = GetImageList();
  for (int i = 0; i < rows; ++i) {
    const store::TreeItem* item = list[static_cast<std::size_t>(i)];
    const int left = 1;
    const int top = 1 + i * (h + 2);
    dc.DrawLine(left, top, left, top + (i + 1 == rows ? 8 : 18));
    dc.DrawLine(left, top + 8, left + 5, top + 8);
    if (images && item->image < images->GetImageCount()) {
      images->Draw(item->image, dc, left + 3, top, wxIMAGELIST_DRAW_TRANSPARENT);
    }
    const int boxLeft = left + 3 + iconWidth + 3;
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.DrawRectangle(boxLeft, top, width - boxLeft, h);
    dc.DrawText(wxString::FromUTF8(item->text), boxLeft + 2, top);
  }
  dc.SelectObject(wxNullBitmap);
  wxImage image = bitmap.ConvertToImage();
  image.SetMaskColour(255, 255, 255);
  return wxBitmap(image);
}

bool CFolderTreeCtrl::BeginTreeDrag(const wxPoint& client) {
  store::TreeItem* under = ItemAt(client);
  if (m_model.Selection().empty() || !under) return false;
  const wxBitmap picture = BuildDragBitmap();
  if (!picture.IsOk()) return false;
  if (!m_noDropCursor.IsOk()) {
    m_noDropCursor = wxCursor(wxCURSOR_NO_ENTRY);
    m_moveCursor = MakeDragCursor(false);
    m_copyCursor = MakeDragCursor(true);
  }
  m_dropTarget = nullptr;
  m_feedback = {};
  m_hoverCount = 0;
  // The picture hangs at the pointer where the pressed label would be.
  wxPoint hotspot(8, 8);
  wxRect row;
  if (GetBoundingRect(IdOf(under), row, false)) {
    hotspot.x = client.x + ScrollX() - (under->Depth() - 1) * static_cast<int>(GetIndent());
    hotspot.y = client.y - row.y;
  }
  if (HasCapture()) ReleaseMouse();
  m_dragImage = std::make_unique<wxDragImage>(picture);
  if (!m_dragImage->BeginDrag(hotspot, this, true)) {
    m_dragImage.reset();
    return false;
  }
  SetDragCursor(under);
  m_dragImage->Move(client);
  m_dragImage->Show();
  m_dragTimer.Start(kDragTimerMs);
  return true;
}

void CFolderTreeCtrl::DragMoveTo(const wxPoint& client) {
  if (!m_dragImage) return;
  m_dragImage->Move(client);
  if (!GetClientRect().Contains(client)) return;
  store::TreeItem* target = ItemAt(client);
  m_dragImage->Hide();
  SetDropFeedback(target);
  SetDragCursor(target);
  m_dragImage->Show();
}

void CFolderTreeCtrl::SetDropFeedback(store::TreeItem* target) {
  store::TreeItem* old = m_dropTarget;
  const store::TreeDrop::Feedback oldFeedback = m_feedback;
  m_dropTarget = target;
  m_feedback = target ? m_drop.FeedbackFor(target) : store::TreeDrop::Feedback{};
  if (old && old != target) ApplyLook(old);
  if (oldFeedback.kind == store::TreeDrop::FeedbackKind::InsertBefore ||
      oldFeedback.kind == store::TreeDrop::FeedbackKind::InsertAfter) {
    Refresh();
    Update();
  }
  if (target) ApplyLook(target);
  DrawInsertMark();
}

void CFolderTreeCtrl::DrawInsertMark() {
  using Kind = store::TreeDrop::FeedbackKind;
  if (m_feedback.kind != Kind::InsertBefore && m_feedback.kind != Kind::InsertAfter) return;
  wxRect row;
  int y = 0;
  if (m_feedback.item && GetBoundingRect(IdOf(m_feedback.item), row, false)) {
    y = m_feedback.kind == Kind::InsertBefore ? row.GetTop() : row.GetBottom();
  } else if (m_feedback.kind == Kind::InsertBefore) {
    return;  // nothing follows the parent on screen
  }
  Update();
  wxClientDC dc(this);
  dc.SetPen(wxPen(*wxBLACK, 2));
  dc.DrawLine(0, y, GetClientSize().x, y);
}

void CFolderTreeCtrl::SetDragCursor(store::TreeItem* target) {
  using Cursor = store::TreeDrop::Cursor;
  const Cursor kind = m_drop.CursorFor(target, wxGetKeyState(WXK_CONTROL));
  if (kind == Cursor::Unchanged) return;
  const int which = static_cast<int>(kind);
  if (which == m_cursorSet) return;
  m_cursorSet = which;
  const wxCursor& cursor =
      kind == Cursor::NoDrop ? m_noDropCursor : (kind == Cursor::Copy ? m_copyCursor : m_moveCursor);
  SetCursor(cursor.IsOk() ? cursor : *wxSTANDARD_CURSOR);
}

void CFolderTreeCtrl::OnTimer(wxTimerEvent& event) {
  if (event.GetId() != kDragTimerId) {
    event.Skip();
    return;
  }
  DragTimerTick();
}

void CFolderTreeCtrl::DragTimerTick() {
  if (!m_dragImage) return;
  const wxPoint pointer = ScreenToClient(wxGetMousePosition());
  m_dragImage->Move(pointer);
  const wxTreeItemId first = GetFirstVisibleItem();
  wxRect firstRow;
  if (first.IsOk() && GetBoundingRect(first, firstRow, false)) {
    const int rowHeight = firstRow.height;
    const int clientHeight = GetClientSize().y;
    if (pointer.y > 0 && pointer.y < rowHeight) {
      m_dragImage->Hide();
      ScrollLines(-1);
      store::TreeItem* item = ItemOf(first);
      MakeVisible(item);
      SetDropFeedback(item);
      m_dragImage->Show();
    } else if (pointer.y > clientHeight - rowHeight && pointer.y < clientHeight) {
      m_dragImage->Hide();
      wxTreeItemId last = first;
      for (int i = 1; i < clientHeight / std::max(rowHeight, 1); ++i) {
        const wxTreeItemId next = GetNextVisible(last);
        if (!next.IsOk()) break;
        last = next;
      }
      ScrollLines(1);
      store::TreeItem* item = ItemOf(last);
      SetDropFeedback(item);
      MakeVisible(item);
      m_dragImage->Show();
    }
  }
  // Resting on a closed folder opens it on the fourth tick.
  if (m_hoverCount == 3) {
    m_hoverCount = 0;
    if (m_dropTarget) {
      m_dragImage->Hide();
      m_model.Expand(m_dropTarget);
      m_dragImage->Show();
    }
  }
  if (m_dropTarget && m_dropTarget->HasChildren() && !m_dropTarget->expanded) ++m_hoverCount;
}

void CFolderTreeCtrl::EndTreeDrag(bool cancelled, const wxPoint&) {
  if (!m_dragImage) return;
  m_dragTimer.Stop();
  m_dragImage->Hide();
  m_dragImage->EndDrag();
  m_dragImage.reset();
  if (HasCapture()) ReleaseMouse();
  m_pressMayDrag = false;
  store::TreeItem* target = m_dropTarget;
  SetDropFeedback(nullptr);
  m_cursorSet = -1;
  SetCursor(*wxSTANDARD_CURSOR);
  if (cancelled || !target || m_model.Selection().empty()) return;
  const int x = ScrollX();
  m_drop.Drop(target, wxGetKeyState(WXK_CONTROL), wxGetKeyState(WXK_SHIFT));
  ScrollXTo(x);
}
