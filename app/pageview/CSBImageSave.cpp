#include <algorithm>
#include <cstring>

#include "app/pageview/CSBImage.h"
#include "app/pageview/MarkRaster.h"

std::optional<CxImage> CSBImage::Flatten() {
  if (!m_view) return std::nullopt;
  CViewState& state = m_view->State();
  const CxImage* working = state.WorkingBitmap();
  if (!working || !working->IsValid()) return std::nullopt;
  const _CROPSTATE& version = state.Version(m_versionIndex);
  const int pw = static_cast<int>(working->GetWidth());
  const int ph = static_cast<int>(working->GetHeight());
  const CRect source = version.source.Intersect({0, 0, pw, ph});
  if (source.IsEmpty()) return std::nullopt;

  // Cut the crop out first, so the marks are drawn once, straight into the picture that is
  // written; a mark is placed where the view showed it over the crop's pixels.
  CxImage out;
  if (source == CRect{0, 0, pw, ph}) {
    out = *working;
  } else {
    if (!out.Create(static_cast<uint32_t>(source.Width()), static_cast<uint32_t>(source.Height()),
                    24)) {
      return std::nullopt;
    }
    for (int y = 0; y < source.Height(); ++y) {
      const uint8_t* in = working->GetBits(static_cast<uint32_t>(ph - 1 - (source.top + y)));
      uint8_t* row = out.GetBits(static_cast<uint32_t>(source.Height() - 1 - y));
      std::memcpy(row, in + 3 * source.left, static_cast<size_t>(source.Width()) * 3);
    }
  }
  if (!out.IsValid()) return std::nullopt;

  const PixelTarget target = TargetOf(out);
  // Pixels still floating land where putting them down would place them.
  if (m_selection.IsFloating()) {
    pixels::Stretch(m_selection.Lifted(), target,
                    PictureRectOf(m_selection.Rect()).Offset(-source.left, -source.top));
  }
  // View units to picture pixels at the version's zoom: the screen showed one view unit over
  // 100 / zoom picture pixels.
  const ViewMapping map{100.0 / std::max(version.zoom, 1), 0.0, 0.0};
  for (const _SHAPE& s : m_shapes) {
    if (!s.shape->IsVisible()) continue;
    switch (s.shapeType) {
      case kShapeStroke: marks::DrawStroke(target, map, *static_cast<CStroke*>(s.shape)); break;
      case kShapeArrow: marks::DrawArrow(target, map, *static_cast<CArrow*>(s.shape)); break;
      case kShapeTextBox:
        m_view->DrawTextBoxText(target, map, *static_cast<CTextBox*>(s.shape));
        break;
      default: break;
    }
  }
  return out;
}

CSBImage::SaveOutcome CSBImage::Save() {
  SaveOutcome outcome;
  if (!HasPicture()) return outcome;
  const uint32_t format = SaveFormatForPath(m_path);
  if (format == 0) return outcome;

  // The loaded picture is prepared for the format as well, so a later export of the same tab
  // starts from the same depth.
  if (format == CXIMAGE_FORMAT_GIF && m_picture.GetBpp() > 8) {
    (void)m_picture.DecreaseBpp(8, true);
  } else if (format == CXIMAGE_FORMAT_JPG) {
    if (m_picture.GetBpp() < 24) (void)m_picture.IncreaseBpp(24);
    m_picture.SetTransIndex(-1);
    m_picture.SetJpegQuality(255);
  }

  std::optional<CxImage> flat = Flatten();
  if (!flat) {
    outcome.error = "画像が大き過ぎるため作成に失敗しました。";
    return outcome;
  }
  if (format == CXIMAGE_FORMAT_GIF) (void)flat->DecreaseBpp(8, true);
  if (!flat->Save(m_path, format)) {
    outcome.error = flat->GetLastError();
    return outcome;
  }
  outcome.written = true;
  return outcome;
}
