#include "app/image/GifQuantizer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace {

constexpr int kBins = 32;  // five bits per channel

inline int BinOf(int r, int g, int b) { return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3); }

struct Box {
  int lo[3];
  int hi[3];  // inclusive
  uint64_t count;
};

int PowerOfTwoAtLeast(int n) {
  int p = 2;
  while (p < n) p *= 2;
  return p;
}

// Exact table when the picture has few colours; false as soon as a 257th colour shows up.
bool ExactColors(const CxImage& img, GifColorType colors[256], int& count,
                 std::vector<uint8_t>& indexes) {
  constexpr uint32_t kSlots = 1024, kEmpty = 0xFFFFFFFF;
  std::array<uint32_t, kSlots> keys;
  std::array<uint8_t, kSlots> values{};
  keys.fill(kEmpty);
  count = 0;
  const uint32_t w = img.GetWidth(), h = img.GetHeight();
  uint32_t lastKey = kEmpty;
  uint8_t lastValue = 0;
  for (uint32_t row = 0; row < h; ++row) {
    const uint8_t* s = img.GetBits(h - 1 - row);
    uint8_t* d = indexes.data() + size_t(row) * w;
    for (uint32_t x = 0; x < w; ++x, s += 3) {
      const uint32_t key = uint32_t(s[0]) | (uint32_t(s[1]) << 8) | (uint32_t(s[2]) << 16);
      if (key != lastKey) {
        uint32_t slot = (key * 2654435761u) >> 22;
        while (keys[slot] != kEmpty && keys[slot] != key) slot = (slot + 1) % kSlots;
        if (keys[slot] == kEmpty) {
          if (count == 256) return false;
          keys[slot] = key;
          values[slot] = uint8_t(count);
          colors[count++] = {s[2], s[1], s[0]};
        }
        lastKey = key;
        lastValue = values[slot];
      }
      d[x] = lastValue;
    }
  }
  return true;
}

}  // namespace

