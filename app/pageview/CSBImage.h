#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "app/pageview/CArrow.h"
#include "app/pageview/CGesture.h"
#include "app/pageview/CSelectionRect.h"
#include "app/pageview/CShapeHistory.h"
#include "app/pageview/CStroke.h"
#include "app/pageview/CTextBox.h"
#include "app/pageview/IPageView.h"

// One entry of the shape list: the drawing order of all marks, head drawn first.
struct _SHAPE {
  int shapeType = 0;
  CShape* shape = nullptr;  // not owned
};

// Tools of a picture tab.
enum PictureTool : int {
  kToolNone = -1,
  kToolShapeSelect = 0,
  kToolPen = 1,
  kToolArrow = 2,
  kToolTextBox = 3,
  kToolRangeSelect = 4,
};

// Text boxes get window ids from here on, one per box made on the tab.
inline constexpr int kFirstTextBoxId = 1043;

// The model of one picture tab: its picture file, the decoded picture, the marks drawn over
// it, the undo history, the crop version shown, the tool and the zoom. Marks exist only in
// memory; saving burns them into the picture file.
class CSBImage {
 public:
  explicit CSBImage(IPageView* view = nullptr);
  virtual ~CSBImage();
  CSBImage(const CSBImage&) = delete;
  CSBImage& operator=(const CSBImage&) = delete;

  IPageView* View() const { return m_view; }
  void SetView(IPageView* view) { m_view = view; }
  const std::string& Path() const { return m_path; }
  void SetPath(std::string path) { m_path = std::move(path); }

  // Loads the picture file (".bmp" or ".jpg" only) and has the view build its working bitmap.
  // An empty path shows no picture and succeeds.
  [[nodiscard]] bool Load();

  struct SaveOutcome {
    bool written = false;
    // The image library's message when writing failed; the caller shows it. Empty when the
    // save was skipped silently (no picture, no or unknown extension).
    std::string error;
  };
  // Burns the marks and the crop into the picture and writes it to the path; the format
  // comes from the extension (see SaveFormatForPath). The marks stay editable in memory.
  [[nodiscard]] SaveOutcome Save();
  // The picture as it would be saved: the current crop version of the working bitmap with
  // every visible mark drawn in; nullopt without a working bitmap.
  [[nodiscard]] std::optional<CxImage> Flatten();

  // Frees every shape (text box windows included) and forgets the history.
  void Clear();

  // The range selection (view units) and the pixels floating in it.
  CSelectionRect& Selection() { return m_selection; }
  const CSelectionRect& Selection() const { return m_selection; }
  // Picture pixels under a view rectangle of the current crop version.
  [[nodiscard]] CRect PictureRectOf(const CRect& view) const;
  // What the view shows over a view rectangle: the current crop version at its zoom, the
  // floating pixels and every visible mark; nullopt when no picture is loaded or the bitmap
  // cannot be made. Copying and lifting take their pixels from here.
  [[nodiscard]] std::optional<CxImage> ComposeView(const CRect& view) const;
  enum class LiftResult { Lifted, AlreadyFloating, Nothing, TooBig };
  // Lifts the selection: what the view shows under it floats, and the picture beneath is
  // erased (one erase step). TooBig leaves everything as it was.
  [[nodiscard]] LiftResult LiftSelection();
  // Puts floating pixels down into the working bitmap, stretched to the selection's picture
  // pixels, as part of the current erase step (no history entry); false when none float.
  bool CommitLifted();
  // The selection's rectangle leaves: floating pixels are put down first.
  void CommitAndClearSelection();
  // Erases the lift rectangle (the selection when nothing is lifted) to white and records it.
  // False, with the picture unchanged, when there is no selection or the step cannot be kept.
  [[nodiscard]] bool EraseRange();
  // The erase command: erases, then the selection and any floating pixels are gone.
  [[nodiscard]] bool EraseSelection();
  // A press of the range tool at a view point on the picture: outside the selection it puts
  // floating pixels down and starts a new rubber band; on the selection it lifts the pixels
  // (once) and starts moving or resizing it. nullptr when the lift failed (`lift` tells why).
  [[nodiscard]] std::unique_ptr<CGesture> BeginRangeDrag(CPoint view, LiftResult* lift = nullptr);
  // A press in crop mode at a view point on the picture.
  [[nodiscard]] std::unique_ptr<CGesture> BeginCropDrag(CPoint view);
  // Crops the current version to a view rectangle (cut to the picture) as a new crop version
  // and records it; a rectangle without width or height does nothing.
  bool Crop(const CRect& view);

