#include "app/pageview/CSBImage.h"

#include <gtest/gtest.h>

#include "app/pageview/MarkRaster.h"
#include "tests/pageview/FakePageView.h"
#include "tests/support/TempDir.h"

namespace {

// A picture whose pixels tell where they are: red = x, green = y (both below 256).
CxImage PositionPicture(uint32_t w, uint32_t h) {
  CxImage img;
  EXPECT_TRUE(img.Create(w, h, 24));
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = img.GetBits(h - 1 - y);
    for (uint32_t x = 0; x < w; ++x) {
      row[3 * x] = 50;
      row[3 * x + 1] = static_cast<uint8_t>(y);
      row[3 * x + 2] = static_cast<uint8_t>(x);
    }
  }
  return img;
}

// Top-down pixel access.
RGBQUAD At(const CxImage& img, int x, int y) {
  return img.GetPixelColor(static_cast<uint32_t>(x), img.GetHeight() - 1 - static_cast<uint32_t>(y));
}

class CSBImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = (m_dir / "Main.bmp").string();
    CxImage pic = PositionPicture(200, 150);
    ASSERT_TRUE(pic.Save(m_path, CXIMAGE_FORMAT_BMP));
    m_image.SetPath(m_path);
    ASSERT_TRUE(m_image.Load());
  }

  CStroke* AddStroke(std::initializer_list<CPoint> pts, int pen = 0) {
    CStroke* s = m_image.NewStroke(PenAt(pen));
    for (CPoint p : pts) s->AddPoint(p);
    s->Finish();
    m_image.AddShape(s);
    return s;
  }

  testsupport::TempDir m_dir;
  std::string m_path;
  FakePageView m_view;
  CSBImage m_image{&m_view};
};

TEST_F(CSBImageTest, LoadBuildsWorkingBitmapAtZoom100) {
  EXPECT_TRUE(m_image.IsLoaded());
  EXPECT_TRUE(m_image.IsFromFile());
  EXPECT_EQ(m_image.Zoom(), 100);
  EXPECT_EQ(m_view.m_state.ExtentWidth(), 200);
  EXPECT_EQ(m_view.shown, 1);
}

TEST_F(CSBImageTest, EmptyPathShowsNoPictureWithZoomZero) {
  CSBImage empty(&m_view);
  EXPECT_TRUE(empty.Load());
  EXPECT_EQ(empty.Zoom(), 0);
  EXPECT_FALSE(empty.IsLoaded());
  EXPECT_EQ(m_view.m_state.ExtentWidth(), 0);
}

TEST_F(CSBImageTest, OnlyBmpAndJpgLoad) {
  const std::string png = (m_dir / "Main.png").string();
  // BMP content under a .png name: the extension alone decides.
  ASSERT_TRUE(PositionPicture(10, 10).Save(png, CXIMAGE_FORMAT_BMP));
  CSBImage other(&m_view);
  other.SetPath(png);
  EXPECT_FALSE(other.Load());
  EXPECT_FALSE(other.IsLoaded());
  other.SetPath((m_dir / "missing.jpg").string());
  EXPECT_FALSE(other.Load());
  EXPECT_FALSE(other.IsLoaded());
}

TEST_F(CSBImageTest, UndoAllThreeRedoTwo) {
  CStroke* a = AddStroke({{1, 1}, {10, 1}});
  CStroke* b = AddStroke({{1, 5}, {10, 5}});
  CStroke* c = AddStroke({{1, 9}, {10, 9}});
  EXPECT_TRUE(m_image.Undo());
  EXPECT_TRUE(m_image.Undo());
  EXPECT_TRUE(m_image.Undo());
  EXPECT_FALSE(m_image.Undo());
  EXPECT_FALSE(m_image.CanUndo());
  EXPECT_TRUE(m_image.Redo());
  EXPECT_TRUE(m_image.Redo());
  EXPECT_TRUE(a->IsVisible());
  EXPECT_TRUE(b->IsVisible());
  EXPECT_FALSE(c->IsVisible());
  EXPECT_TRUE(m_image.CanRedo());
  EXPECT_TRUE(m_image.Redo());
  EXPECT_TRUE(c->IsVisible());
  EXPECT_FALSE(m_image.CanRedo());
}

