#include "app/res/ui/ResArt.h"

#include <wx/icon.h>

#include "app/res/ArtSvg.h"
#include "app/res/Resource.h"

namespace res::ui {
namespace {

wxBitmapBundle FromSvg(const std::string& svg, int width, int height) {
  if (svg.empty()) return {};
  return wxBitmapBundle::FromSVG(svg.c_str(), wxSize(width, height));
}

}  // namespace

wxBitmapBundle ToolPicture(int index, bool hot) {
  return FromSvg(art::ToolPictureSvg(index, hot), 20, 20);
}

wxBitmapBundle SearchToolPicture(int index, bool hot) {
  return FromSvg(art::SearchToolPictureSvg(index, hot), 20, 20);
}

wxBitmapBundle ResourceBundle(int id) {
  const art::PixelSize size = art::ResourceSize(id);
  return FromSvg(art::ResourceSvg(id), size.width, size.height);
}

wxBitmap ResourceBitmap(int id) {
  const wxBitmapBundle bundle = ResourceBundle(id);
  if (!bundle.IsOk()) return wxNullBitmap;
  return bundle.GetBitmap(bundle.GetDefaultSize());
}

wxIconBundle ProgramIcons() {
  wxIconBundle icons;
  const wxBitmapBundle bundle = ResourceBundle(kIconMain);
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    wxIcon icon;
    icon.CopyFromBitmap(bundle.GetBitmap(wxSize(size, size)));
    icons.AddIcon(icon);
  }
  return icons;
}

void CClipwrenArtProvider::Install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  wxArtProvider::Push(new CClipwrenArtProvider);
}

wxArtID CClipwrenArtProvider::ArtId(int resourceId) {
  return wxString::Format("clipwren-%d", resourceId);
}

wxBitmapBundle CClipwrenArtProvider::CreateBitmapBundle(const wxArtID& id, const wxArtClient&,
                                                        const wxSize&) {
  long number = 0;
  if (!id.StartsWith("clipwren-") || !id.Mid(9).ToLong(&number)) return {};
  return ResourceBundle(static_cast<int>(number));
}

}  // namespace res::ui
