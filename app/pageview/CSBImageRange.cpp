#include <algorithm>

#include "app/pageview/CCropGesture.h"
#include "app/pageview/CRangeGesture.h"
#include "app/pageview/CSBImage.h"
#include "app/pageview/MarkRaster.h"
#include "app/pageview/PictureRender.h"
#include "app/pageview/ZoomMath.h"

// The range tool and crop mode of a picture tab: lifting, putting down and erasing ranges of
// the working bitmap, and making crop versions.

CRect CSBImage::PictureRectOf(const CRect& view) const {
  if (!m_view) return {};
  const _CROPSTATE& v = m_view->State().Version(m_versionIndex);
  return zoom::ViewToPicture(view.Normalized(), v.zoom, v.source.TopLeft());
}

std::optional<CxImage> CSBImage::ComposeView(const CRect& view) const {
  if (!m_view || !IsLoaded()) return std::nullopt;
  const CViewState& state = m_view->State();
  const CxImage* working = state.WorkingBitmap();
  const CRect r = view.Normalized();
  if (!working || r.IsEmpty()) return std::nullopt;
  CxImage out;
  // The image object refuses what its budget cannot hold, so a huge range fails here.
  if (!out.Create(static_cast<uint32_t>(r.Width()), static_cast<uint32_t>(r.Height()), 24))
    return std::nullopt;
  const PixelTarget target = TargetOf(out);
  // Beside the picture the view shows its grey background.
  for (int y = 0; y < target.height; ++y)
    std::fill(target.Row(y), target.Row(y) + 3 * static_cast<size_t>(target.width), 128);
  RenderVersion(*working, state.Version(m_versionIndex), r.TopLeft(), target);
  if (m_selection.IsFloating())
    pixels::Stretch(m_selection.Lifted(), target, m_selection.Rect().Offset(-r.left, -r.top));
  const ViewMapping map{1.0, static_cast<double>(-r.left), static_cast<double>(-r.top)};
  for (const _SHAPE& s : m_shapes) {
    if (!s.shape->IsVisible()) continue;
    switch (s.shapeType) {
      case kShapeStroke:
        marks::DrawStroke(target, map, *static_cast<CStroke*>(s.shape));
        break;
      case kShapeArrow:
        marks::DrawArrow(target, map, *static_cast<CArrow*>(s.shape));
        break;
      case kShapeTextBox:
        m_view->DrawTextBoxText(target, map, *static_cast<CTextBox*>(s.shape));
        break;
      default:
        break;
    }
  }
  return out;
}

CSBImage::LiftResult CSBImage::LiftSelection() {
  if (m_selection.IsFloating()) return LiftResult::AlreadyFloating;
  if (m_selection.IsEmpty() || !m_view) return LiftResult::Nothing;
  std::optional<CxImage> pixels = ComposeView(m_selection.Rect());
  if (!pixels) return LiftResult::TooBig;
  m_selection.Lift(std::move(*pixels));
  if (!EraseRange()) {
    m_selection.DropLifted();
    return LiftResult::TooBig;
  }
  return LiftResult::Lifted;
}

bool CSBImage::CommitLifted() {
  if (!m_selection.IsFloating() || !m_view) return false;
  (void)m_view->State().PasteRect(PictureRectOf(m_selection.Rect()), m_selection.Lifted());
  m_selection.DropLifted();
  return true;
}

void CSBImage::CommitAndClearSelection() {
  (void)CommitLifted();
  m_selection.Clear();
}

bool CSBImage::EraseRange() {
  if (m_selection.IsEmpty() || !m_view) return false;
  if (m_selection.LiftRect().IsEmpty()) m_selection.SetLiftRect(m_selection.Rect());
  if (!m_view->State().EraseRect(PictureRectOf(m_selection.LiftRect()))) return false;
  m_history.Record({0, nullptr, kActionErased});
  return true;
}

bool CSBImage::EraseSelection() {
  if (!EraseRange()) return false;
  // What floated is thrown away with the range.
  m_selection.Clear();
  if (m_view) m_view->RepaintView();
  return true;
}

bool CSBImage::Crop(const CRect& view) {
  if (!m_view) return false;
  CViewState& state = m_view->State();
  const CRect r = range::OnPicture(view, state.ExtentWidth(), state.ExtentHeight());
  if (r.IsEmpty()) return false;
  const _CROPSTATE next = zoom::CropVersion(state.Version(m_versionIndex), r);
  if (next.source.IsEmpty()) return false;
  SetVersionIndex(state.AddVersionAfter(m_versionIndex, next));
  m_zoom = next.zoom;
  m_history.Record({0, nullptr, kActionCropped});
  m_view->ApplyZoom();
  return true;
}

std::unique_ptr<CGesture> CSBImage::BeginRangeDrag(CPoint view, LiftResult* lift) {
  if (lift) *lift = LiftResult::Nothing;
  if (!m_view) return nullptr;
  const CViewState& state = m_view->State();
  if (m_selection.HitTest(view) == CSelectionRect::Hit::None) {
    CommitAndClearSelection();
  } else {
    const LiftResult result = LiftSelection();
    if (lift) *lift = result;
    if (result == LiftResult::TooBig) return nullptr;
  }
  return std::make_unique<CRangeGesture>(m_selection, view, state.ExtentWidth(),
                                         state.ExtentHeight());
}

std::unique_ptr<CGesture> CSBImage::BeginCropDrag(CPoint view) {
  if (!m_view) return nullptr;
  const CViewState& state = m_view->State();
  return std::make_unique<CCropGesture>(*this, view, state.ExtentWidth(), state.ExtentHeight());
}
