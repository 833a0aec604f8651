#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "app/image/CxImage.h"
#include "app/pageview/Geometry.h"
#include "app/pageview/PixelTarget.h"

// The undo steps of a working bitmap's pixel changes: range erases, and the lifted pixels put
// down again after a move. A step keeps, for each rectangle it changed, the pixels that were
// there before and (unless the change was a white fill) the pixels it put there, so undo and
// redo touch only those rectangles and a step costs what it changed, never a whole picture.
// All steps together stay within a byte budget: a new step that would pass it pushes out the
// oldest ones, though the newest step is always kept so the last change can be undone.
//
// Versions are counted as the history sees them: version 0 is the bitmap as loaded, each step
// adds one; Index() is the version shown, Count() how many there are.
class CErasePatchStore {
 public:
  // What an open scrap may spend on undoing pixel changes of one picture tab.
  static constexpr size_t kDefaultBudget = size_t{64} << 20;

  explicit CErasePatchStore(size_t budget = kDefaultBudget) : m_budget(budget) {}

  void Clear();
  // Fills `rect` (picture pixels, cut to the bitmap) with white as a new step after the
  // current one; steps that were undone are dropped first. False, with the bitmap unchanged
  // and nothing recorded, when nothing of the rectangle is on the bitmap or its pixels cannot
  // be kept.
  [[nodiscard]] bool FillWhite(CxImage& bitmap, const CRect& rect);
  // Stretches `pixels` (24-bit) over `rect` (picture pixels; only the part on the bitmap is
  // drawn) and adds the change to the current step, so undoing that step takes both back.
  // Without a current step the change is drawn but cannot be undone. False when nothing was
  // drawn.
  [[nodiscard]] bool Paste(CxImage& bitmap, const CRect& rect, const CxImage& pixels);
  // One version back or forward; false when there is none.
  bool Undo(CxImage& bitmap);
  bool Redo(CxImage& bitmap);

  int Index() const { return static_cast<int>(m_applied); }
  int Count() const { return static_cast<int>(m_steps.size()) + 1; }
  // Bytes held by all steps' pixels.
  size_t Bytes() const { return m_bytes; }
  size_t Budget() const { return m_budget; }

 private:
  // One changed rectangle: rows top-down, 3 bytes a pixel, no padding.
  struct Region {
    CRect rect;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;  // empty for a white fill
  };
  struct Step {
    std::vector<Region> regions;
    size_t bytes = 0;
  };

  void DropUndone();
  void KeepWithinBudget();

  std::deque<Step> m_steps;
  size_t m_applied = 0;  // steps applied to the bitmap, oldest first
  size_t m_bytes = 0;
  size_t m_budget;
};

// Pixel helpers on 24-bit pictures, in top-down picture coordinates.
namespace pixels {

// The part of `rect` that lies on a picture of width × height.
CRect OnPicture(const CRect& rect, int width, int height);
// Copies the rectangle (which must lie on the picture) out as top-down rows.
void Read(const CxImage& picture, const CRect& rect, uint8_t* out);
void Write(CxImage& picture, const CRect& rect, const uint8_t* in);
void FillWhite(CxImage& picture, const CRect& rect);
// Stretches `source` (24-bit) over `dest` (target pixels, any size and place; only the part
// inside the target is written), taking the nearest source pixel, as a plain block stretch.
void Stretch(const CxImage& source, const PixelTarget& target, const CRect& dest);

}  // namespace pixels
