#include "app/shell/ui/CPrintToolBar.h"

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "app/res/Resource.h"
#include "app/res/StringTable.h"
#include "app/res/ToolBars.h"
#include "app/res/ui/ResArt.h"

namespace {

wxString Utf8(std::string_view s) { return wxString::FromUTF8(s.data(), s.size()); }

int PictureOf(int id, int penPicture) {
  if (id == res::kIdPen) return penPicture;
  for (const res::ToolDef& t : res::MainToolBar())
    if (t.command == id) return t.picture;
  return -1;
}

}  // namespace

CPrintToolBar::CPrintToolBar(wxWindow* parent, wxWindowID id)
    : wxToolBar(parent, id, wxDefaultPosition, wxDefaultSize,
                wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER) {
  SetToolBitmapSize(FromDIP(wxSize(res::kToolPictureSize, res::kToolPictureSize)));
  MakeCompact(this);
  Bind(wxEVT_TOOL_ENTER, &CPrintToolBar::OnToolEnter, this);
}

bool CPrintToolBar::Build(const wxFont& zoomFont) {
  for (const res::ToolDef& t : res::MainToolBar()) {
    if (t.command == res::kIdZoomBox) {
      // The zoom box takes the place of its separator; Enter is reported to the frame,
      // which reads the number at idle time.
      m_zoomBox = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                 FromDIP(wxSize(res::kZoomBoxWidth, -1)),
                                 wxTE_CENTRE | wxTE_PROCESS_ENTER | wxBORDER_SUNKEN);
      if (zoomFont.IsOk()) m_zoomBox->SetFont(zoomFont);
      AddControl(m_zoomBox);
    } else if (t.IsSeparator()) {
      AddSeparator();
    } else {
      const wxString tip = Utf8(res::CommandTip(t.command));
      const wxItemKind kind = t.dropDown                       ? wxITEM_DROPDOWN
                              : res::ShowsToolState(t.command) ? wxITEM_CHECK
                                                               : wxITEM_NORMAL;
      wxToolBarToolBase* tool = AddTool(t.command, tip, res::ui::ToolPicture(t.picture), tip, kind);
      if (!tool) return false;
      tool->SetLongHelp(Utf8(res::CommandPrompt(t.command)));
    }
  }
  return Realize();
}

void CPrintToolBar::SetZoomText(const wxString& text) {
  if (m_zoomBox && m_zoomBox->GetValue() != text) m_zoomBox->ChangeValue(text);
}

void CPrintToolBar::SetPenPicture(int penIndex) {
  m_penPicture = res::kToolPicturePenFirst + penIndex;
  SetToolNormalBitmap(res::kIdPen, res::ui::ToolPicture(m_penPicture, m_hotTool == res::kIdPen));
}

void CPrintToolBar::ShowHot(int id, bool hot) {
  const int picture = PictureOf(id, m_penPicture);
  if (picture >= 0) SetToolNormalBitmap(id, res::ui::ToolPicture(picture, hot));
}

void CPrintToolBar::OnToolEnter(wxCommandEvent& event) {
  const int id = event.GetInt();
  if (id != m_hotTool) {
    if (m_hotTool != wxID_ANY) ShowHot(m_hotTool, false);
    m_hotTool = id;
    if (id != wxID_ANY) ShowHot(id, true);
  }
  event.Skip();  // the frame shows the prompt
}

void CPrintToolBar::MakeCompact(wxToolBar* bar) {
#ifdef __WXGTK__
  // A style class on the bar and one screen-wide rule for it: a provider on the bar alone
  // would not reach its buttons.
  static const bool installed = [] {
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(
        css,
        ".clipwren-compact { padding: 1px; } "
        ".clipwren-compact button { padding: 1px 3px; min-width: 0; min-height: 0; } "
        ".clipwren-compact separator { margin: 0 2px; }",
        -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
    return true;
  }();
  (void)installed;
  gtk_style_context_add_class(gtk_widget_get_style_context(GTK_WIDGET(bar->GTKGetToolbar())),
                              "clipwren-compact");
#else
  (void)bar;
#endif
}

wxRect CPrintToolBar::ToolScreenRect(int id) const {
  const int pos = GetToolPos(id);
  if (pos == wxNOT_FOUND) return {};
#ifdef __WXGTK__
  GtkToolItem* item = gtk_toolbar_get_nth_item(GTKGetToolbar(), pos);
  if (item) {
    GtkWidget* widget = GTK_WIDGET(item);
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    int x = 0, y = 0, ox = 0, oy = 0;
    if (top && gtk_widget_translate_coordinates(widget, top, 0, 0, &x, &y) &&
        gtk_widget_get_window(top)) {
      gdk_window_get_origin(gtk_widget_get_window(top), &ox, &oy);
      GtkAllocation a;
      gtk_widget_get_allocation(widget, &a);
      return {ox + x, oy + y, a.width, a.height};
    }
  }
#endif
  // Without the toolkit's geometry: the bar's height under the mouse.
  const wxRect bar = GetScreenRect();
  return {wxGetMousePosition().x, bar.y, 1, bar.height};
}
