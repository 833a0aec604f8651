#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "app/pageview/CCropGesture.h"
#include "app/pageview/CErasePatchStore.h"
#include "app/pageview/CRangeGesture.h"
#include "app/pageview/CSBImage.h"
#include "app/pageview/ZoomMath.h"
#include "tests/pageview/FakePageView.h"
#include "tests/support/TempDir.h"

namespace {

// A 24-bit picture of random pixels, so any misplaced byte shows.
CxImage NoisePicture(uint32_t w, uint32_t h, unsigned seed = 7) {
  CxImage img;
  EXPECT_TRUE(img.Create(w, h, 24));
  std::mt19937 rng(seed);
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = img.GetBits(y);
    for (uint32_t x = 0; x < 3 * w; ++x) row[x] = static_cast<uint8_t>(rng() % 250);
  }
  return img;
}

std::vector<uint8_t> Bytes(const CxImage& img) {
  return {img.GetDIB(), img.GetDIB() + img.GetDIBSize()};
}

// Top-down pixel colour as 0xRRGGBB.
uint32_t Rgb(const CxImage& img, int x, int y) {
  const RGBQUAD c =
      img.GetPixelColor(static_cast<uint32_t>(x), img.GetHeight() - 1 - static_cast<uint32_t>(y));
  return (uint32_t{c.rgbRed} << 16) | (uint32_t{c.rgbGreen} << 8) | c.rgbBlue;
}

bool AllWhite(const CxImage& img, const CRect& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (Rgb(img, x, y) != 0xFFFFFF) return false;
  return true;
}

TEST(ErasePatchStore, EraseUndoRedoRoundTripsTheExactPixels) {
  CxImage bitmap = NoisePicture(64, 48);
  const std::vector<uint8_t> original = Bytes(bitmap);
  CErasePatchStore store;
  // Overlapping, partly off the picture, and turned inside out.
  ASSERT_TRUE(store.FillWhite(bitmap, {10, 10, 30, 30}));
  ASSERT_TRUE(store.FillWhite(bitmap, {50, 40, 20, 20}));
  ASSERT_TRUE(store.FillWhite(bitmap, {-5, 40, 8, 60}));
  EXPECT_TRUE(AllWhite(bitmap, {20, 20, 50, 40}));
  EXPECT_TRUE(AllWhite(bitmap, {0, 40, 8, 48}));
  EXPECT_NE(Rgb(bitmap, 9, 9), 0xFFFFFFu);
  const std::vector<uint8_t> erased = Bytes(bitmap);
  EXPECT_EQ(store.Index(), 3);
  EXPECT_EQ(store.Count(), 4);
  // Only the changed pixels are kept: 400 + 600 + 64 pixels of 3 bytes.
  EXPECT_EQ(store.Bytes(), (400u + 600u + 64u) * 3);

  while (store.Undo(bitmap)) {
  }
  EXPECT_EQ(store.Index(), 0);
  EXPECT_EQ(Bytes(bitmap), original);
  while (store.Redo(bitmap)) {
  }
  EXPECT_EQ(store.Index(), 3);
  EXPECT_EQ(Bytes(bitmap), erased);
  EXPECT_FALSE(store.Redo(bitmap));
}

TEST(ErasePatchStore, NothingOnThePictureRecordsNothing) {
  CxImage bitmap = NoisePicture(8, 8);
  CErasePatchStore store;
  EXPECT_FALSE(store.FillWhite(bitmap, {8, 0, 20, 8}));
  EXPECT_FALSE(store.FillWhite(bitmap, {3, 3, 3, 7}));
  EXPECT_EQ(store.Count(), 1);
  EXPECT_FALSE(store.Undo(bitmap));
  CxImage none;
  EXPECT_FALSE(store.FillWhite(none, {0, 0, 4, 4}));
}

TEST(ErasePatchStore, PutDownPixelsBelongToTheCurrentStep) {
  CxImage bitmap = NoisePicture(40, 40);
  const std::vector<uint8_t> original = Bytes(bitmap);
  CxImage lifted = NoisePicture(10, 10, 99);
  CErasePatchStore store;
  ASSERT_TRUE(store.FillWhite(bitmap, {0, 0, 10, 10}));
  // Stretched to twice the size and hanging over the right edge.
  ASSERT_TRUE(store.Paste(bitmap, {25, 5, 45, 25}, lifted));
  EXPECT_EQ(Rgb(bitmap, 25, 5), Rgb(lifted, 0, 0));
  EXPECT_EQ(Rgb(bitmap, 27, 7), Rgb(lifted, 1, 1));
  EXPECT_EQ(Rgb(bitmap, 39, 24), Rgb(lifted, 7, 9));
  const std::vector<uint8_t> done = Bytes(bitmap);
  EXPECT_EQ(store.Count(), 2);
  ASSERT_TRUE(store.Undo(bitmap));
  EXPECT_EQ(Bytes(bitmap), original);
  ASSERT_TRUE(store.Redo(bitmap));
  EXPECT_EQ(Bytes(bitmap), done);
}

