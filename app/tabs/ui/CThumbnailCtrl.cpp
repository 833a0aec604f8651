#include "app/tabs/ui/CThumbnailCtrl.h"

#include <wx/image.h>

#include <cstring>

#include "app/image/PictureType.h"
#include "app/tabs/PictureListing.h"
#include "app/tabs/ThumbnailCell.h"

namespace {

wxBitmap CellBitmap(const tabs::ThumbnailCell& cell) {
  auto* data = static_cast<unsigned char*>(malloc(cell.rgb.size()));
  if (!data) return wxBitmap();
  std::memcpy(data, cell.rgb.data(), cell.rgb.size());
  return wxBitmap(wxImage(tabs::kCellWidth, tabs::kCellHeight, data), 24);
}

}  // namespace

CThumbnailCtrl::CThumbnailCtrl(wxWindow* parent, int id, CClipwrenDoc* doc)
    : CImageListCtrl(parent, id, wxLC_ICON | wxLC_SINGLE_SEL | wxLC_AUTOARRANGE | wxBORDER_SUNKEN,
                     doc),
      m_images(std::make_unique<wxImageList>(tabs::kCellWidth, tabs::kCellHeight, false, 0)) {
  SetImageList(m_images.get(), wxIMAGE_LIST_NORMAL);
  SetBackgroundColour(*wxWHITE);
}

CThumbnailCtrl::~CThumbnailCtrl() {
  StopWorker();
  DeleteAllItems();
  SetImageList(nullptr, wxIMAGE_LIST_NORMAL);
}

void CThumbnailCtrl::SetAlignLeft(bool left) {
  long style = GetWindowStyleFlag() & ~(wxLC_ALIGN_LEFT | wxLC_ALIGN_TOP);
  SetWindowStyleFlag(style | (left ? wxLC_ALIGN_LEFT : 0));
  // Changing the style drops the image list in some ports; keep ours.
  SetImageList(m_images.get(), wxIMAGE_LIST_NORMAL);
}

void CThumbnailCtrl::Clear() {
  DeleteAllItems();
  m_images->RemoveAll();
  m_names.clear();
  m_done = 0;
}

bool CThumbnailCtrl::RefreshList() {
  StopWorker();
  Clear();
  if (!ListPictures()) {
    m_selected = -1;
    LoadCurrentPicture();
    return false;
  }
  // Every item at once with a blank cell; the worker replaces the cells as they are made.
  const wxBitmap blank = CellBitmap(tabs::BlankCell());
  Freeze();
  for (size_t i = 0; i < m_names.size(); ++i) {
    m_images->Add(blank);
    InsertItem(long(i), wxString::FromUTF8(m_names[i]), int(i));
  }
  Thaw();
  StartWorker([folder = m_folder, names = m_names](WorkerLink& link, unsigned fill) {
    for (size_t i = 0; i < names.size(); ++i) {
      if (link.stop) return;
      const uint32_t type = PictureTypeFromName(names[i]);
      if (type == 0) continue;
      auto cell = std::make_shared<tabs::ThumbnailCell>();
      // A picture that cannot be decoded keeps its blank cell.
      if (!tabs::MakeThumbnailCell((folder / names[i]).string(), type, *cell)) continue;
      Post(link, fill, [i, cell](CImageListCtrl& list) {
        auto& self = static_cast<CThumbnailCtrl&>(list);
        self.m_images->Replace(int(i), CellBitmap(*cell));
        self.RefreshItem(long(i));
        ++self.m_done;
        if (self.onProgress) self.onProgress();
      });
    }
  });
  m_selected = tabs::InitialSelection(m_names.size());
  if (m_selected >= 0) SetItemState(m_selected, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                                    wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  LoadCurrentPicture();
  return true;
}

void CThumbnailCtrl::OnWorkerFinished() {
  wxListCtrl::Refresh();
  if (onProgress) onProgress();
}

void CThumbnailCtrl::SelectIndex(int index) {
  m_selected = index;
  LoadCurrentPicture();
}

void CThumbnailCtrl::LoadCurrentPicture() {
  m_cached.Destroy();
  m_cachedName.clear();
  if (IsSelectionValid()) {
    const std::string& name = m_names[size_t(m_selected)];
    if (const uint32_t type = PictureTypeFromName(name)) {
      m_cached.Load(SelectedPath().string(), type);
      m_cachedName = name;
    }
  }
  if (onCurrentPicture) onCurrentPicture();
}
