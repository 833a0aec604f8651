#pragma once

#include "app/pageview/IPageView.h"
#include "app/pageview/MarkRaster.h"

// A page view without a window: keeps the view state and counts what it was asked to do.
// Text boxes are burned in as a solid blue rectangle, so flattening tests can find them.
class FakePageView : public IPageView {
 public:
  CViewState& State() override { return m_state; }
  void ResetView() override { m_state.Reset(); }
  bool BuildWorkingBitmap(const CxImage& picture) override {
    return m_state.BuildWorkingBitmap(picture) == CViewState::BuildResult::Ok;
  }
  void ShowLoadedPicture() override {
    const CxImage* wb = m_state.WorkingBitmap();
    m_state.SetExtent(wb ? static_cast<int>(wb->GetWidth()) : 0,
                      wb ? static_cast<int>(wb->GetHeight()) : 0);
    ++shown;
  }
  void ApplyZoom() override { ++zoomApplied; }
  void RepaintView() override { ++repaints; }
  int FitToWindow(int version) override { return m_state.FitToWindow(version, 800, 600); }
  void DrawTextBoxText(const PixelTarget& t, const ViewMapping& map, const CTextBox& box) override {
    const CRect r = box.Rect();
    for (int y = static_cast<int>(r.top * map.scale); y < static_cast<int>(r.bottom * map.scale); ++y)
      for (int x = static_cast<int>(r.left * map.scale); x < static_cast<int>(r.right * map.scale); ++x)
        if (x >= 0 && y >= 0 && x < t.width && y < t.height) marks::BlendPixel(t.Row(y) + 3 * x, t.bgr, 0xFF0000FF);
  }

  CViewState m_state;
  int shown = 0;
  int zoomApplied = 0;
  int repaints = 0;
};
