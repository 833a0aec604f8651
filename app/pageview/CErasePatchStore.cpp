#include "app/pageview/CErasePatchStore.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace pixels {

CRect OnPicture(const CRect& rect, int width, int height) {
  return rect.Normalized().Intersect({0, 0, width, height});
}

namespace {

uint8_t* RowOf(CxImage& picture, int y) {
  return picture.GetBits(picture.GetHeight() - 1 - static_cast<uint32_t>(y));
}
const uint8_t* RowOf(const CxImage& picture, int y) {
  return picture.GetBits(picture.GetHeight() - 1 - static_cast<uint32_t>(y));
}

}  // namespace

void Read(const CxImage& picture, const CRect& rect, uint8_t* out) {
  const size_t line = static_cast<size_t>(rect.Width()) * 3;
  for (int y = rect.top; y < rect.bottom; ++y, out += line)
    std::memcpy(out, RowOf(picture, y) + 3 * static_cast<size_t>(rect.left), line);
}

void Write(CxImage& picture, const CRect& rect, const uint8_t* in) {
  const size_t line = static_cast<size_t>(rect.Width()) * 3;
  for (int y = rect.top; y < rect.bottom; ++y, in += line)
    std::memcpy(RowOf(picture, y) + 3 * static_cast<size_t>(rect.left), in, line);
}

void FillWhite(CxImage& picture, const CRect& rect) {
  const size_t line = static_cast<size_t>(rect.Width()) * 3;
  for (int y = rect.top; y < rect.bottom; ++y)
    std::memset(RowOf(picture, y) + 3 * static_cast<size_t>(rect.left), 255, line);
}

void Stretch(const CxImage& source, const PixelTarget& target, const CRect& dest) {
  if (!source.IsValid() || source.GetBpp() != 24 || !target.top) return;
  const CRect d = dest.Normalized();
  const CRect clip = d.Intersect({0, 0, target.width, target.height});
  if (clip.IsEmpty() || d.IsEmpty()) return;
  const long long sw = source.GetWidth(), sh = source.GetHeight();
  const long long dw = d.Width(), dh = d.Height();
  std::vector<size_t> column(static_cast<size_t>(clip.Width()));
  for (int x = clip.left; x < clip.right; ++x)
    column[static_cast<size_t>(x - clip.left)] = static_cast<size_t>(3 * ((x - d.left) * sw / dw));
  for (int y = clip.top; y < clip.bottom; ++y) {
    const uint8_t* in = RowOf(source, static_cast<int>((y - d.top) * sh / dh));
    uint8_t* out = target.Row(y) + 3 * static_cast<ptrdiff_t>(clip.left);
    for (size_t i = 0; i < column.size(); ++i, out += 3) {
      const uint8_t* p = in + column[i];
      if (target.bgr) {
        std::memcpy(out, p, 3);
      } else {
        out[0] = p[2];
        out[1] = p[1];
        out[2] = p[0];
      }
    }
  }
}

}  // namespace pixels

namespace {

size_t BytesOf(const CRect& r) { return static_cast<size_t>(r.Width()) * r.Height() * 3; }

bool Usable(const CxImage& bitmap) { return bitmap.IsValid() && bitmap.GetBpp() == 24; }

}  // namespace

void CErasePatchStore::Clear() {
  m_steps.clear();
  m_applied = 0;
  m_bytes = 0;
}

void CErasePatchStore::DropUndone() {
  while (m_steps.size() > m_applied) {
    m_bytes -= m_steps.back().bytes;
    m_steps.pop_back();
  }
}

void CErasePatchStore::KeepWithinBudget() {
  // The oldest steps go first; once dropped, undo stops at the version before the oldest kept.
  while (m_bytes > m_budget && m_steps.size() > 1 && m_applied > 1) {
    m_bytes -= m_steps.front().bytes;
    m_steps.pop_front();
    --m_applied;
  }
}

bool CErasePatchStore::FillWhite(CxImage& bitmap, const CRect& rect) {
  if (!Usable(bitmap)) return false;
  const CRect r = pixels::OnPicture(rect, static_cast<int>(bitmap.GetWidth()),
                                    static_cast<int>(bitmap.GetHeight()));
  if (r.IsEmpty()) return false;
  Step step;
  try {
    Region region{r, std::vector<uint8_t>(BytesOf(r)), {}};
    pixels::Read(bitmap, r, region.before.data());
    step.bytes = region.before.size();
    step.regions.push_back(std::move(region));
    DropUndone();
    m_steps.push_back(std::move(step));
  } catch (const std::bad_alloc&) {
    return false;
  }
  m_bytes += m_steps.back().bytes;
  ++m_applied;
  pixels::FillWhite(bitmap, r);
  KeepWithinBudget();
  return true;
}

bool CErasePatchStore::Paste(CxImage& bitmap, const CRect& rect, const CxImage& source) {
  if (!Usable(bitmap) || !Usable(source)) return false;
  const CRect r = pixels::OnPicture(rect, static_cast<int>(bitmap.GetWidth()),
                                    static_cast<int>(bitmap.GetHeight()));
  if (r.IsEmpty() || rect.IsEmpty()) return false;
  if (m_applied == 0) {
    pixels::Stretch(source, TargetOf(bitmap), rect);
    return true;
  }
  Step& step = m_steps[m_applied - 1];
  try {
    Region region{r, std::vector<uint8_t>(BytesOf(r)), std::vector<uint8_t>(BytesOf(r))};
    pixels::Read(bitmap, r, region.before.data());
    pixels::Stretch(source, TargetOf(bitmap), rect);
    pixels::Read(bitmap, r, region.after.data());
    const size_t bytes = region.before.size() + region.after.size();
    step.regions.push_back(std::move(region));
    step.bytes += bytes;
    m_bytes += bytes;
  } catch (const std::bad_alloc&) {
    // The pixels are put down all the same; only their undo is lost.
    pixels::Stretch(source, TargetOf(bitmap), rect);
  }
  KeepWithinBudget();
  return true;
}

bool CErasePatchStore::Undo(CxImage& bitmap) {
  if (m_applied == 0 || !Usable(bitmap)) return false;
  const Step& step = m_steps[--m_applied];
  // Later changes of a step may cover earlier ones: take them back newest first.
  for (auto it = step.regions.rbegin(); it != step.regions.rend(); ++it)
    pixels::Write(bitmap, it->rect, it->before.data());
  return true;
}

bool CErasePatchStore::Redo(CxImage& bitmap) {
  if (m_applied >= m_steps.size() || !Usable(bitmap)) return false;
  const Step& step = m_steps[m_applied++];
  for (const Region& region : step.regions) {
    if (region.after.empty())
      pixels::FillWhite(bitmap, region.rect);
    else
      pixels::Write(bitmap, region.rect, region.after.data());
  }
  return true;
}