TEST_F(CSBImageTest, NewShapeAfterUndoDropsTheUndoneSteps) {
  AddStroke({{1, 1}, {10, 1}});
  CStroke* b = AddStroke({{1, 5}, {10, 5}});
  ASSERT_TRUE(m_image.Undo());
  AddStroke({{1, 9}, {10, 9}});
  EXPECT_FALSE(m_image.CanRedo());
  EXPECT_EQ(m_image.History().Size(), 2);
  ASSERT_TRUE(m_image.Undo());
  ASSERT_TRUE(m_image.Undo());
  EXPECT_FALSE(m_image.CanUndo());
  EXPECT_FALSE(b->IsVisible());  // the dropped step is never re-applied
}

TEST_F(CSBImageTest, DeletingTwoRecordsTwoAndUndoRestoresTheLastInListOrder) {
  CStroke* a = AddStroke({{1, 1}, {10, 1}});
  CStroke* b = AddStroke({{1, 5}, {10, 5}});
  a->SetSelected(true);
  b->SetSelected(true);
  EXPECT_EQ(m_image.DeleteSelected(), 2);
  EXPECT_EQ(m_image.History().Size(), 4);
  EXPECT_EQ(m_image.History().At(3).action, kActionDeleted);
  ASSERT_TRUE(m_image.Undo());
  EXPECT_FALSE(a->IsVisible());
  EXPECT_TRUE(b->IsVisible());
}

TEST_F(CSBImageTest, ToolCommandsToggleAndKeepEditFlag) {
  EXPECT_EQ(m_image.Tool(), kToolNone);
  m_image.ToggleTool(kToolArrow);
  EXPECT_EQ(m_image.Tool(), kToolArrow);
  m_image.ToggleTool(kToolPen);
  EXPECT_EQ(m_image.Tool(), kToolPen);
  m_image.ToggleTool(kToolPen);
  EXPECT_EQ(m_image.Tool(), kToolNone);
  CTextBox* box = m_image.NewTextBox();
  m_image.ToggleTool(kToolShapeSelect);
  EXPECT_TRUE(box->IsMoveMode());
  EXPECT_FALSE(m_image.ToggleTool(kToolTextBox));
  EXPECT_FALSE(box->IsMoveMode());
  m_image.ToggleTool(kToolRangeSelect);
  EXPECT_TRUE(m_image.ToggleCrop());  // leaving range selection asks for a repaint
  EXPECT_EQ(m_image.EditFlag(), 0);
  EXPECT_EQ(m_image.Tool(), kToolNone);
  m_image.ToggleTool(kToolPen);
  EXPECT_EQ(m_image.EditFlag(), 1);
}

TEST_F(CSBImageTest, SaveToPngWritesNothing) {
  const std::string png = (m_dir / "out.png").string();
  m_image.SetPath(png);
  const auto outcome = m_image.Save();
  EXPECT_FALSE(outcome.written);
  EXPECT_TRUE(outcome.error.empty());
  EXPECT_FALSE(std::filesystem::exists(png));
}

TEST_F(CSBImageTest, SaveToPdfIsRefusedWithTheImageObjectsText) {
  // The format exists for PDF output, which the image object cannot encode: the user hears
  // why nothing was written instead of nothing at all.
  const std::string pdf = (m_dir / "out.PDF").string();
  m_image.SetPath(pdf);
  const auto outcome = m_image.Save();
  EXPECT_FALSE(outcome.written);
  EXPECT_EQ(outcome.error, "Encode: Unknown format");
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_EQ(SaveFormatForPath(pdf), 256u);
}

TEST_F(CSBImageTest, SaveBurnsMarksAndReloadHasNoShapes) {
  AddStroke({{20, 30}, {60, 30}}, 0);  // black 2 px
  CArrow* arrow = m_image.NewArrow();
  arrow->Start({100, 100});
  arrow->SetEnd({150, 100});
  arrow->Finish();
  m_image.AddShape(arrow);
  ASSERT_TRUE(m_image.Save().written);

  CxImage saved;
  ASSERT_TRUE(saved.Load(m_path, CXIMAGE_FORMAT_BMP));
  EXPECT_EQ(At(saved, 40, 30).rgbRed, 0);
  EXPECT_EQ(At(saved, 40, 30).rgbGreen, 0);
  EXPECT_EQ(At(saved, 40, 29).rgbRed, 0);
  EXPECT_EQ(At(saved, 40, 32).rgbRed, 40);  // untouched below the 2-pixel line
  EXPECT_EQ(At(saved, 125, 100).rgbGreen, 0);  // shaft
  EXPECT_EQ(At(saved, 145, 100).rgbGreen, 0);  // head
  EXPECT_EQ(At(saved, 140, 102).rgbGreen, 0);
  EXPECT_EQ(At(saved, 120, 104).rgbGreen, 104);  // beside the shaft, behind the head

  CSBImage reopened(&m_view);
  reopened.SetPath(m_path);
  ASSERT_TRUE(reopened.Load());
  EXPECT_TRUE(reopened.Shapes().empty());
  EXPECT_EQ(At(*m_view.m_state.WorkingBitmap(), 40, 30).rgbRed, 0);
}

