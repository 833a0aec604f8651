#include "app/print/ui/CLangPreview.h"

#include <algorithm>
#include <string>

#include <wx/button.h>
#include <wx/dc.h>
#include <wx/display.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include "app/res/Resource.h"
#include "app/res/StringTable.h"

namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// Space between the two pages of the two-page view, in canvas pixels.
constexpr int kPageGap = 16;

// The preview covers its owner: the owner's place and size, kept inside the work area of the
// owner's screen (left to the window manager it opened below the owner, partly off screen).
wxRect PreviewPlace(wxWindow* parent) {
  wxWindow* owner = parent ? wxGetTopLevelParent(parent) : nullptr;
  const int index = owner ? wxDisplay::GetFromWindow(owner) : wxNOT_FOUND;
  const wxRect area = wxDisplay(index == wxNOT_FOUND ? 0u : unsigned(index)).GetClientArea();
  wxRect place = owner ? owner->GetRect() : wxRect(wxPoint(), wxSize(900, 700)).CentreIn(area);
  place.width = std::min(place.width, area.width);
  place.height = std::min(place.height, area.height);
  place.x = std::clamp(place.x, area.x, area.GetRight() + 1 - place.width);
  place.y = std::clamp(place.y, area.y, area.GetBottom() + 1 - place.height);
  return place;
}

}  // namespace

const int CLangPreview::kZoomSteps[] = {10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75,
                                        80, 85, 90, 95, 100, 110, 120, 150, 200};
const int CLangPreview::kZoomStepCount = int(std::size(kZoomSteps));

void CLangPreview::SetTwoPages(bool two) {
  m_twoPages = two;
  if (m_fitWhole) FitPages();
  if (wxPreviewCanvas* canvas = GetCanvas()) {
    AdjustScrollbars(canvas);
    canvas->Refresh();
  }
  if (onPagesShown) onPagesShown();
}

bool CLangPreview::RenderPage(int page) {
  // The toolkit writes its own page text into the status bar here; ours replaces it.
  const bool rendered = NativePrintPreview::RenderPage(page);
  if (onPagesShown) onPagesShown();
  return rendered;
}

bool CLangPreview::SetCurrentPage(int page) {
  const bool changed = NativePrintPreview::SetCurrentPage(page);
  if (onPagesShown) onPagesShown();
  return changed;
}

wxString CLangPreview::PageDescription() const {
  // The string holds one line per form: a single page, then a pair.
  const std::string forms(res::LoadString(res::kStrPreviewPageDescription));
  const size_t end = forms.find('\n');
  const std::string one = forms.substr(0, end);
  const std::string two =
      end == std::string::npos ? one : forms.substr(end + 1, forms.find('\n', end + 1) - end - 1);
  const unsigned page = unsigned(std::max(GetCurrentPage(), 0));
  // A pair is shown only when the page beside the current one exists.
  if (m_twoPages && GetCurrentPage() < GetMaxPage())
    return wxString::Format(wxString::FromUTF8(two), page, page + 1);
  return wxString::Format(wxString::FromUTF8(one), page);
}

void CLangPreview::FitPages() {
  wxPreviewCanvas* canvas = GetCanvas();
  if (!canvas) return;
  // The whole canvas, as the toolkit centres the page in it; scroll bars that a larger zoom
  // brought go once the pages fit.
  const wxSize room = canvas->GetSize();
  if (room.x <= 0 || room.y <= 0) return;
  // Room for the margins, the gap between two pages and the page shadow.
  constexpr int kShadow = 4;
  const int across = m_twoPages ? 2 : 1;
  const int width = room.x - 2 * m_leftMargin - (across - 1) * kPageGap - kShadow;
  const int height = room.y - 2 * m_topMargin - kShadow;
  const int shown = m_currentZoom;
  // The toolkit rounds the paper's size at each zoom, so each zoom is measured as it draws.
  const auto fitsAt = [&](int zoom) {
    m_currentZoom = zoom;
    wxRect printable, paper;
    CalcRects(canvas, printable, paper);
    return across * paper.width <= width && paper.height <= height;
  };
  int fit = kZoomSteps[kZoomStepCount - 1];
  while (fit > kZoomSteps[0] && !fitsAt(fit)) --fit;
  m_currentZoom = shown;
  m_fitZoom = fit;
  if (fit != GetZoom()) SetZoom(fit);
}

