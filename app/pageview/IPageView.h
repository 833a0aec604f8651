#pragma once

#include "app/image/CxImage.h"
#include "app/pageview/CTextBox.h"
#include "app/pageview/CViewState.h"
#include "app/pageview/PixelTarget.h"

// What a picture-tab object needs from the page view it is bound to. The page view window
// implements it; tests use a plain object.
class IPageView {
 public:
  virtual ~IPageView() = default;

  virtual CViewState& State() = 0;
  // Forgets everything of the previous picture (first step of every load).
  virtual void ResetView() = 0;
  // Builds the working bitmap from the decoded picture; tells the user when it is too large.
  [[nodiscard]] virtual bool BuildWorkingBitmap(const CxImage& picture) = 0;
  // Shows the picture just loaded at 100 % (or nothing when there is none): extent, scroll
  // sizes, zoom box, repaint.
  virtual void ShowLoadedPicture() = 0;
  // Recomputes the extent after a zoom or crop-version change and repaints.
  virtual void ApplyZoom() = 0;
  virtual void RepaintView() = 0;
  // Fits crop version `versionIndex` into the window; returns the zoom.
  virtual int FitToWindow(int versionIndex) = 0;
  virtual void FocusView() {}
  // Burns a text box's text into a flattened picture; `map` takes view units to its pixels.
  virtual void DrawTextBoxText(const PixelTarget& target, const ViewMapping& map,
                               const CTextBox& box) = 0;
};