  CStroke* NewStroke(const PenDef& pen);
  CArrow* NewArrow();
  CTextBox* NewTextBox();
  // A finished shape enters the shape list and the history (placed).
  void AddShape(CShape* shape);
  void Record(const _HISITEM& item) { m_history.Record(item); }

  // Undo and redo the last step; false when there is none.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return m_history.CanUndo() && IsLoaded(); }
  bool CanRedo() const { return m_history.CanRedo() && IsLoaded(); }
  // Hides every selected shape, recording one deletion each in list order; returns the count.
  int DeleteSelected();
  void DeselectAll();
  void SetTextBoxMoveMode(bool on);

  // Tool commands. Choosing the active tool again switches drawing off.
  // Returns true when the view must repaint (range selection was left).
  bool ToggleTool(int tool);
  // Crop mode on from tool mode (tool none), back to tool mode otherwise.
  bool ToggleCrop();
  int Tool() const { return m_tool; }
  int EditFlag() const { return m_editFlag; }

  int Zoom() const { return m_zoom; }
  void SetZoom(int zoom) { m_zoom = zoom; }
  int VersionIndex() const { return m_versionIndex; }
  void SetVersionIndex(int index);
  // One crop version back (F5 and crop undo) or forward (crop redo).
  void StepVersion(int delta);

  const CxImage& Picture() const { return m_picture; }
  bool HasPicture() const { return m_picture.IsValid(); }
  bool IsLoaded() const { return m_loaded && HasPicture(); }
  bool IsFromFile() const { return m_fromFile; }

  const std::vector<_SHAPE>& Shapes() const { return m_shapes; }
  const std::vector<std::unique_ptr<CStroke>>& Strokes() const { return m_strokes; }
  const std::vector<std::unique_ptr<CArrow>>& Arrows() const { return m_arrows; }
  const std::vector<std::unique_ptr<CTextBox>>& TextBoxes() const { return m_textBoxes; }
  const CShapeHistory& History() const { return m_history; }
  int TextBoxCount() const { return m_textBoxCount; }

 private:
  void ApplyUndo(const _HISITEM& item);
  void ApplyRedo(const _HISITEM& item);
  void ShowShape(CShape* shape, bool show);

  std::string m_path;
  IPageView* m_view;
  int m_editFlag = 1;
  int m_versionIndex = 0;
  int m_previousVersionIndex = 0;
  int m_zoom = 100;
  CxImage m_picture;
  bool m_fromFile = false;
  bool m_loaded = false;
  int m_tool = kToolNone;
  std::vector<_SHAPE> m_shapes;
  std::vector<std::unique_ptr<CStroke>> m_strokes;
  std::vector<std::unique_ptr<CArrow>> m_arrows;
  std::vector<std::unique_ptr<CTextBox>> m_textBoxes;
  int m_textBoxCount = 0;
  CShapeHistory m_history;
  CSelectionRect m_selection;
};

// The format code a ".pdf" path asks the image object for.
inline constexpr uint32_t kSaveFormatPdf = 256;

// The image format for a picture path's extension when saving (bmp, jpg/jpeg, gif, pdf); 0
// when the extension names none of them.
uint32_t SaveFormatForPath(const std::string& path);
