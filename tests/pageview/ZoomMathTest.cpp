#include "app/pageview/ZoomMath.h"

#include <gtest/gtest.h>

#include "app/pageview/CViewState.h"

namespace {

struct StepCase {
  int from;
  int in;
  int out;
};

class ZoomStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(ZoomStepTest, StepsStayInRange) {
  EXPECT_EQ(zoom::ZoomIn(GetParam().from), GetParam().in);
  EXPECT_EQ(zoom::ZoomOut(GetParam().from), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Edges, ZoomStepTest,
                         ::testing::Values(StepCase{15, 25, 5}, StepCase{11, 21, 1},
                                           StepCase{10, 20, 1}, StepCase{1, 11, 1},
                                           StepCase{995, 1000, 985}, StepCase{1000, 1000, 990},
                                           StepCase{100, 110, 90}));

TEST(ZoomMath, ClampLimitsTypedZoom) {
  EXPECT_EQ(zoom::Clamp(0), 1);
  EXPECT_EQ(zoom::Clamp(-50), 1);
  EXPECT_EQ(zoom::Clamp(1001), 1000);
  EXPECT_EQ(zoom::Clamp(250), 250);
}

TEST(ZoomMath, FitUsesWidthForWidePicturesAndHeightOtherwise) {
  // 1000 × 500 into 800 × 800: relatively wider than the window → width decides.
  EXPECT_EQ(zoom::Fit({0, 0, 1000, 500}, 100, 800, 800), 80);
  // 1280 × 20000 into 1000 × 800: the height decides, 800 × 100 / 20000 = 4.
  EXPECT_EQ(zoom::Fit({0, 0, 1280, 20000}, 100, 1000, 800), 4);
  // A base zoom other than 100 scales the result: 400 px drawn at 50 % into 800 → 100.
  EXPECT_EQ(zoom::Fit({0, 0, 400, 100}, 50, 800, 800), 100);
  // No limits: a small picture in a large window may exceed 1000.
  EXPECT_EQ(zoom::Fit({0, 0, 10, 10}, 100, 2000, 2000), 20000);
}

TEST(ZoomMath, RescaleKeepsCornerAndTruncates) {
  EXPECT_EQ(zoom::Rescale({5, 7, 1005, 307}, 100, 90), (CRect{5, 7, 905, 277}));
  EXPECT_EQ(zoom::Rescale({0, 0, 333, 333}, 100, 100), (CRect{0, 0, 333, 333}));
  EXPECT_EQ(zoom::Rescale({0, 0, 999, 10}, 90, 80), (CRect{0, 0, 888, 8}));
}

TEST(ZoomMath, ViewToPictureMovesByCropOrigin) {
  EXPECT_EQ(zoom::ViewToPicture({10, 20, 30, 40}, 100, {100, 200}), (CRect{110, 220, 130, 240}));
  EXPECT_EQ(zoom::ViewToPicture({10, 20, 30, 41}, 50, {0, 0}), (CRect{20, 40, 60, 82}));
  EXPECT_EQ(zoom::ViewToPicture({10, 20, 30, 40}, 0, {0, 0}), CRect{});
}

CxImage Picture(uint32_t w, uint32_t h) {
  CxImage img;
  EXPECT_TRUE(img.Create(w, h, 24));
  return img;
}

TEST(ViewStateZoom, ChainOfStepsMayDriftButBaseZoomIsExact) {
  CViewState state;
  ASSERT_EQ(state.BuildWorkingBitmap(Picture(999, 777)), CViewState::BuildResult::Ok);
  state.ApplyZoom(0);
  EXPECT_EQ(state.ExtentWidth(), 999);
  EXPECT_EQ(state.ZoomOut(0), 90);
  EXPECT_EQ(state.ZoomOut(0), 80);
  EXPECT_EQ(state.ZoomIn(0), 90);
  // 999 → 899 → 799 → 898, while 90 % reached directly is 899.
  EXPECT_EQ(state.ExtentWidth(), 898);
  EXPECT_EQ(zoom::Rescale({0, 0, 999, 777}, 100, 90).Width(), 899);
  EXPECT_EQ(state.ZoomIn(0), 100);
  EXPECT_EQ(state.ExtentWidth(), 999);
  EXPECT_EQ(state.ExtentHeight(), 777);
}

TEST(ViewStateZoom, FitStoresZoomAndExtent) {
  CViewState state;
  ASSERT_EQ(state.BuildWorkingBitmap(Picture(1280, 20000)), CViewState::BuildResult::Ok);
  EXPECT_EQ(state.FitToWindow(0, 1000, 800), 4);
  EXPECT_EQ(state.ExtentWidth(), 51);
  EXPECT_EQ(state.ExtentHeight(), 800);
  EXPECT_EQ(state.SetZoom(0, 5000), 1000);
  EXPECT_EQ(state.Version(0).zoom, 1000);
}

TEST(ViewState, EmptyPictureBuildsNothing) {
  CViewState state;
  EXPECT_EQ(state.BuildWorkingBitmap(CxImage()), CViewState::BuildResult::Empty);
  EXPECT_EQ(state.WorkingBitmap(), nullptr);
  EXPECT_EQ(state.WorkingIndex(), -1);
  EXPECT_TRUE(state.Version(0).source.IsEmpty());
}

TEST(ViewState, WorkingBitmapIsA24BitCopyOfAnyDepth) {
  CxImage gray;
  ASSERT_TRUE(gray.Create(4, 3, 8));
  gray.SetGrayPalette();
  gray.SetPixelIndex(1, 2, 200);
  CViewState state;
  ASSERT_EQ(state.BuildWorkingBitmap(gray), CViewState::BuildResult::Ok);
  const CxImage* wb = state.WorkingBitmap();
  ASSERT_NE(wb, nullptr);
  EXPECT_EQ(wb->GetBpp(), 24u);
  EXPECT_EQ(wb->GetPixelColor(1, 2).rgbRed, 200);
  EXPECT_EQ(state.Version(0).source, (CRect{0, 0, 4, 3}));
  EXPECT_EQ(state.WorkingCount(), 1);
}

TEST(ViewState, CropTableKeepsVersionZeroWhenFull) {
  CViewState state;
  ASSERT_EQ(state.BuildWorkingBitmap(Picture(50, 50)), CViewState::BuildResult::Ok);
  int index = 0;
  for (int i = 1; i <= CViewState::kMaxCropVersions + 3; ++i) {
    _CROPSTATE crop;
    crop.source = {i, 0, 50, 50};
    index = state.AddVersionAfter(index, crop);
  }
  EXPECT_EQ(state.VersionCount(), CViewState::kMaxCropVersions);
  EXPECT_EQ(index, CViewState::kMaxCropVersions - 1);
  EXPECT_EQ(state.Version(0).source, (CRect{0, 0, 50, 50}));
  EXPECT_EQ(state.Version(index).source.left, CViewState::kMaxCropVersions + 3);
  // A crop after stepping back replaces the later versions.
  EXPECT_EQ(state.AddVersionAfter(1, _CROPSTATE{}), 2);
  EXPECT_EQ(state.VersionCount(), 3);
}

}  // namespace