TEST(ErasePatchStore, ANewStepDropsUndoneOnesAndTheBudgetDropsTheOldest) {
  CxImage bitmap = NoisePicture(100, 100);
  const size_t step = 10 * 10 * 3;
  CErasePatchStore store(3 * step);
  ASSERT_TRUE(store.FillWhite(bitmap, {0, 0, 10, 10}));
  ASSERT_TRUE(store.FillWhite(bitmap, {10, 0, 20, 10}));
  ASSERT_TRUE(store.Undo(bitmap));
  ASSERT_TRUE(store.FillWhite(bitmap, {20, 0, 30, 10}));
  EXPECT_EQ(store.Count(), 3);
  EXPECT_FALSE(store.Redo(bitmap));
  EXPECT_NE(Rgb(bitmap, 15, 5), 0xFFFFFFu) << "the undone erase stays undone";

  for (int i = 3; i < 8; ++i) ASSERT_TRUE(store.FillWhite(bitmap, {10 * i, 20, 10 * i + 10, 30}));
  EXPECT_LE(store.Bytes(), store.Budget());
  EXPECT_EQ(store.Count(), 4);
  EXPECT_EQ(store.Index(), 3);
  while (store.Undo(bitmap)) {
  }
  // The three newest erases are undone; older ones were let go and stay.
  EXPECT_TRUE(AllWhite(bitmap, {0, 0, 10, 10}));
  EXPECT_TRUE(AllWhite(bitmap, {40, 20, 50, 30}));
  EXPECT_FALSE(AllWhite(bitmap, {50, 20, 60, 30}));

  // A step larger than the whole budget is still kept, alone.
  ASSERT_TRUE(store.FillWhite(bitmap, {0, 50, 100, 100}));
  EXPECT_EQ(store.Count(), 2);
  ASSERT_TRUE(store.Undo(bitmap));
  EXPECT_FALSE(AllWhite(bitmap, {0, 50, 100, 51}));
}

TEST(RangeGesture, RubberBandTurnsOverAndStaysOnThePicture) {
  CSelectionRect sel;
  CRangeGesture band(sel, {50, 40}, 100, 80);
  EXPECT_EQ(band.Grabbed(), CSelectionRect::Hit::None);
  band.Move({20, 10});
  EXPECT_EQ(sel.Rect(), (CRect{20, 10, 50, 40}));
  EXPECT_TRUE(band.Finish({-30, 500}));
  EXPECT_EQ(sel.Rect(), (CRect{0, 40, 50, 80}));
}

TEST(RangeGesture, MovingKeepsTheSizeOnThePictureAndAHandleCanPassTheOtherEdge) {
  CSelectionRect sel;
  sel.SetRect({10, 10, 30, 20});
  {
    CRangeGesture move(sel, {15, 15}, 100, 80);
    EXPECT_EQ(move.Grabbed(), CSelectionRect::Hit::Inside);
    EXPECT_TRUE(move.Finish({200, 5}));
    EXPECT_EQ(sel.Rect(), (CRect{80, 0, 100, 10}));
  }
  {
    CRangeGesture still(sel, {90, 5}, 100, 80);
    EXPECT_FALSE(still.Finish({90, 5}));
  }
  // The left edge's handle sits just left of the frame; dragging it past the right edge.
  CRangeGesture resize(sel, {77, 5}, 100, 80);
  EXPECT_EQ(resize.Grabbed(), CSelectionRect::Hit::Left);
  EXPECT_TRUE(resize.Finish({120, 5}));
  EXPECT_EQ(sel.Rect(), (CRect{100, 0, 100, 10}).Normalized().Intersect({0, 0, 100, 80}));
}

