#pragma once

#include <wx/artprov.h>
#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

// The program's pictures as wx objects. Pictures are vector bundles, so tool bars and menus
// stay sharp on HiDPI screens; skins and masks are also available as plain bitmaps at their
// natural pixel size, because masks are read pixel by pixel.
namespace res::ui {

// Tool picture `index` of the main tool bar's 20×20 strip; hot is the strip shown under the
// mouse. An empty bundle for the strip's unused slots.
wxBitmapBundle ToolPicture(int index, bool hot = false);
// Picture `index` of the search tool bar's strip.
wxBitmapBundle SearchToolPicture(int index, bool hot = false);
// Bitmap or icon resource `id` at its natural size; empty when the program has no such picture.
wxBitmapBundle ResourceBundle(int id);
// The same picture rendered at exactly its natural pixel size (scale 1).
wxBitmap ResourceBitmap(int id);
// The program icon in the sizes desktops ask for.
wxIconBundle ProgramIcons();

// Serves the program's pictures through wxArtProvider under the ids "clipwren-<number>", so
// dialogs written elsewhere can ask for them by resource number. Installed once by Install().
class CClipwrenArtProvider : public wxArtProvider {
 public:
  static void Install();
  static wxArtID ArtId(int resourceId);

 protected:
  wxBitmapBundle CreateBitmapBundle(const wxArtID& id, const wxArtClient& client,
                                    const wxSize& size) override;
};

}  // namespace res::ui
