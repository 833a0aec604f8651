#pragma once

#include <wx/accel.h>
#include <wx/menu.h>

class wxFrame;

// Builds wx menus and accelerator tables from the program's resource tables.
namespace res::ui {

// The menu bar of resource `id` (128, 136 or 138); nullptr for another number. Item labels
// are the command table's texts unchanged, shortcut text after "\t" included.
wxMenuBar* BuildMenuBar(int id);
// A new menu with the items of the first sub-menu of resource `id` (the pop-up resources
// 134, 144, 206, 210, or a menu bar's first menu); nullptr when it has none.
wxMenu* BuildPopup(int id);
// A new menu holding the items of the sub-menu found by the path of sub-menu texts, e.g.
// {"ツール(&T)", "ペン"} in menu 128; nullptr when the path does not lead to a sub-menu.
wxMenu* BuildSubMenu(int id, std::initializer_list<const char*> path);

// The accelerator table `id` (128 or 30997).
wxAcceleratorTable BuildAccelerators(int id);

// The toolkit turns the shortcut text of menu items into live key bindings. Ours is only a
// hint: the keys belong to the views (and the frame's own accelerator table), and a live
// "Del" or "Ctrl+C" would take those keys away from the text fields. Call after SetMenuBar.
void KeepMenuShortcutsAsText(wxFrame* frame, wxMenuBar* bar);

// The program's command numbers (57603, 59392…) lie above the toolkit's recommended id range,
// which it checks with debug assertions. The numbers are kept on purpose (the rest of the
// program and the settings know the commands by them), so those two checks are silenced;
// every other assertion still reaches the previous handler. Safe to call more than once.
void AllowCommandNumbersAsIds();

}  // namespace res::ui
