#include "app/pageview/CViewState.h"

#include <algorithm>
#include <cstring>

#include "app/pageview/ZoomMath.h"

CViewState::CViewState() { Reset(); }

void CViewState::Reset() {
  m_working.Destroy();
  m_patches.Clear();
  m_versions.assign(1, _CROPSTATE{});
  m_extentWidth = 0;
  m_extentHeight = 0;
  m_scroll = {};
}

CViewState::BuildResult CViewState::BuildWorkingBitmap(const CxImage& picture) {
  m_versions.assign(1, _CROPSTATE{});
  m_working.Destroy();
  m_patches.Clear();
  const uint32_t width = picture.GetWidth();
  const uint32_t height = picture.GetHeight();
  if (!picture.IsValid() || width == 0 || height == 0) return BuildResult::Empty;

  CxImage bitmap;
  if (picture.GetBpp() == 24) {
    // The common case (every JPEG page): one block copy of the packed DIB.
    bitmap = picture;
    if (!bitmap.IsValid()) return BuildResult::TooBig;
  } else {
    if (!bitmap.Create(width, height, 24)) return BuildResult::TooBig;
    for (uint32_t y = 0; y < height; ++y) {
      uint8_t* row = bitmap.GetBits(y);
      for (uint32_t x = 0; x < width; ++x) {
        const RGBQUAD c = picture.GetPixelColor(x, y);
        row[3 * x] = c.rgbBlue;
        row[3 * x + 1] = c.rgbGreen;
        row[3 * x + 2] = c.rgbRed;
      }
    }
  }
  m_working = std::move(bitmap);
  const CRect whole{0, 0, static_cast<int>(width), static_cast<int>(height)};
  _CROPSTATE& v0 = m_versions[0];
  v0.source = v0.zoomed = v0.base = whole;
  return BuildResult::Ok;
}

const CxImage* CViewState::WorkingBitmap() const {
  return m_working.IsValid() ? &m_working : nullptr;
}

CxImage* CViewState::WorkingBitmap() { return m_working.IsValid() ? &m_working : nullptr; }

bool CViewState::EraseRect(const CRect& picture) { return m_patches.FillWhite(m_working, picture); }

bool CViewState::PasteRect(const CRect& picture, const CxImage& pixels) {
  return m_patches.Paste(m_working, picture, pixels);
}

bool CViewState::StepWorkingBitmap(int delta) {
  if (delta < 0) return m_patches.Undo(m_working);
  if (delta > 0) return m_patches.Redo(m_working);
  return false;
}

_CROPSTATE& CViewState::Version(int index) {
  return m_versions[static_cast<size_t>(std::clamp(index, 0, VersionCount() - 1))];
}

const _CROPSTATE& CViewState::Version(int index) const {
  return m_versions[static_cast<size_t>(std::clamp(index, 0, VersionCount() - 1))];
}

int CViewState::AddVersionAfter(int index, const _CROPSTATE& state) {
  m_versions.resize(static_cast<size_t>(std::clamp(index + 1, 1, VersionCount())));
  // Version 0 is the whole picture and stays; the oldest crop goes instead.
  if (VersionCount() >= kMaxCropVersions) m_versions.erase(m_versions.begin() + 1);
  m_versions.push_back(state);
  return VersionCount() - 1;
}

void CViewState::ChangeZoom(int index, int newZoom) {
  _CROPSTATE& v = Version(index);
  if (newZoom != v.zoom) v.zoomed = zoom::Rescale(v.zoomed, v.zoom, newZoom);
  v.zoom = newZoom;
}

int CViewState::ZoomIn(int index) {
  ChangeZoom(index, zoom::ZoomIn(Version(index).zoom));
  ApplyZoom(index);
  return Version(index).zoom;
}

int CViewState::ZoomOut(int index) {
  ChangeZoom(index, zoom::ZoomOut(Version(index).zoom));
  ApplyZoom(index);
  return Version(index).zoom;
}

int CViewState::SetZoom(int index, int z) {
  ChangeZoom(index, zoom::Clamp(z));
  ApplyZoom(index);
  return Version(index).zoom;
}

int CViewState::FitToWindow(int index, int windowWidth, int windowHeight) {
  const _CROPSTATE& v = Version(index);
  const int z = zoom::Fit(v.base, v.baseZoom, windowWidth, windowHeight);
  // A window too small for even one pixel per hundred gives 0; keep the arithmetic sane.
  ChangeZoom(index, std::max(z, zoom::kMinZoom));
  ApplyZoom(index);
  return Version(index).zoom;
}

void CViewState::ApplyZoom(int index) {
  const CRect& shown = Version(index).Displayed();
  SetExtent(shown.Width(), shown.Height());
}

void CViewState::SetExtent(int width, int height) {
  m_extentWidth = std::max(width, 0);
  m_extentHeight = std::max(height, 0);
}

bool CViewState::InPicture(CPoint p) const {
  return p.x >= 0 && p.y >= 0 && p.x < m_extentWidth && p.y < m_extentHeight;
}