TEST(CropMath, NewVersionMapsTheCropThroughThePreviousZoomAndOrigin) {
  _CROPSTATE prev;
  prev.zoom = 50;
  prev.baseZoom = 100;
  prev.source = {100, 200, 900, 1800};
  const _CROPSTATE next = zoom::CropVersion(prev, {30, 45, 10, 5});  // dragged up and left
  EXPECT_EQ(next.zoom, 50);
  EXPECT_EQ(next.baseZoom, 50);
  EXPECT_EQ(next.base, (CRect{0, 0, 20, 40}));
  EXPECT_EQ(next.zoomed, next.base);
  EXPECT_EQ(next.source, (CRect{120, 210, 160, 290}));
  // Odd sizes: the right edge is left + width × 100 / z, not the mapped right edge.
  prev.zoom = 30;
  prev.source = {0, 0, 1000, 1000};
  EXPECT_EQ(zoom::CropVersion(prev, {1, 1, 2, 2}).source, (CRect{3, 3, 6, 6}));
}

TEST(CropGesture, EachMoveReportsOnlyTheStripsBetweenOldAndNew) {
  CSBImage image;
  CCropGesture crop(image, {10, 10}, 200, 100);
  crop.Move({30, 40});
  int area = 0;
  for (const CRect& r : crop.ChangedStrips()) area += r.Width() * r.Height();
  EXPECT_EQ(area, 20 * 30);
  crop.Move({35, 30});  // wider and shorter: two strips
  ASSERT_EQ(crop.ChangedStrips().size(), 2u);
  area = 0;
  for (const CRect& r : crop.ChangedStrips()) area += r.Width() * r.Height();
  EXPECT_EQ(area, 5 * 20 + 20 * 10);
  crop.Move({500, -20});
  EXPECT_EQ(crop.Rect(), (CRect{10, 0, 200, 10}));
}

// The picture-tab object over a view without a window: what the range tool and crop mode do
// to the working bitmap, the crop versions and the history.
class RangeImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = (m_dir / "Main.bmp").string();
    ASSERT_TRUE(NoisePicture(200, 150).Save(m_path, CXIMAGE_FORMAT_BMP));
    m_image.SetPath(m_path);
    ASSERT_TRUE(m_image.Load());
    (void)m_image.ToggleTool(kToolRangeSelect);
  }
  const CxImage& Working() { return *m_view.m_state.WorkingBitmap(); }
  void Drag(CPoint from, CPoint to) {
    auto g = m_image.BeginRangeDrag(from);
    ASSERT_NE(g, nullptr);
    g->Move(to);
    (void)g->Finish(to);
  }
  int Erases() const {
    int n = 0;
    for (int i = 0; i < m_image.History().Size(); ++i)
      n += m_image.History().At(i).action == kActionErased;
    return n;
  }

  testsupport::TempDir m_dir;
  std::string m_path;
  FakePageView m_view;
  CSBImage m_image{&m_view};
};

TEST_F(RangeImageTest, EraseAtHalfZoomWhitensWhatWasSelectedOnScreen) {
  (void)m_view.m_state.SetZoom(0, 50);
  Drag({10, 5}, {30, 20});
  ASSERT_TRUE(m_image.EraseSelection());
  EXPECT_TRUE(m_image.Selection().IsEmpty());
  EXPECT_TRUE(AllWhite(Working(), {20, 10, 60, 40}));
  EXPECT_NE(Rgb(Working(), 19, 20), 0xFFFFFFu);
  EXPECT_NE(Rgb(Working(), 60, 20), 0xFFFFFFu);
  EXPECT_NE(Rgb(Working(), 30, 40), 0xFFFFFFu);
  EXPECT_EQ(Erases(), 1);
  // Nothing selected: nothing to erase.
  EXPECT_FALSE(m_image.EraseSelection());
}

TEST_F(RangeImageTest, PressInsideAndReleaseLiftsThenTheNextOutsidePressPutsItBack) {
  const std::vector<uint8_t> before = Bytes(Working());
  Drag({20, 20}, {60, 50});
  CSBImage::LiftResult lift{};
  auto press = m_image.BeginRangeDrag({30, 30}, &lift);
  ASSERT_NE(press, nullptr);
  EXPECT_EQ(lift, CSBImage::LiftResult::Lifted);
  EXPECT_FALSE(press->Finish({30, 30}));
  EXPECT_TRUE(m_image.Selection().IsFloating());
  EXPECT_TRUE(AllWhite(Working(), {20, 20, 60, 50}));
  // What is shown (and saved) still looks the same.
  EXPECT_EQ(Bytes(*m_image.Flatten()), before);

  auto outside = m_image.BeginRangeDrag({150, 120});
  ASSERT_NE(outside, nullptr);
  EXPECT_FALSE(m_image.Selection().IsFloating());
  EXPECT_EQ(Bytes(Working()), before);
  EXPECT_EQ(Erases(), 1);
  // Undoing the erase also takes back what was put down: the picture as loaded.
  ASSERT_TRUE(m_image.Undo());
  EXPECT_EQ(Bytes(Working()), before);
  EXPECT_EQ(m_view.m_state.WorkingIndex(), 0);
}

