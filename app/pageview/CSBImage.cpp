#include "app/pageview/CSBImage.h"

#include <algorithm>

#include "platform/TextConv.h"

namespace {

// The extension after the last dot, lower-cased; empty when there is none.
std::string Extension(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return platform::text::AsciiLower(std::string_view(path).substr(dot + 1));
}

}  // namespace

uint32_t SaveFormatForPath(const std::string& path) {
  const std::string ext = Extension(path);
  if (ext == "bmp") return CXIMAGE_FORMAT_BMP;
  if (ext == "jpg" || ext == "jpeg") return CXIMAGE_FORMAT_JPG;
  if (ext == "gif") return CXIMAGE_FORMAT_GIF;
  // The image object has no encoder for it; the save then fails with the object's own text.
  if (ext == "pdf") return kSaveFormatPdf;
  return 0;
}

CSBImage::CSBImage(IPageView* view) : m_view(view) {}

CSBImage::~CSBImage() { Clear(); }

bool CSBImage::Load() {
  if (!m_view) return false;
  if (m_path.empty()) {
    m_picture.Destroy();
    m_loaded = false;
    m_zoom = 0;
    m_view->ResetView();
    m_view->ShowLoadedPicture();
    return true;
  }
  m_view->ResetView();
  const std::string ext = Extension(m_path);
  uint32_t format = 0;
  if (ext == "bmp") format = CXIMAGE_FORMAT_BMP;
  if (ext == "jpg") format = CXIMAGE_FORMAT_JPG;
  if (format == 0) return false;

  m_picture.Destroy();
  m_loaded = false;
  m_selection.Clear();
  (void)m_picture.Load(m_path, format);
  m_versionIndex = 0;
  m_previousVersionIndex = 0;
  m_loaded = m_view->BuildWorkingBitmap(m_picture);
  if (!m_loaded) {
    m_view->RepaintView();
    return false;
  }
  m_fromFile = true;
  m_zoom = 100;
  m_view->ShowLoadedPicture();
  return true;
}

void CSBImage::Clear() {
  for (auto& box : m_textBoxes) {
    if (box->Window()) box->Window()->DestroyEditor();
    box->SetWindow(nullptr);
  }
  m_shapes.clear();
  m_history.Clear();
  m_strokes.clear();
  m_arrows.clear();
  m_textBoxes.clear();
}

CStroke* CSBImage::NewStroke(const PenDef& pen) {
  m_strokes.push_back(std::make_unique<CStroke>(pen));
  return m_strokes.back().get();
}

CArrow* CSBImage::NewArrow() {
  m_arrows.push_back(std::make_unique<CArrow>());
  return m_arrows.back().get();
}

CTextBox* CSBImage::NewTextBox() {
  m_textBoxes.push_back(std::make_unique<CTextBox>(kFirstTextBoxId + m_textBoxCount));
  auto* box = m_textBoxes.back().get();
  box->SetMoveMode(m_tool == kToolShapeSelect);
  return box;
}

void CSBImage::AddShape(CShape* shape) {
  if (!shape) return;
  if (shape->Type() == kShapeTextBox) ++m_textBoxCount;
  m_shapes.push_back({shape->Type(), shape});
  m_history.Record({shape->Type(), shape, kActionPlaced});
}

void CSBImage::ShowShape(CShape* shape, bool show) {
  if (!shape) return;
  shape->SetVisible(show);
  if (!show) shape->SetSelected(false);
  if (shape->Type() == kShapeTextBox) {
    auto* box = static_cast<CTextBox*>(shape);
    if (box->Window()) box->Window()->ShowEditor(false);
  }
}

void CSBImage::ApplyUndo(const _HISITEM& item) {
  switch (item.action) {
    case kActionPlaced: ShowShape(item.shape, false); break;
    case kActionDeleted: ShowShape(item.shape, true); break;
    case kActionCropped: StepVersion(-1); break;
    case kActionErased:
      // Floating pixels are put down first, so they belong to the step being undone.
      if (m_view && m_view->State().WorkingIndex() > 0) {
        CommitAndClearSelection();
        (void)m_view->State().StepWorkingBitmap(-1);
      }
      break;
    default: break;
  }
}

void CSBImage::ApplyRedo(const _HISITEM& item) {
  switch (item.action) {
    case kActionPlaced: ShowShape(item.shape, true); break;
    case kActionDeleted: ShowShape(item.shape, false); break;
    case kActionCropped: StepVersion(+1); break;
    case kActionErased:
      if (m_view && m_view->State().WorkingIndex() < m_view->State().WorkingCount() - 1) {
        CommitAndClearSelection();
        (void)m_view->State().StepWorkingBitmap(+1);
      }
      break;
    default: break;
  }
}

bool CSBImage::Undo() {
  const _HISITEM* item = m_history.TakeUndo();
  if (!item) return false;
  ApplyUndo(*item);
  if (m_view) m_view->RepaintView();
  return true;
}

bool CSBImage::Redo() {
  const _HISITEM* item = m_history.TakeRedo();
  if (!item) return false;
  ApplyRedo(*item);
  if (m_view) m_view->RepaintView();
  return true;
}

int CSBImage::DeleteSelected() {
  int count = 0;
  for (const _SHAPE& s : m_shapes) {
    if (!s.shape->IsSelected() || !s.shape->IsVisible()) continue;
    m_history.Record({s.shapeType, s.shape, kActionDeleted});
    ShowShape(s.shape, false);
    ++count;
  }
  if (count && m_view) m_view->RepaintView();
  return count;
}

void CSBImage::DeselectAll() {
  for (const _SHAPE& s : m_shapes) s.shape->SetSelected(false);
}

void CSBImage::SetTextBoxMoveMode(bool on) {
  for (auto& box : m_textBoxes) box->SetMoveMode(on);
}

bool CSBImage::ToggleTool(int tool) {
  const bool leavingRange = m_tool == kToolRangeSelect;
  // Leaving the range tool puts floating pixels down; choosing it starts without a selection.
  if (m_tool == kToolRangeSelect || tool == kToolRangeSelect) CommitAndClearSelection();
  if (m_tool == tool) {
    m_tool = kToolNone;
  } else {
    m_tool = tool;
    m_editFlag = 1;
  }
  SetTextBoxMoveMode(m_tool == kToolShapeSelect);
  if (m_tool != kToolShapeSelect) DeselectAll();
  return leavingRange;
}

bool CSBImage::ToggleCrop() {
  if (m_editFlag == 1) {
    const bool leavingRange = m_tool == kToolRangeSelect;
    if (leavingRange) CommitAndClearSelection();
    m_editFlag = 0;
    m_tool = kToolNone;
    SetTextBoxMoveMode(false);
    return leavingRange;
  }
  m_editFlag = 1;
  return false;
}

void CSBImage::SetVersionIndex(int index) {
  m_previousVersionIndex = m_versionIndex;
  m_versionIndex = std::max(index, 0);
}

void CSBImage::StepVersion(int delta) {
  int next = std::max(m_versionIndex + delta, 0);
  if (m_view) next = std::min(next, m_view->State().VersionCount() - 1);
  SetVersionIndex(next);
  if (!m_view) return;
  // Each version is shown at its own zoom.
  m_zoom = m_view->State().Version(next).zoom;
  m_view->ApplyZoom();
}
