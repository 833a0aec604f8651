#pragma once

#include <wx/window.h>

#include <functional>

class CxImage;

// The photo view's picture pane: the current picture at natural size when it fits, otherwise
// scaled down to fit, centred on a pale blue ground inside a 2-pixel margin.
class CImageArea : public wxWindow {
 public:
  CImageArea(wxWindow* parent, int id);
  // Where the picture comes from: the thumbnail list's current picture.
  std::function<const CxImage*()> currentPicture;
  // The pane as it is painted, for tests and screenshots.
  wxBitmap Render() const;

 private:
  void OnPaint(wxPaintEvent& event);
};
