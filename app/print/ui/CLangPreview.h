#pragma once

#include <functional>

#include <wx/print.h>
#if defined(__WXGTK__) && wxUSE_GTKPRINT
#include <wx/gtk/print.h>
#endif

// The toolkit's own preview class, not its forwarding wrapper: the preview window paints through
// the object it is given, so the two-page painting below is only reached this way.
#if defined(__WXGTK__) && wxUSE_GTKPRINT
using NativePrintPreview = wxGtkPrintPreview;
#else
using NativePrintPreview = wxPrintPreview;
#endif

// The print preview with the program's own control bar: "印刷", "次のペ-ジ", "前のペ-ジ", one or
// two pages, "拡大" (the default button, with the focus), "縮小" and "閉じる". Two-page mode shows
// the current page and the next side by side.
class CLangPreview : public NativePrintPreview {
 public:
  using NativePrintPreview::NativePrintPreview;

  bool PaintPage(wxPreviewCanvas* canvas, wxDC& dc) override;
  // Every way of turning the page (the buttons, the keys, the wheel) ends here.
  bool SetCurrentPage(int page) override;
  bool RenderPage(int page) override;
  void AdjustScrollbars(wxPreviewCanvas* canvas) override;

  bool TwoPages() const { return m_twoPages; }
  void SetTwoPages(bool two);
  // The zoom steps offered by "拡大" and "縮小", in percent.
  static const int kZoomSteps[];
  static const int kZoomStepCount;
  void ZoomBy(int steps);
  // Sets the zoom at which the whole page, or both pages side by side, fill the canvas. The
  // preview starts that way and keeps fitting until "拡大" or "縮小" chooses a zoom.
  void FitPages();
  bool FitsWholePages() const { return m_fitWhole; }
  // What the preview shows, in the program's words: "ページ 3", or "ページ 3-4" while two pages
  // show side by side.
  wxString PageDescription() const;
  // Called whenever the page description changes.
  std::function<void()> onPagesShown;

 private:
  // The page beside the current one is kept rendered until the page, the zoom or the size
  // changes, as the toolkit keeps the current one.
  const wxBitmap* PageBitmap(int page, const wxSize& size);

  bool m_twoPages = false;
  bool m_fitWhole = true;
  int m_fitZoom = 0;  // the zoom whole pages had when last fitted
  wxBitmap m_nextBitmap;
  int m_nextPage = 0;
  int m_nextZoom = 0;
};

// The preview window. `onPrint` runs after the preview has closed when "印刷" was pressed;
// `onClosed` runs whenever it closes (the page view returns to where it was).
class CLangPreviewFrame : public wxPreviewFrame {
 public:
  // Button ids of the control bar.
  enum : int {
    kIdClose = 58112,
    kIdOnePageTwoPages = 58113,
    kIdNext = 58114,
    kIdPrevious = 58115,
    kIdPrint = 58116,
    kIdZoomIn = 58117,
    kIdZoomOut = 58118,
  };

  CLangPreviewFrame(CLangPreview* preview, wxWindow* parent, const wxString& title);
  ~CLangPreviewFrame() override;

  void CreateControlBar() override;

  std::function<void()> onPrint;
  std::function<void()> onClosed;

 private:
  friend class CLangPreviewControlBar;
  bool m_printAfterClose = false;
};
