#include "app/tabs/ui/CImageArea.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>

#include <algorithm>

#include "app/image/CxImage.h"
#include "app/image/wx/ImageDraw.h"
#include "app/tabs/ThumbnailCell.h"

namespace {

constexpr int kMargin = 2;
const wxColour kGround(238, 242, 251);

}  // namespace

CImageArea::CImageArea(wxWindow* parent, int id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CImageArea::OnPaint, this);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    Refresh(false);
    e.Skip();
  });
}

wxBitmap CImageArea::Render() const {
  const wxSize client = GetClientSize();
  const int aw = client.x - 2 * kMargin, ah = client.y - 2 * kMargin;
  if (aw <= 0 || ah <= 0) return wxBitmap();
  wxBitmap buffer(aw, ah, 24);
  wxMemoryDC dc(buffer);
  dc.SetBackground(wxBrush(kGround));
  dc.Clear();
  const CxImage* picture = currentPicture ? currentPicture() : nullptr;
  if (picture && picture->IsValid()) {
    const tabs::CellPlacement p =
        tabs::PlaceInArea(picture->GetWidth(), picture->GetHeight(), aw, ah);
    const wxRect rect(p.x, p.y, p.width, p.height);
    if (p.width == int(picture->GetWidth()) && p.height == int(picture->GetHeight()))
      DrawImage(*picture, dc, rect);
    else if (p.width > 0 && p.height > 0)
      StretchImage(*picture, dc, rect);
  }
  dc.SelectObject(wxNullBitmap);
  return buffer;
}

void CImageArea::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  // The margin keeps the window's own background.
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  const wxBitmap picture = Render();
  if (picture.IsOk()) dc.DrawBitmap(picture, kMargin, kMargin);
}
