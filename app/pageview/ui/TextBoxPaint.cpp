#include "app/pageview/ui/TextBoxPaint.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/tokenzr.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The lines a paragraph breaks into at `width` pixels.
std::vector<wxString> WrapParagraph(wxDC& dc, const wxString& text, int width) {
  std::vector<wxString> lines;
  wxString rest = text;
  while (!rest.empty()) {
    wxArrayInt widths;
    dc.GetPartialTextExtents(rest, widths);
    size_t fit = 0;
    while (fit < rest.length() && fit < widths.size() && widths[fit] <= width) ++fit;
    if (fit >= rest.length()) {
      lines.push_back(rest);
      break;
    }
    fit = std::max<size_t>(fit, 1);
    const size_t blank = rest.find_last_of(' ', fit);
    const size_t cut = (blank != wxString::npos && blank > 0 && blank < fit) ? blank + 1 : fit;
    lines.push_back(rest.substr(0, cut));
    rest = rest.substr(cut);
  }
  if (text.empty()) lines.push_back(wxString());
  return lines;
}

// Edge of the square pieces a box's text is burned in, pixels.
constexpr int kBurnTile = 2048;

// Burns the text laid out in `box` (relative to the tile) into one tile of the target.
void BurnTile(const PixelTarget& target, const CRect& tile, const wxRect& box,
              const std::string& utf8, const wxFont& font);

}  // namespace

void DrawBoxText(wxDC& dc, const std::string& utf8, const wxRect& rect, const wxFont& font) {
  if (utf8.empty() || rect.IsEmpty()) return;
  dc.SetFont(font);
  dc.SetTextForeground(*wxBLACK);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  wxDCClipper clip(dc, rect);
  const int lineHeight = dc.GetCharHeight();
  int y = rect.y;
  wxString text = wxString::FromUTF8(utf8);
  text.Replace("\r\n", "\n");
  wxStringTokenizer paragraphs(text, "\n", wxTOKEN_RET_EMPTY_ALL);
  while (paragraphs.HasMoreTokens() && y < rect.GetBottom()) {
    for (const wxString& line : WrapParagraph(dc, paragraphs.GetNextToken(), rect.width)) {
      dc.DrawText(line, rect.x, y);
      y += lineHeight;
    }
  }
}

void BurnBoxText(const PixelTarget& target, const ViewMapping& map, const std::string& utf8,
                 const CRect& viewRect, const wxFont& font) {
  if (utf8.empty() || !target.top) return;
  const int x0 = static_cast<int>(std::floor(viewRect.left * map.scale + map.originX));
  const int y0 = static_cast<int>(std::floor(viewRect.top * map.scale + map.originY));
  const int x1 = static_cast<int>(std::ceil(viewRect.right * map.scale + map.originX));
  const int y1 = static_cast<int>(std::ceil(viewRect.bottom * map.scale + map.originY));
  const CRect area = CRect{x0, y0, x1, y1}.Intersect({0, 0, target.width, target.height});
  if (area.IsEmpty()) return;
  wxFont scaled = font;
  scaled.SetPixelSize(wxSize(
      0, std::max(1, static_cast<int>(std::lround(font.GetPixelSize().y * map.scale)))));
  // A tall page at a low zoom makes the box far larger than the biggest toolkit bitmap, so it
  // passes through one in tiles; each tile draws the whole text clipped to itself.
  for (int top = area.top; top < area.bottom; top += kBurnTile) {
    for (int left = area.left; left < area.right; left += kBurnTile) {
      const CRect tile{left, top, std::min(left + kBurnTile, area.right),
                       std::min(top + kBurnTile, area.bottom)};
      BurnTile(target, tile, wxRect(x0 - tile.left, y0 - tile.top, x1 - x0, y1 - y0), utf8,
               scaled);
    }
  }
}

namespace {

void BurnTile(const PixelTarget& target, const CRect& tile, const wxRect& box,
              const std::string& utf8, const wxFont& font) {
  // The tile's current pixels, so the text lands on the picture with a clear background.
  wxImage pixels(tile.Width(), tile.Height(), false);
  unsigned char* data = pixels.GetData();
  for (int y = 0; y < tile.Height(); ++y) {
    const uint8_t* in = target.Row(tile.top + y) + 3 * tile.left;
    unsigned char* out = data + static_cast<size_t>(y) * tile.Width() * 3;
    for (int x = 0; x < tile.Width(); ++x) {
      out[3 * x] = target.bgr ? in[3 * x + 2] : in[3 * x];
      out[3 * x + 1] = in[3 * x + 1];
      out[3 * x + 2] = target.bgr ? in[3 * x] : in[3 * x + 2];
    }
  }
  wxBitmap bitmap(pixels, 24);
  {
    wxMemoryDC dc(bitmap);
    DrawBoxText(dc, utf8, box, font);
  }
  const wxImage drawn = bitmap.ConvertToImage();
  const unsigned char* back = drawn.GetData();
  for (int y = 0; y < tile.Height(); ++y) {
    uint8_t* out = target.Row(tile.top + y) + 3 * tile.left;
    const unsigned char* in = back + static_cast<size_t>(y) * tile.Width() * 3;
    for (int x = 0; x < tile.Width(); ++x) {
      out[3 * x] = target.bgr ? in[3 * x + 2] : in[3 * x];
      out[3 * x + 1] = in[3 * x + 1];
      out[3 * x + 2] = target.bgr ? in[3 * x] : in[3 * x + 2];
    }
  }
}

}  // namespace
