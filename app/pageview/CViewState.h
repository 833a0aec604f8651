#pragma once

#include <memory>
#include <vector>

#include "app/image/CxImage.h"
#include "app/pageview/CErasePatchStore.h"
#include "app/pageview/CropState.h"
#include "app/pageview/Geometry.h"

// What a page view knows about its picture apart from its window: the working bitmap (a
// 24-bit copy of the picture at 100 %, the source of all painting and flattening) with the
// patches that undo its range erases, the crop versions, and the displayed extent. Kept free of
// the toolkit so zoom, crop and flattening can be tested without a display.
class CViewState {
 public:
  static constexpr int kMaxCropVersions = 1000;

  enum class BuildResult { Ok, Empty, TooBig };

  CViewState();

  // Forgets the previous picture: extent 0 × 0, one crop version at zoom 100 with empty
  // rectangles, no working bitmap.
  void Reset();
  // Makes the working bitmap from a decoded picture and sets version 0 to the whole picture.
  // A 24-bit picture is copied row block by row block; other depths are converted.
  [[nodiscard]] BuildResult BuildWorkingBitmap(const CxImage& picture);

  const CxImage* WorkingBitmap() const;
  CxImage* WorkingBitmap();
  // Versions of the working bitmap: 0 as loaded, one more for each erase; -1 and 0 without a
  // working bitmap.
  int WorkingIndex() const { return m_working.IsValid() ? m_patches.Index() : -1; }
  int WorkingCount() const { return m_working.IsValid() ? m_patches.Count() : 0; }
  // Whitens a rectangle of picture pixels as a new version; false (nothing changed) when the
  // rectangle misses the picture or its old pixels cannot be kept.
  [[nodiscard]] bool EraseRect(const CRect& picture);
  // Puts lifted pixels down over a rectangle of picture pixels, stretched to it, as part of
  // the current version (no new one).
  bool PasteRect(const CRect& picture, const CxImage& pixels);
  // Moves to the previous or next version; false when there is none.
  bool StepWorkingBitmap(int delta);
  const CErasePatchStore& Patches() const { return m_patches; }

  int VersionCount() const { return static_cast<int>(m_versions.size()); }
  _CROPSTATE& Version(int index);
  const _CROPSTATE& Version(int index) const;
  // Stores a crop version right after `index` (dropping any later ones) and returns its
  // index. When the table is full the oldest version goes and every index moves down by one.
  int AddVersionAfter(int index, const _CROPSTATE& state);

  // Zoom changes of version `index`; each returns the new zoom. The zoomed rectangle is
  // derived from the one at the old zoom.
  int ZoomIn(int index);
  int ZoomOut(int index);
  int SetZoom(int index, int zoom);
  int FitToWindow(int index, int windowWidth, int windowHeight);
  // Extent = the displayed rectangle's size of version `index`.
  void ApplyZoom(int index);

  int ExtentWidth() const { return m_extentWidth; }
  int ExtentHeight() const { return m_extentHeight; }
  void SetExtent(int width, int height);
  // True when a view point lies on the displayed picture.
  bool InPicture(CPoint view) const;

  // View coordinates of the client area's top-left corner (the scroll position).
  CPoint ScrollPos() const { return m_scroll; }
  void SetScrollPos(CPoint pos) { m_scroll = pos; }

 private:
  void ChangeZoom(int index, int newZoom);

  CxImage m_working;
  CErasePatchStore m_patches;
  std::vector<_CROPSTATE> m_versions;
  int m_extentWidth = 0;
  int m_extentHeight = 0;
  CPoint m_scroll;
};
