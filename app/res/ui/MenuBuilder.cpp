#include "app/res/ui/MenuBuilder.h"

#include <wx/frame.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "app/res/Accelerators.h"
#include "app/res/Menus.h"
#include "app/res/Resource.h"
#include "app/res/StringTable.h"
#include "app/res/ToolBars.h"

namespace res::ui {
namespace {

// Items that show a state: the bar toggles carry a check mark, the pictures tab's view modes
// a radio mark, "GIFを表示しない" and the current drawing tool or crop mode a check mark.
wxItemKind KindOf(int id) {
  switch (id) {
    case kIdViewToolBar:
    case kIdViewStatusBar:
    case kIdHideGif:
      return wxITEM_CHECK;
    case kIdThumbnailView:
    case kIdPhotoView:
    case kIdViewDetails:
      return wxITEM_RADIO;
    default:
      return ShowsToolState(id) ? wxITEM_CHECK : wxITEM_NORMAL;
  }
}

// The toolkit shows what follows "\t" only when it reads as a key, and drops a mnemonic
// written there. So a trailing "(&U)" moves in front of the tab and arrows get key names;
// the item's text otherwise stays the table's.
wxString DisplayLabel(const std::string& text) {
  wxString label = wxString::FromUTF8(text);
  const int tab = label.Find('\t');
  if (tab == wxNOT_FOUND) return label;
  wxString head = label.Left(tab), keys = label.Mid(tab + 1);
  if (keys.EndsWith(")") && keys.Find("(&") != wxNOT_FOUND) {
    const int open = keys.Find("(&");
    head += keys.Mid(open);
    keys = keys.Left(open);
  }
  keys.Replace(wxString::FromUTF8("↑"), "Up");
  keys.Replace(wxString::FromUTF8("↓"), "Down");
  return head + "\t" + keys;
}

void Fill(wxMenu* menu, const std::vector<MenuNode>& items) {
  for (const MenuNode& n : items) {
    if (n.IsSeparator()) {
      menu->AppendSeparator();
    } else if (n.IsSubMenu()) {
      auto* sub = new wxMenu;
      Fill(sub, n.items);
      menu->AppendSubMenu(sub, wxString::FromUTF8(n.text));
    } else {
      // The help string is the status-bar prompt shown while the item is highlighted.
      const std::string_view prompt = CommandPrompt(n.id);
      menu->Append(n.id, DisplayLabel(n.text), wxString::FromUTF8(prompt.data(), prompt.size()),
                   KindOf(n.id));
    }
  }
}

wxMenu* MenuOf(const MenuNode& node) {
  auto* menu = new wxMenu;
  Fill(menu, node.items);
  return menu;
}

int WxKey(int key) {
  switch (key) {
    case kKeyF1:
      return WXK_F1;
    case kKeyF2:
      return WXK_F2;
    case kKeyF3:
      return WXK_F3;
    case kKeyF4:
      return WXK_F4;
    case kKeyF5:
      return WXK_F5;
    case kKeyF6:
      return WXK_F6;
    case kKeyEscape:
      return WXK_ESCAPE;
    case kKeyPageUp:
      return WXK_PAGEUP;
    case kKeyPageDown:
      return WXK_PAGEDOWN;
    default:
      return key;
  }
}

wxAssertHandler_t g_previousAssertHandler = nullptr;

void FilterIdAsserts(const wxString& file, int line, const wxString& func, const wxString& cond,
                     const wxString& msg) {
  if (msg.Contains("invalid id value") || msg.Contains("invalid itemid value")) return;
  if (g_previousAssertHandler) g_previousAssertHandler(file, line, func, cond, msg);
}

#ifdef __WXGTK__
void DetachAccelGroups(GtkWindow* window, wxMenu* menu) {
  GSList* groups = gtk_accel_groups_from_object(G_OBJECT(window));
  if (menu->m_accel && g_slist_find(groups, menu->m_accel))
    gtk_window_remove_accel_group(window, menu->m_accel);
  for (wxMenuItem* item : menu->GetMenuItems())
    if (item->IsSubMenu()) DetachAccelGroups(window, item->GetSubMenu());
}
#endif

}  // namespace

wxMenuBar* BuildMenuBar(int id) {
  if (id != 128 && id != 136 && id != 138) return nullptr;
  const auto items = LoadMenu(id);
  if (!items) return nullptr;
  auto* bar = new wxMenuBar;
  for (const MenuNode& n : *items)
    if (n.IsSubMenu()) bar->Append(MenuOf(n), wxString::FromUTF8(n.text));
  return bar;
}

wxMenu* BuildPopup(int id) {
  const auto items = LoadMenu(id);
  if (!items) return nullptr;
  for (const MenuNode& n : *items)
    if (n.IsSubMenu()) return MenuOf(n);
  return nullptr;
}

wxMenu* BuildSubMenu(int id, std::initializer_list<const char*> path) {
  const auto items = LoadMenu(id);
  if (!items || path.size() == 0) return nullptr;
  const std::vector<MenuNode>* level = &*items;
  const MenuNode* found = nullptr;
  for (const char* text : path) {
    found = FindSubMenu(*level, text);
    if (!found) return nullptr;
    level = &found->items;
  }
  return MenuOf(*found);
}

wxAcceleratorTable BuildAccelerators(int id) {
  std::vector<wxAcceleratorEntry> entries;
  for (const AccelDef& a : AcceleratorTable(id)) {
    int flags = wxACCEL_NORMAL;
    if (a.modifiers & kModCtrl) flags |= wxACCEL_CTRL;
    if (a.modifiers & kModShift) flags |= wxACCEL_SHIFT;
    if (a.modifiers & kModAlt) flags |= wxACCEL_ALT;
    entries.emplace_back(flags, WxKey(a.key), a.command);
  }
  return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

void AllowCommandNumbersAsIds() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  g_previousAssertHandler = wxSetAssertHandler(FilterIdAsserts);
}

void KeepMenuShortcutsAsText(wxFrame* frame, wxMenuBar* bar) {
#ifdef __WXGTK__
  if (!frame || !bar || !frame->m_widget) return;
  for (std::size_t i = 0; i < bar->GetMenuCount(); ++i)
    DetachAccelGroups(GTK_WINDOW(frame->m_widget), bar->GetMenu(i));
#else
  (void)frame;
  (void)bar;
#endif
}

}  // namespace res::ui