TEST_F(RangeImageTest, MovingASelectionOverAPenMarkCopiesTheMarkAndKeepsTheShape) {
  CStroke* stroke = m_image.NewStroke(PenAt(1));  // thick black
  stroke->AddPoint({30, 30});
  stroke->AddPoint({50, 30});
  stroke->Finish();
  m_image.AddShape(stroke);
  Drag({20, 20}, {60, 40});
  auto move = m_image.BeginRangeDrag({40, 35});
  ASSERT_NE(move, nullptr);
  move->Move({140, 95});
  EXPECT_TRUE(move->Finish({140, 115}));
  EXPECT_EQ(m_image.Selection().Rect(), (CRect{120, 100, 160, 120}));
  (void)m_image.ToggleTool(kToolPen);  // leaving the tool puts the pixels down
  EXPECT_FALSE(m_image.Selection().IsFloating());
  EXPECT_TRUE(m_image.Selection().IsEmpty());
  EXPECT_EQ(Rgb(Working(), 140, 110), 0x000000u) << "the mark's pixels moved with the range";
  EXPECT_TRUE(AllWhite(Working(), {20, 20, 60, 40}));
  EXPECT_EQ(m_image.Shapes().size(), 1u);
  EXPECT_TRUE(stroke->IsVisible());
}

TEST_F(RangeImageTest, UndoAndRedoOfAnEraseCommitFloatingPixelsFirst) {
  Drag({0, 0}, {10, 10});
  ASSERT_TRUE(m_image.EraseSelection());
  const std::vector<uint8_t> erased = Bytes(Working());
  Drag({100, 100}, {120, 120});
  auto lift = m_image.BeginRangeDrag({110, 110});
  ASSERT_NE(lift, nullptr);
  (void)lift->Finish({130, 110});  // moved 20 to the right, still floating
  ASSERT_TRUE(m_image.Selection().IsFloating());
  ASSERT_TRUE(m_image.Undo());
  EXPECT_TRUE(m_image.Selection().IsEmpty());
  EXPECT_FALSE(m_image.Selection().IsFloating());
  EXPECT_EQ(Bytes(Working()), erased);
  ASSERT_TRUE(m_image.Redo());
  EXPECT_TRUE(AllWhite(Working(), {100, 100, 120, 120}));
  EXPECT_NE(Rgb(Working(), 125, 110), 0xFFFFFFu);
  ASSERT_TRUE(m_image.Undo());
  ASSERT_TRUE(m_image.Undo());
  EXPECT_FALSE(AllWhite(Working(), {0, 0, 10, 10}));
  EXPECT_FALSE(m_image.Undo());
}

TEST_F(RangeImageTest, CropTwiceThenF5ShowsTheFirstCropAndOneUndoTheWholePicture) {
  (void)m_image.ToggleCrop();
  auto first = m_image.BeginCropDrag({20, 10});
  EXPECT_TRUE(first->Finish({180, 110}));
  EXPECT_EQ(m_view.m_state.Version(1).source, (CRect{20, 10, 180, 110}));
  auto second = m_image.BeginCropDrag({10, 10});
  EXPECT_TRUE(second->Finish({50, 30}));
  EXPECT_EQ(m_image.VersionIndex(), 2);
  EXPECT_EQ(m_view.m_state.Version(2).source, (CRect{30, 20, 70, 40}));
  EXPECT_EQ(m_image.EditFlag(), 0) << "crop mode stays on";

  m_image.StepVersion(-1);  // F5
  EXPECT_EQ(m_image.VersionIndex(), 1);
  ASSERT_TRUE(m_image.Undo());
  EXPECT_EQ(m_image.VersionIndex(), 0);
  EXPECT_EQ(m_view.m_state.Version(0).source, (CRect{0, 0, 200, 150}));
  ASSERT_TRUE(m_image.Redo());
  EXPECT_EQ(m_image.VersionIndex(), 1);
}