void CLangPreview::ZoomBy(int steps) {
  const int* end = kZoomSteps + kZoomStepCount;
  const int* at = std::lower_bound(kZoomSteps, end, GetZoom());  // the first step at or above
  const bool onStep = at != end && *at == GetZoom();
  // Between two steps (a fitted zoom), one step up is the step above, one down the step below.
  const int index = int(at - kZoomSteps) + (steps > 0 && !onStep ? steps - 1 : steps);
  const int zoom = kZoomSteps[std::clamp(index, 0, kZoomStepCount - 1)];
  // Zooming out past the whole pages goes back to them, as it left them.
  if (steps < 0 && !m_fitWhole && GetZoom() > m_fitZoom && zoom < m_fitZoom) {
    m_fitWhole = true;
    FitPages();
    return;
  }
  m_fitWhole = false;
  SetZoom(zoom);
}

void CLangPreview::AdjustScrollbars(wxPreviewCanvas* canvas) {
  NativePrintPreview::AdjustScrollbars(canvas);
  if (!m_twoPages || !canvas) return;
  // Room for a second page beside the first.
  int units = 0, ux = 1, uy = 1;
  canvas->GetScrollPixelsPerUnit(&ux, &uy);
  const wxSize virt = canvas->GetVirtualSize();
  units = (virt.x * 2 + kPageGap) / std::max(ux, 1);
  canvas->SetScrollbars(ux, uy, units, virt.y / std::max(uy, 1), canvas->GetScrollPos(wxHORIZONTAL),
                        canvas->GetScrollPos(wxVERTICAL));
}

bool CLangPreview::PaintPage(wxPreviewCanvas* canvas, wxDC& dc) {
  if (!m_twoPages) return NativePrintPreview::PaintPage(canvas, dc);
  wxRect pageRect, paperRect;
  CalcRects(canvas, pageRect, paperRect);
  if (pageRect.IsEmpty()) return NativePrintPreview::PaintPage(canvas, dc);
  const int shift = paperRect.width + kPageGap;
  // The pair sits where one page would, moved left by half a page so both are centred.
  const int left = std::max(0, paperRect.x - shift / 2) - paperRect.x;
  for (int i = 0; i < 2; ++i) {
    const int page = GetCurrentPage() + i;
    if (page > GetMaxPage()) break;
    wxRect paper = paperRect, printable = pageRect;
    paper.Offset(left + i * shift, 0);
    printable.Offset(left + i * shift, 0);
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.DrawRectangle(paper);
    const wxBitmap* bitmap = PageBitmap(page, printable.GetSize());
    if (!bitmap) return false;
    dc.DrawBitmap(*bitmap, printable.x, printable.y);
  }
  return true;
}

const wxBitmap* CLangPreview::PageBitmap(int page, const wxSize& size) {
  if (page == GetCurrentPage()) {
    if (!m_previewBitmap && !RenderPage(page)) return nullptr;
    if (m_previewBitmap && m_previewBitmap->GetSize() == size) return m_previewBitmap;
  }
  if (page != m_nextPage || GetZoom() != m_nextZoom || m_nextBitmap.GetSize() != size) {
    m_nextBitmap.Create(size);
    m_nextPage = 0;
    if (!RenderPageIntoBitmap(m_nextBitmap, page)) return nullptr;
    m_nextPage = page;
    m_nextZoom = GetZoom();
  }
  return &m_nextBitmap;
}

// The control bar: text buttons with the program's captions.
class CLangPreviewControlBar : public wxPreviewControlBar {
 public:
  CLangPreviewControlBar(CLangPreview* preview, CLangPreviewFrame* frame)
      : wxPreviewControlBar(preview, 0, frame), m_preview(preview), m_frame(frame) {}

