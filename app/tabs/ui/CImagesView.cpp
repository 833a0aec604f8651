#include "app/tabs/ui/CImagesView.h"

#include <wx/dcclient.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/res/Resource.h"
#include "app/tabs/PictureListing.h"
#include "app/tabs/ui/CDetailList.h"
#include "app/tabs/ui/CImageArea.h"
#include "app/tabs/ui/CThumbnailCtrl.h"

namespace {

CImagesView* g_current = nullptr;

constexpr int kStripTop = 145;     // the strip starts this far above the bottom
constexpr int kStripHeight = 142;
constexpr int kPaneGap = 150;      // the photo pane ends this far above the bottom

}  // namespace

CImagesView::CImagesView(wxWindow* parent, CClipwrenDoc* doc)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE),
      m_doc(doc ? doc : CClipwrenDoc::Current()) {
  // Window creation refuses identifiers above 32767; the view takes its own afterwards.
  SetId(res::kIdPicturesView);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  m_area = new CImageArea(this, wxID_ANY);
  m_thumbnails = new CThumbnailCtrl(this, wxID_ANY, m_doc);
  m_details = new CDetailList(this, wxID_ANY, m_doc);
  m_area->currentPicture = [this] { return CurrentPicture(); };
  m_thumbnails->onCurrentPicture = [this] {
    if (m_area->IsShown()) {
      m_area->Refresh();
      m_area->Update();
    }
  };
  m_area->Hide();
  m_details->Hide();
  m_thumbnails->Hide();
  Bind(wxEVT_SIZE, &CImagesView::OnSize, this);
  Bind(wxEVT_PAINT, &CImagesView::OnPaint, this);
  // The focus F6 brings to the tab goes on to the list that shows, where the arrow keys move
  // between the pictures.
  Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent&) {
    CImageListCtrl* list = ActiveList();
    if (list && list->IsShown()) list->SetFocus();
  });
  for (int id : {res::kIdThumbnailView, res::kIdPhotoView, res::kIdViewDetails}) {
    Bind(wxEVT_MENU, &CImagesView::OnViewMode, this, id);
    Bind(wxEVT_UPDATE_UI, &CImagesView::OnUpdateViewMode, this, id);
  }
  for (int id : {res::kIdCopyToClipboard, res::kIdSendToDesktop}) {
    Bind(wxEVT_MENU, &CImagesView::OnFileCommand, this, id);
    Bind(wxEVT_UPDATE_UI, &CImagesView::OnUpdateFileCommand, this, id);
  }
  if (m_doc) m_doc->SetPicturesPane(this);
  g_current = this;
}

CImagesView::~CImagesView() {
  if (g_current == this) g_current = nullptr;
  if (m_doc && CClipwrenDoc::Current() == m_doc) m_doc->SetPicturesPane(nullptr);
}

CImagesView* CImagesView::Current() { return g_current; }

int CImagesView::ViewMode() const { return m_doc ? m_doc->PictureSettings().viewMode : 0; }

CImageListCtrl* CImagesView::ActiveList() const {
  if (ViewMode() == 2) return m_details;
  return m_thumbnails;
}

const CxImage* CImagesView::CurrentPicture() const { return m_thumbnails->CurrentPicture(); }

int CImagesView::LoadFolder(const std::string& scrapFolder) {
  m_folder = (std::filesystem::path(scrapFolder) / "Images").string();
  m_thumbnails->SetFolder(m_folder);
  m_details->SetFolder(m_folder);
  return tabs::FolderHasPictures(m_folder) ? 1 : 0;
}

void CImagesView::LayoutChildren() {
  const wxSize size = GetClientSize();
  const int w = size.x, h = size.y;
  switch (ViewMode()) {
    case 0:
      m_details->Hide();
      m_area->Hide();
      m_thumbnails->SetSize(0, 0, w, h);
      m_thumbnails->Show();
      break;
    case 1:
      m_details->Hide();
      m_area->SetSize(0, 0, w, std::max(0, h - kPaneGap));
      m_area->Show();
      m_thumbnails->SetSize(0, h - kStripTop, w, kStripHeight);
      m_thumbnails->Show();
      break;
    case 2:
      m_area->Hide();
      m_thumbnails->Hide();
      m_details->SetSize(0, 0, w, h);
      m_details->Show();
      break;
    default:
      break;
  }
  Refresh();
}

bool CImagesView::ApplyViewMode() {
  const int mode = ViewMode();
  if (mode < 0 || mode > 2) {
    // Nothing of an unknown mode is shown.
    m_area->Hide();
    m_thumbnails->Hide();
    m_details->Hide();
    return false;
  }
  LayoutChildren();
  if (mode == 0) m_thumbnails->SetAlignLeft(false);
  if (mode == 1) m_thumbnails->SetAlignLeft(true);
  CImageListCtrl* list = ActiveList();
  list->SetFolder(m_folder);
  const bool found = list->RefreshList();
  if (mode == 1) m_area->Refresh();
  return found;
}

void CImagesView::GifSettingChanged(bool showGif) {
  if (m_doc) m_doc->PictureSettings().showGif = showGif;
  const int mode = ViewMode();
  if (mode == 0 || mode == 1) m_thumbnails->RefreshList();
  if (mode == 2) m_details->RefreshList();
}

void CImagesView::SetMode(int mode) {
  if (!m_doc || ViewMode() == mode) return;
  m_doc->PictureSettings().viewMode = mode;
  ApplyViewMode();
}

void CImagesView::OnViewMode(wxCommandEvent& event) {
  const int id = event.GetId();
  SetMode(id == res::kIdThumbnailView ? 0 : id == res::kIdPhotoView ? 1 : 2);
}

void CImagesView::OnUpdateViewMode(wxUpdateUIEvent& event) {
  const int id = event.GetId();
  const int mode = id == res::kIdThumbnailView ? 0 : id == res::kIdPhotoView ? 1 : 2;
  event.Enable(true);
  event.Check(ViewMode() == mode);
}

void CImagesView::OnFileCommand(wxCommandEvent& event) {
  CImageListCtrl* list = ActiveList();
  if (event.GetId() == res::kIdCopyToClipboard)
    list->CopyToClipboard();
  else
    list->SendToDesktop();
}

void CImagesView::OnUpdateFileCommand(wxUpdateUIEvent& event) {
  const CImageListCtrl* list = ActiveList();
  event.Enable(list->Selected() >= 0 && size_t(list->Selected()) < list->Names().size());
}

void CImagesView::OnSize(wxSizeEvent& event) {
  LayoutChildren();
  event.Skip();
}

void CImagesView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
}