TEST_F(RangeImageTest, ACropWithoutWidthOrHeightRecordsNothing) {
  (void)m_image.ToggleCrop();
  auto none = m_image.BeginCropDrag({40, 10});
  EXPECT_FALSE(none->Finish({40, 90}));
  auto outside = m_image.BeginCropDrag({199, 10});
  EXPECT_TRUE(outside->Finish({400, 90}));  // cut to the picture: one pixel wide, still a crop
  EXPECT_EQ(m_image.VersionIndex(), 1);
  EXPECT_EQ(m_image.History().Size(), 1);
  EXPECT_FALSE(m_image.Crop({5, 5, 5, 50}));
  EXPECT_EQ(m_image.History().Size(), 1);
}

TEST_F(RangeImageTest, CropDrawSaveWritesTheCropWithTheMarksWhereTheyWereSeen) {
  (void)m_image.ToggleCrop();
  auto crop = m_image.BeginCropDrag({50, 40});
  ASSERT_TRUE(crop->Finish({150, 120}));
  m_view.m_state.ApplyZoom(m_image.VersionIndex());
  (void)m_image.ToggleCrop();
  CStroke* stroke = m_image.NewStroke(PenAt(1));
  stroke->AddPoint({10, 20});
  stroke->AddPoint({60, 20});
  stroke->Finish();
  m_image.AddShape(stroke);
  const std::string out = (m_dir / "out.bmp").string();
  m_image.SetPath(out);
  ASSERT_TRUE(m_image.Save().written);
  CxImage saved;
  ASSERT_TRUE(saved.Load(out, CXIMAGE_FORMAT_BMP));
  EXPECT_EQ(saved.GetWidth(), 100u);
  EXPECT_EQ(saved.GetHeight(), 80u);
  EXPECT_EQ(Rgb(saved, 30, 20), 0x000000u);
  EXPECT_EQ(Rgb(saved, 5, 60), Rgb(Working(), 55, 100));
  EXPECT_EQ(Rgb(saved, 90, 5), Rgb(Working(), 140, 45));
}

TEST_F(RangeImageTest, AFloatingSelectionIsSavedWhereItIsShown) {
  Drag({0, 0}, {20, 20});
  const uint32_t corner = Rgb(Working(), 5, 5);
  auto move = m_image.BeginRangeDrag({10, 10});
  ASSERT_NE(move, nullptr);
  (void)move->Finish({110, 60});
  ASSERT_TRUE(m_image.Selection().IsFloating());
  const std::optional<CxImage> flat = m_image.Flatten();
  ASSERT_TRUE(flat);
  EXPECT_EQ(Rgb(*flat, 105, 55), corner);
  EXPECT_EQ(Rgb(*flat, 5, 5), 0xFFFFFFu);
  EXPECT_TRUE(m_image.Selection().IsFloating()) << "saving leaves the selection floating";
}

TEST_F(RangeImageTest, ARangeTooLargeToLiftChangesNothing) {
  const std::vector<uint8_t> before = Bytes(Working());
  // Past the image object's budget (the zoomed screen pixels of a huge range).
  m_image.Selection().SetRect({0, 0, 20000, 20000});
  CSBImage::LiftResult lift{};
  EXPECT_EQ(m_image.BeginRangeDrag({10, 10}, &lift), nullptr);
  EXPECT_EQ(lift, CSBImage::LiftResult::TooBig);
  EXPECT_FALSE(m_image.Selection().IsFloating());
  EXPECT_TRUE(m_image.Selection().LiftRect().IsEmpty());
  EXPECT_EQ(Bytes(Working()), before);
  EXPECT_EQ(m_image.History().Size(), 0);
}

TEST_F(RangeImageTest, ChoosingTheRangeToolAgainOrCropModeDropsTheSelection) {
  Drag({0, 0}, {20, 20});
  EXPECT_TRUE(m_image.ToggleCrop());
  EXPECT_TRUE(m_image.Selection().IsEmpty());
  (void)m_image.ToggleCrop();
  (void)m_image.ToggleTool(kToolRangeSelect);
  Drag({0, 0}, {20, 20});
  EXPECT_TRUE(m_image.ToggleTool(kToolRangeSelect));
  EXPECT_EQ(m_image.Tool(), kToolNone);
  EXPECT_TRUE(m_image.Selection().IsEmpty());
}

}  // namespace