  void CreateButtons() override {
    using F = CLangPreviewFrame;
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    const auto add = [&](int id, const char* caption) {
      auto* button = new wxButton(this, id, U(caption));
      row->Add(button, 0, wxALL, FromDIP(4));
      return button;
    };
    add(F::kIdPrint, "印刷");
    add(F::kIdNext, "次のペ-ジ");
    add(F::kIdPrevious, "前のペ-ジ");
    m_pages = add(F::kIdOnePageTwoPages, "2 ページ(&T)");
    wxButton* zoomIn = add(F::kIdZoomIn, "拡大");
    add(F::kIdZoomOut, "縮小");
    add(F::kIdClose, "閉じる");
    SetSizer(row);
    zoomIn->SetDefault();
    zoomIn->SetFocus();

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Step(+1); }, F::kIdNext);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Step(-1); }, F::kIdPrevious);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_preview->ZoomBy(+1); }, F::kIdZoomIn);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_preview->ZoomBy(-1); }, F::kIdZoomOut);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_frame->Close(); }, F::kIdClose);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
      m_frame->m_printAfterClose = true;
      m_frame->Close();
    }, F::kIdPrint);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
      m_preview->SetTwoPages(!m_preview->TwoPages());
      m_pages->SetLabel(U(m_preview->TwoPages() ? "1 ページ(&O)" : "2 ページ(&T)"));
      Layout();
    }, F::kIdOnePageTwoPages);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
      e.Enable(m_preview->GetCurrentPage() + Stride() <= m_preview->GetMaxPage());
    }, F::kIdNext);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
      e.Enable(m_preview->GetCurrentPage() > m_preview->GetMinPage());
    }, F::kIdPrevious);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
      e.Enable(m_preview->GetMaxPage() > m_preview->GetMinPage());
    }, F::kIdOnePageTwoPages);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
      e.Enable(m_preview->GetZoom() < CLangPreview::kZoomSteps[CLangPreview::kZoomStepCount - 1]);
    }, F::kIdZoomIn);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
      e.Enable(m_preview->GetZoom() > CLangPreview::kZoomSteps[0]);
    }, F::kIdZoomOut);
  }

  void SetPageInfo(int, int) override {}
  void SetZoomControl(int) override {}
  int GetZoomControl() override { return m_preview->GetZoom(); }

 private:
  int Stride() const { return m_preview->TwoPages() ? 2 : 1; }
  void Step(int direction) {
    const int page = std::clamp(m_preview->GetCurrentPage() + direction * Stride(),
                                m_preview->GetMinPage(), m_preview->GetMaxPage());
    m_preview->SetCurrentPage(page);
  }

  CLangPreview* m_preview;
  CLangPreviewFrame* m_frame;
  wxButton* m_pages = nullptr;
};

CLangPreviewFrame::CLangPreviewFrame(CLangPreview* preview, wxWindow* parent,
                                     const wxString& title)
    : wxPreviewFrame(preview, parent, title, PreviewPlace(parent).GetPosition(),
                     PreviewPlace(parent).GetSize()) {}

CLangPreviewFrame::~CLangPreviewFrame() {
  if (m_printPreview) static_cast<CLangPreview*>(m_printPreview)->onPagesShown = nullptr;
  // The closed preview has ended its print run; what the owner does next may start another.
  auto closed = std::move(onClosed);
  auto print = m_printAfterClose ? std::move(onPrint) : std::function<void()>{};
  if (closed) closed();
  if (print) wxTheApp->CallAfter(print);
}

void CLangPreviewFrame::CreateControlBar() {
  auto* preview = static_cast<CLangPreview*>(m_printPreview);
  m_controlBar = new CLangPreviewControlBar(preview, this);
  m_controlBar->CreateButtons();
  // Whole pages show until the user zooms: fitted again whenever the canvas changes size.
  m_previewCanvas->Bind(wxEVT_SIZE, [preview](wxSizeEvent& event) {
    if (preview->FitsWholePages()) preview->FitPages();
    event.Skip();
  });
  // The status bar says which pages show, in the program's words rather than the toolkit's.
  if (!GetStatusBar()) CreateStatusBar(1);
  preview->onPagesShown = [this, preview] { SetStatusText(preview->PageDescription()); };
  preview->onPagesShown();
}
