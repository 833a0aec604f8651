// Times range erases on a page picture of 1280 x 20000 pixels as an open scrap holds it (the
// decoded picture and its 24-bit working bitmap): 20 erases of 400 x 400 ranges spread over
// the page, then 20 undos and 20 redos. The baseline is one copy of the whole working bitmap,
// what keeping a full version per erase would cost each time. Peak memory is the process's
// peak resident size, reported as a multiple of the 24-bit picture's size.
//
// Last line: ratio=<peak / picture size> ms=<median ms per erase>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/image/CxImage.h"
#include "app/pageview/CViewState.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 20000;
constexpr int kSide = 400;
constexpr int kSteps = 20;

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

long PeakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main() {
  CxImage picture;
  if (!picture.Create(kWidth, kHeight, 24)) {
    std::fprintf(stderr, "cannot make the picture\n");
    return 1;
  }
  // A page of text-like stripes, so erased ranges really change pixels.
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = picture.GetBits(static_cast<uint32_t>(y));
    for (int x = 0; x < 3 * kWidth; ++x) row[x] = static_cast<uint8_t>((x * 7 + y * 13) % 251);
  }
  CViewState state;
  if (state.BuildWorkingBitmap(picture) != CViewState::BuildResult::Ok) {
    std::fprintf(stderr, "cannot make the working bitmap\n");
    return 1;
  }

  std::vector<double> erase, undo, redo;
  for (int i = 0; i < kSteps; ++i) {
    // Down the page, alternating sides.
    const int left = (i % 3) * (kWidth - kSide) / 2;
    const int top = i * (kHeight - kSide) / (kSteps - 1);
    const auto t = Clock::now();
    if (!state.EraseRect({left, top, left + kSide, top + kSide})) return 1;
    erase.push_back(Ms(t));
  }
  for (int i = 0; i < kSteps; ++i) {
    const auto t = Clock::now();
    if (!state.StepWorkingBitmap(-1)) return 1;
    undo.push_back(Ms(t));
  }
  for (int i = 0; i < kSteps; ++i) {
    const auto t = Clock::now();
    if (!state.StepWorkingBitmap(+1)) return 1;
    redo.push_back(Ms(t));
  }
  const long peakKb = PeakKb();

  // Baseline: one whole copy of the working bitmap.
  std::vector<double> copy;
  for (int i = 0; i < 3; ++i) {
    const auto t = Clock::now();
    CxImage whole(*state.WorkingBitmap());
    copy.push_back(Ms(t));
    if (!whole.IsValid()) return 1;
  }

  const double pictureMb = 3.0 * kWidth * kHeight / (1024.0 * 1024.0);
  const double peakMb = peakKb / 1024.0;
  std::printf("page %d x %d, 24-bit picture %.1f MB; %d erases of %d x %d\n", kWidth, kHeight,
              pictureMb, kSteps, kSide, kSide);
  std::printf(
      "erase median %.3f ms (max %.3f), undo median %.3f ms (max %.3f), redo median "
      "%.3f ms (max %.3f)\n",
      Median(erase), *std::max_element(erase.begin(), erase.end()), Median(undo),
      *std::max_element(undo.begin(), undo.end()), Median(redo),
      *std::max_element(redo.begin(), redo.end()));
  std::printf(
      "undo steps hold %.1f MB; a whole-bitmap copy per erase: %.1f ms each, %d x the "
      "picture when %d are kept\n",
      state.Patches().Bytes() / (1024.0 * 1024.0), Median(copy), kSteps + 1, kSteps);
  std::printf("peak %.1f MB (picture and working bitmap included)\n", peakMb);
  std::printf("ratio=%.2f ms=%.3f\n", peakMb / pictureMb, Median(erase));
  return 0;
}