TEST_F(CSBImageTest, MarksAfterCropLandOnThePixelsTheyCovered) {
  // Crop to picture pixels 50…150 × 40…120, shown at 100 %.
  _CROPSTATE crop;
  crop.source = {50, 40, 150, 120};
  crop.base = crop.zoomed = {0, 0, 100, 80};
  m_image.SetVersionIndex(m_view.m_state.AddVersionAfter(0, crop));
  // On screen view point (10, 20) shows picture pixel (60, 60).
  AddStroke({{10, 20}, {30, 20}}, 2);  // red
  ASSERT_TRUE(m_image.Save().written);
  CxImage saved;
  ASSERT_TRUE(saved.Load(m_path, CXIMAGE_FORMAT_BMP));
  EXPECT_EQ(saved.GetWidth(), 100u);
  EXPECT_EQ(saved.GetHeight(), 80u);
  EXPECT_EQ(At(saved, 0, 0).rgbRed, 50);
  EXPECT_EQ(At(saved, 0, 0).rgbGreen, 40);
  EXPECT_EQ(At(saved, 20, 20).rgbRed, 255);
  EXPECT_EQ(At(saved, 20, 20).rgbGreen, 0);
  EXPECT_EQ(At(saved, 20, 23).rgbGreen, 63);  // the pixel of picture row 63, unmarked
}

TEST_F(CSBImageTest, MarksAtZoomFiftyCoverTwiceThePicturePixels) {
  m_view.m_state.SetZoom(0, 50);
  AddStroke({{10, 10}, {40, 10}}, 0);
  auto flat = m_image.Flatten();
  ASSERT_TRUE(flat);
  // View 10…40 at 50 % is picture 20…82; the pen's 2 view pixels are 4 picture pixels.
  EXPECT_EQ(At(*flat, 22, 21).rgbRed, 0);
  EXPECT_EQ(At(*flat, 80, 19).rgbRed, 0);
  EXPECT_EQ(At(*flat, 50, 17).rgbRed, 50);
  EXPECT_EQ(At(*flat, 50, 24).rgbRed, 50);
}

TEST_F(CSBImageTest, HiddenShapesAndTextBoxesInFlattening) {
  CStroke* hidden = AddStroke({{5, 5}, {50, 5}});
  hidden->SetSelected(true);
  ASSERT_EQ(m_image.DeleteSelected(), 1);
  CTextBox* box = m_image.NewTextBox();
  box->SetRect({100, 50, 120, 60});
  m_image.AddShape(box);
  EXPECT_EQ(m_image.TextBoxCount(), 1);
  EXPECT_EQ(m_image.NewTextBox()->WindowId(), kFirstTextBoxId + 1);
  auto flat = m_image.Flatten();
  ASSERT_TRUE(flat);
  EXPECT_EQ(At(*flat, 20, 5).rgbRed, 20);  // the deleted stroke is not drawn
  EXPECT_EQ(At(*flat, 110, 55).rgbBlue, 255);
}

TEST_F(CSBImageTest, CropUndoStepsVersionsBack) {
  _CROPSTATE crop;
  crop.source = {10, 10, 60, 60};
  crop.base = crop.zoomed = {0, 0, 50, 50};
  m_image.SetVersionIndex(m_view.m_state.AddVersionAfter(0, crop));
  m_image.Record({0, nullptr, kActionCropped});
  EXPECT_EQ(m_image.VersionIndex(), 1);
  ASSERT_TRUE(m_image.Undo());
  EXPECT_EQ(m_image.VersionIndex(), 0);
  ASSERT_TRUE(m_image.Redo());
  EXPECT_EQ(m_image.VersionIndex(), 1);
  EXPECT_GE(m_view.zoomApplied, 2);
}

}  // namespace
