#include "app/tabs/ui/CDetailList.h"

#include <wx/artprov.h>

#include <gio/gio.h>

#include <chrono>
#include <system_error>

#include "app/tabs/DetailText.h"

namespace {

constexpr int kIconSize = 16;

struct DetailRow {
  std::string name, size, time;
  std::vector<std::string> iconNames;
};

// What the file manager would show for the file: its size, its local modification time and
// the icon names of its content type, as GIO reports them.
DetailRow ReadDetails(const std::filesystem::path& folder, const std::string& name) {
  DetailRow row;
  const std::filesystem::path path = folder / name;
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec) return row;  // vanished since the listing: empty texts
  row.name = name;
  if (!std::filesystem::is_directory(status)) {
    const auto bytes = std::filesystem::file_size(path, ec);
    if (!ec) row.size = tabs::SizeText(bytes);
  }
  GFile* file = g_file_new_for_path(path.c_str());
  GFileInfo* info = g_file_query_info(
      file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE "," G_FILE_ATTRIBUTE_TIME_MODIFIED,
      G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
  if (info) {
    const guint64 modified =
        g_file_info_get_attribute_uint64(info, G_FILE_ATTRIBUTE_TIME_MODIFIED);
    if (g_file_info_has_attribute(info, G_FILE_ATTRIBUTE_TIME_MODIFIED))
      row.time = tabs::TimeText(std::time_t(modified));
    if (const char* type = g_file_info_get_content_type(info)) {
      GIcon* icon = g_content_type_get_icon(type);
      if (icon && G_IS_THEMED_ICON(icon)) {
        if (const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon))) {
          for (; *names; ++names) row.iconNames.emplace_back(*names);
        }
      }
      if (icon) g_object_unref(icon);
    }
    g_object_unref(info);
  }
  g_object_unref(file);
  return row;
}

}  // namespace

CDetailList::CDetailList(wxWindow* parent, int id, CClipwrenDoc* doc)
    : CImageListCtrl(parent, id, wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN, doc),
      m_icons(std::make_unique<wxImageList>(kIconSize, kIconSize, true, 0)) {
  SetImageList(m_icons.get(), wxIMAGE_LIST_SMALL);
  InsertColumn(0, wxString::FromUTF8("名前"), wxLIST_FORMAT_LEFT, 300);
  InsertColumn(1, wxString::FromUTF8("サイズ"), wxLIST_FORMAT_RIGHT, 100);
  InsertColumn(2, wxString::FromUTF8("更新日時"), wxLIST_FORMAT_LEFT, 200);
}

CDetailList::~CDetailList() {
  StopWorker();
  DeleteAllItems();
  SetImageList(nullptr, wxIMAGE_LIST_SMALL);
}

int CDetailList::IconIndex(const std::vector<std::string>& iconNames) {
  std::vector<std::string> tried = iconNames;
  tried.emplace_back("text-x-generic");
  for (const std::string& name : tried) {
    if (auto found = m_iconByName.find(name); found != m_iconByName.end()) return found->second;
    // The GTK art provider takes the theme's icon names as they are.
    const wxBitmap bitmap =
        wxArtProvider::GetBitmap(wxString::FromUTF8(name), wxART_LIST, wxSize(kIconSize, kIconSize));
    if (!bitmap.IsOk()) continue;
    const int index = m_icons->Add(bitmap);
    m_iconByName[name] = index;
    return index;
  }
  const int fallback = m_icons->Add(
      wxArtProvider::GetBitmap(wxART_NORMAL_FILE, wxART_LIST, wxSize(kIconSize, kIconSize)));
  m_iconByName["text-x-generic"] = fallback;
  return fallback;
}

bool CDetailList::RefreshList() {
  StopWorker();
  DeleteAllItems();
  m_names.clear();
  if (!ListPictures()) return false;
  StartWorker([folder = m_folder, names = m_names](WorkerLink& link, unsigned fill) {
    for (const std::string& name : names) {
      if (link.stop) return;
      auto row = std::make_shared<DetailRow>(ReadDetails(folder, name));
      Post(link, fill, [row](CImageListCtrl& list) {
        auto& self = static_cast<CDetailList&>(list);
        const long index = self.InsertItem(self.GetItemCount(), wxString::FromUTF8(row->name),
                                           self.IconIndex(row->iconNames));
        self.SetItem(index, 1, wxString::FromUTF8(row->size));
        self.SetItem(index, 2, wxString::FromUTF8(row->time));
        if (index == self.m_selected)
          self.SetItemState(index, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        if (self.onProgress) self.onProgress();
      });
    }
  });
  return true;
}

void CDetailList::OnWorkerFinished() {
  wxListCtrl::Refresh();
  if (onProgress) onProgress();
}
