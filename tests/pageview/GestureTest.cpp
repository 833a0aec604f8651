#include <gtest/gtest.h>

#include "app/pageview/CArrowGesture.h"
#include "app/pageview/CPenGesture.h"
#include "app/pageview/CSBImage.h"
#include "app/pageview/CShapeMoveGesture.h"
#include "app/pageview/CTextBoxFrameGesture.h"
#include "app/pageview/CTextBoxGesture.h"

namespace {

// The drags of the drawing tools without a window: what each leaves in the picture tab.

TEST(Gestures, APenStrokeHeldWithShiftKeepsTheFirstAxisUntilShiftIsLetGo) {
  CSBImage image;
  CPenGesture pen(image, PenAt(0), {10, 10});
  pen.SetShift(true);
  pen.Move({30, 14});  // mostly sideways: y is kept
  pen.Move({50, 40});
  EXPECT_EQ(pen.LastAdded(), (CPoint{50, 10}));
  EXPECT_TRUE(pen.Finish({70, 90}));
  ASSERT_EQ(image.Shapes().size(), 1u);
  EXPECT_EQ(pen.Stroke().Points().back(), (CPoint{70, 10}));
  EXPECT_EQ(image.History().Size(), 1);

  CPenGesture free(image, PenAt(0), {10, 10});
  free.SetShift(true);
  free.Move({12, 30});  // mostly down: x is kept
  free.SetShift(false);
  free.Move({40, 50});
  EXPECT_EQ(free.LastAdded(), (CPoint{40, 50}));
}

TEST(Gestures, ArrowsAndTextBoxesEnterTheListOnlyWhenTheDragEnds) {
  CSBImage image;
  CArrowGesture arrow(image, {100, 100});
  arrow.Move({50, 150});
  EXPECT_TRUE(image.Shapes().empty());
  EXPECT_TRUE(arrow.Finish({40, 160}));
  EXPECT_EQ(arrow.Arrow().Rect(), (CRect{40, 100, 100, 160}));
  CTextBoxGesture click(image, {300, 60});
  EXPECT_TRUE(click.Finish({303, 62}));
  EXPECT_EQ(click.Box()->Rect(), (CRect{300, 60, 420, 140}));
  EXPECT_EQ(image.Shapes().size(), 2u);
}

TEST(Gestures, AShapeMoveThatChangesNothingSelectsEveryMarkUnderThePress) {
  CSBImage image;
  CArrowGesture a(image, {10, 10});
  (void)a.Finish({60, 60});
  CArrowGesture b(image, {10, 60});
  (void)b.Finish({60, 10});
  CShape* first = image.Shapes()[0].shape;
  CShape* second = image.Shapes()[1].shape;
  {
    CShapeMoveGesture still(std::vector<CShape*>{first, second}, CShapeRectTracker::Hit::Inside,
                            {35, 35});
    EXPECT_FALSE(still.Finish({35, 35}));
    EXPECT_TRUE(first->IsSelected());
    EXPECT_TRUE(second->IsSelected());
  }
  image.DeselectAll();
  CShapeMoveGesture move(std::vector<CShape*>{first, second}, CShapeRectTracker::Hit::Inside,
                         {35, 35});
  move.Move({40, 45});
  EXPECT_TRUE(move.Finish({45, 55}));
  EXPECT_EQ(first->TrackerRect(), (CRect{20, 30, 70, 80}));
  EXPECT_FALSE(second->IsSelected());
}

TEST(Gestures, AnOpenTextBoxDraggedByItsWindowChangesOnlyWhenTheDragEnds) {
  CSBImage image;
  CTextBox* box = image.NewTextBox();
  box->SetRect({100, 100, 220, 180});
  CTextBoxFrameGesture resize(*box, textbox::Grip::BottomRight, {220, 180});
  resize.Move({260, 200});
  EXPECT_EQ(resize.Rect(), (CRect{100, 100, 260, 200}));
  EXPECT_EQ(box->Rect(), (CRect{100, 100, 220, 180})) << "only the frame follows the pointer";
  EXPECT_TRUE(resize.Finish({250, 190}));
  EXPECT_EQ(box->Rect(), (CRect{100, 100, 250, 190}));

  CTextBoxFrameGesture move(*box, textbox::Grip::None, {150, 150});
  EXPECT_FALSE(move.Finish({150, 150}));
  // Squeezed to nothing by its left edge: the box stays as it was.
  CTextBoxFrameGesture squeeze(*box, textbox::Grip::Left, {100, 150});
  EXPECT_FALSE(squeeze.Finish({250, 150}));
  EXPECT_EQ(box->Rect(), (CRect{100, 100, 250, 190}));
}

}  // namespace
