#pragma once

#include <wx/bitmap.h>
#include <wx/window.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/document/ui/CDocView.h"
#include "app/pageview/CGesture.h"
#include "app/pageview/CSBImage.h"
#include "app/pageview/CViewState.h"
#include "app/pageview/IPageView.h"

class CClipwrenDoc;
class CCropGesture;
class CTextBoxEdit;

// The page view of a picture tab ("全体" or "コピー"): shows the working bitmap at the chosen
// zoom, scrolls it, paints the marks over it and turns mouse input into marks. Scrolling is
// done here rather than by a toolkit scrolled window, so pictures of any height scroll in
// view units without a toolkit bitmap of their size. Only the visible part is ever scaled.
class CAllView : public wxWindow, public CDocView, public IPageView {
 public:
  // `doc` defaults to the document of the run. The view registers with it as the whole
  // tab's view (id 59650) or the copy tab's (59651).
  CAllView(wxWindow* parent, int id, CClipwrenDoc* doc = nullptr);
  ~CAllView() override;

  // CDocView
  void OnUpdate(CDocView* sender, const DocUpdate& update) override;
  void OnDocumentGone() override { m_doc = nullptr; }

  // IPageView
  CViewState& State() override { return m_state; }
  void ResetView() override;
  bool BuildWorkingBitmap(const CxImage& picture) override;
  void ShowLoadedPicture() override;
  void ApplyZoom() override;
  void RepaintView() override { Refresh(false); }
  int FitToWindow(int versionIndex) override;
  void FocusView() override { SetFocus(); }
  void DrawTextBoxText(const PixelTarget& target, const ViewMapping& map,
                       const CTextBox& box) override;

  CSBImage* Image() const;
  CClipwrenDoc* Document() const { return m_doc; }
  // Scrolls so that view point `pos` is at the client area's top-left corner (limited).
  void ScrollTo(CPoint pos);
  CPoint ScrollPos() const { return m_state.ScrollPos(); }
  // Client pixels ↔ view units.
  CPoint ToView(const wxPoint& client) const;
  wxPoint ToClient(CPoint view) const;
  // Text box windows follow their boxes after scrolling or moving.
  void PlaceTextBoxWindows();
  // Paints the client area into an RGB buffer the size of the client area (also used by
  // screenshots and tests).
  void ComposeClient(std::vector<uint8_t>& rgb, int width, int height) const;
  // The whole client area as painted: picture, marks, closed text boxes, selection frames.
  wxBitmap PaintBuffer() const;
  // The pointer shape over view point `view` in tool mode (what the set-cursor handler
  // shows); Default leaves the choice to the toolkit.
  CursorKind CursorAt(CPoint view) const;
  // The 2-pixel inverted frame that follows the pointer while a text box is moved or resized
  // (view units); nullopt removes it.
  void SetFrameFeedback(std::optional<CRect> rect);
  const std::optional<CRect>& FrameFeedback() const { return m_feedback; }
  // The crop rectangle being dragged (view units), shown inverted; nullopt outside a crop drag.
  std::optional<CRect> CropFeedback() const;
  // Puts the selection's pixels (what the view shows under it) on the clipboard as a picture;
  // false when there is no selection or the clipboard cannot be opened.
  bool CopySelection();

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnScroll(wxScrollWinEvent& event);
  void OnWheel(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnEraseRange(wxCommandEvent& event);
  void OnCopyRange(wxCommandEvent& event);
  void OnUpdateRangeCommand(wxUpdateUIEvent& event);

  // A press starts a drag object; moves go to it, and it ends at the release or at the last
  // point before the capture was lost, by the same call.
  void StartGesture(std::unique_ptr<CGesture> gesture, CPoint view);
  void BeginRangeOrCrop(CSBImage& image, CPoint view);
  void MoveGesture(wxPoint client, bool shift);
  void EndGesture(CPoint view);
  void MoveCrop(CCropGesture& crop, wxPoint client);
  // The drag under way when it is a crop.
  CCropGesture* CropDrag() const;
  void EndCrop(bool cropped);
  // Crop drags scroll when the pointer leaves the visible part: one line towards it, and the
  // pointer is put on the visible edge. Returns the view point to use.
  CPoint ScrollTowards(CPoint view);
  // Paints the floating pixels of the range tool into the client buffer.
  void ComposeRange(const PixelTarget& target) const;
  void DrawRangeFrame(wxDC& dc) const;

  void UpdateScrollbars();
  void SendCommand(int id);
  void SetPane(int paneId, const wxString& text);
  // Press handling shared by every tool: text boxes and shapes under the pointer first.
  bool OfferPressToShapes(CSBImage& image, CPoint view);
  // Keeps a drawing pointer on the picture; returns the point to use.
  CPoint KeepInPicture(CPoint view);
  // Shape selection: picks the frame under the press (arrows, then strokes, then text boxes).
  void StartTracking(CSBImage& image, CPoint view);
  // A client point limited to the client area, in view units.
  CPoint KeepInClient(wxPoint client) const;
  CTextBoxEdit* EditorOf(CTextBox* box);
  bool IsOpen(CTextBox* box);
  // Hides the editor of the box that last had the press.
  void CloseFocusedBox();
  void OpenTextBox(CSBImage& image, CTextBox* box);

  CClipwrenDoc* m_doc;
  int m_tab;
  CViewState m_state;

  std::optional<CRect> m_feedback;
  CTextBox* m_focusedBox = nullptr;
  // The drag under way, if any (one at a time).
  std::unique_ptr<CGesture> m_gesture;
};