int QuantizeForGif(const CxImage& img, GifColorType colors[256], std::vector<uint8_t>& indexes) {
  const uint32_t w = img.GetWidth(), h = img.GetHeight();
  indexes.assign(size_t(w) * h, 0);
  int count = 0;
  if (ExactColors(img, colors, count, indexes)) {
    const int padded = PowerOfTwoAtLeast(count);
    for (int i = count; i < padded; ++i) colors[i] = {0, 0, 0};
    return padded;
  }

  // Median cut over a 32×32×32 histogram, keeping the true colour sums of each bin so the
  // table holds the mean colour of every box rather than bin centres.
  std::vector<uint32_t> hist(kBins * kBins * kBins, 0);
  std::vector<std::array<uint64_t, 3>> sums(hist.size(), {0, 0, 0});
  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t* s = img.GetBits(y);
    for (uint32_t x = 0; x < w; ++x, s += 3) {
      const int bin = BinOf(s[2], s[1], s[0]);
      ++hist[bin];
      sums[bin][0] += s[2], sums[bin][1] += s[1], sums[bin][2] += s[0];
    }
  }
  const auto at = [&](const int c[3]) { return (c[0] << 10) | (c[1] << 5) | c[2]; };
  const auto shrink = [&](Box& box) {
    int lo[3] = {kBins, kBins, kBins}, hi[3] = {-1, -1, -1};
    box.count = 0;
    int c[3];
    for (c[0] = box.lo[0]; c[0] <= box.hi[0]; ++c[0])
      for (c[1] = box.lo[1]; c[1] <= box.hi[1]; ++c[1])
        for (c[2] = box.lo[2]; c[2] <= box.hi[2]; ++c[2])
          if (const uint32_t n = hist[at(c)]) {
            box.count += n;
            for (int k = 0; k < 3; ++k)
              lo[k] = std::min(lo[k], c[k]), hi[k] = std::max(hi[k], c[k]);
          }
    if (box.count)
      for (int k = 0; k < 3; ++k) box.lo[k] = lo[k], box.hi[k] = hi[k];
  };
  std::vector<Box> boxes{{{0, 0, 0}, {kBins - 1, kBins - 1, kBins - 1}, 0}};
  shrink(boxes[0]);
  while (boxes.size() < 256) {
    // Split the most populated box that still spans more than one bin.
    int pick = -1;
    for (size_t i = 0; i < boxes.size(); ++i) {
      const Box& b = boxes[i];
      const bool splittable = b.hi[0] > b.lo[0] || b.hi[1] > b.lo[1] || b.hi[2] > b.lo[2];
      if (splittable && (pick < 0 || b.count > boxes[size_t(pick)].count)) pick = int(i);
    }
    if (pick < 0) break;
    Box box = boxes[size_t(pick)];
    int axis = 0;
    for (int k = 1; k < 3; ++k)
      if (box.hi[k] - box.lo[k] > box.hi[axis] - box.lo[axis]) axis = k;
    // Weighted median along the axis, from the box's projection onto it.
    uint64_t projection[kBins] = {};
    int c[3];
    for (c[0] = box.lo[0]; c[0] <= box.hi[0]; ++c[0])
      for (c[1] = box.lo[1]; c[1] <= box.hi[1]; ++c[1])
        for (c[2] = box.lo[2]; c[2] <= box.hi[2]; ++c[2]) projection[c[axis]] += hist[at(c)];
    uint64_t acc = 0;
    int cut = box.lo[axis];
    for (int v = box.lo[axis]; v < box.hi[axis]; ++v) {
      acc += projection[v];
      cut = v;
      if (acc * 2 >= box.count) break;
    }
    Box a = box, b = box;
    a.hi[axis] = cut;
    b.lo[axis] = cut + 1;
    shrink(a);
    shrink(b);
    boxes[size_t(pick)] = a;
    boxes.push_back(b);
  }
  count = int(boxes.size());
  for (int i = 0; i < count; ++i) {
    const Box& box = boxes[size_t(i)];
    uint64_t t[3] = {0, 0, 0};
    int c[3];
    for (c[0] = box.lo[0]; c[0] <= box.hi[0]; ++c[0])
      for (c[1] = box.lo[1]; c[1] <= box.hi[1]; ++c[1])
        for (c[2] = box.lo[2]; c[2] <= box.hi[2]; ++c[2])
          for (int k = 0; k < 3; ++k) t[k] += sums[at(c)][k];
    const uint64_t n = std::max<uint64_t>(box.count, 1);
    colors[i] = {uint8_t(t[0] / n), uint8_t(t[1] / n), uint8_t(t[2] / n)};
  }
  const int padded = PowerOfTwoAtLeast(count);
  for (int i = count; i < padded; ++i) colors[i] = {0, 0, 0};

  // Nearest table entry per bin, computed on first use from the bin's mean colour.
  std::vector<int16_t> lut(hist.size(), -1);
  for (uint32_t row = 0; row < h; ++row) {
    const uint8_t* s = img.GetBits(h - 1 - row);
    uint8_t* d = indexes.data() + size_t(row) * w;
    for (uint32_t x = 0; x < w; ++x, s += 3) {
      const int bin = BinOf(s[2], s[1], s[0]);
      if (lut[bin] < 0) {
        const uint64_t n = hist[bin];
        const int r = int(sums[bin][0] / n), g = int(sums[bin][1] / n), b = int(sums[bin][2] / n);
        int best = 0, bestDist = INT_MAX;
        for (int i = 0; i < count; ++i) {
          const int dr = colors[i].Red - r, dg = colors[i].Green - g, db = colors[i].Blue - b;
          const int dist = dr * dr + dg * dg + db * db;
          if (dist < bestDist) best = i, bestDist = dist;
        }
        lut[bin] = int16_t(best);
      }
      d[x] = uint8_t(lut[bin]);
    }
  }
  return padded;
}
