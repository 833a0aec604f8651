#include "app/store/ui/CDimEditCtrl.h"

#include <wx/fontutil.h>
#include <wx/settings.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#include <pango/pangocairo.h>
#endif

#include "platform/TextConv.h"

wxDEFINE_EVENT(EVT_DIM_EDIT_ENTER, wxCommandEvent);

namespace {

#ifdef __WXGTK__
gboolean DrawPromptAfterField(GtkWidget*, cairo_t* cr, gpointer self) {
  static_cast<CDimEditCtrl*>(self)->DrawPrompt(cr);
  return FALSE;
}
#endif

}  // namespace

CDimEditCtrl::CDimEditCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                           long style) {
  Create(parent, id, pos, size, style);
}

bool CDimEditCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                          long style) {
  // Enter is ours (the native "activate" only fires once an input method has finished its
  // conversion, so Enter during conversion never reaches us).
  if (!wxTextCtrl::Create(parent, id, wxEmptyString, pos, size, style | wxTE_PROCESS_ENTER))
    return false;
  Init();
  return true;
}

void CDimEditCtrl::Init() {
  RecomputePromptColour();
  Bind(wxEVT_TEXT, &CDimEditCtrl::OnText, this);
  Bind(wxEVT_TEXT_ENTER, &CDimEditCtrl::OnEnter, this);
  Bind(wxEVT_SET_FOCUS, &CDimEditCtrl::OnFocus, this);
  Bind(wxEVT_SYS_COLOUR_CHANGED, &CDimEditCtrl::OnSysColourChanged, this);
#ifdef __WXGTK__
  g_signal_connect_after(m_widget, "draw", G_CALLBACK(DrawPromptAfterField), this);
#endif
  SetShowPrompt(true);
}

void CDimEditCtrl::SetPrompt(const char* utf8) {
  const std::string_view text = utf8 ? std::string_view(utf8) : std::string_view();
  m_prompt = std::string(text.substr(0, platform::text::Utf8PrefixLength(text, kMaxPromptBytes)));
  if (m_showPrompt) Refresh();
}

void CDimEditCtrl::SetShowPrompt(bool show) {
  m_showPrompt = show;
  // Turning it off erases nothing by itself; the repaint that follows a change of text does.
  if (show) Refresh();
}

bool CDimEditCtrl::IsPromptVisible() const {
  return m_showPrompt && !m_prompt.empty() && IsEmpty();
}

void CDimEditCtrl::SetPromptColourOffsets(int red, int green, int blue) {
  m_offsets = {red, green, blue};
  m_useOffsets = true;
  RecomputePromptColour();
}

wxColour CDimEditCtrl::PromptColourFor(const wxColour& window, const std::array<int, 3>& offsets) {
  const auto wrap = [](int channel, int offset) {
    return static_cast<unsigned char>((channel + offset) & 0xFF);
  };
  return {wrap(window.Red(), offsets[0]), wrap(window.Green(), offsets[1]),
          wrap(window.Blue(), offsets[2])};
}

void CDimEditCtrl::RecomputePromptColour() {
  if (!m_useOffsets) return;
  m_promptColour = PromptColourFor(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW), m_offsets);
  Refresh();
}

void CDimEditCtrl::OnText(wxCommandEvent& event) {
  SetShowPrompt(IsEmpty());
  event.Skip();
}

void CDimEditCtrl::OnEnter(wxCommandEvent&) {
  // Selecting everything leaves the caret at the end, which scrolls it into view.
  SelectAll();
  if (m_notify) {
    auto* notice = new wxCommandEvent(EVT_DIM_EDIT_ENTER, GetId());
    notice->SetEventObject(this);
    wxQueueEvent(m_notify->GetEventHandler(), notice);
  }
}

void CDimEditCtrl::OnFocus(wxFocusEvent& event) {
  if (m_showPrompt) Refresh();
  event.Skip();
}

void CDimEditCtrl::OnSysColourChanged(wxSysColourChangedEvent& event) {
  RecomputePromptColour();
  event.Skip();
}

void CDimEditCtrl::DrawPrompt(void* cairoContext) {
#ifdef __WXGTK__
  if (!IsPromptVisible() || !cairoContext) return;
  auto* cr = static_cast<cairo_t*>(cairoContext);
  cairo_save(cr);
  PangoLayout* layout = gtk_widget_create_pango_layout(m_widget, m_prompt.c_str());
  if (GetFont().IsOk())
    pango_layout_set_font_description(layout, GetFont().GetNativeFontInfo()->description);
  int textWidth = 0, textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  // The client rectangle moved one pixel right and down, the prompt centred across it and
  // vertically in the line, as the field centres its own text.
  const int width = gtk_widget_get_allocated_width(m_widget);
  const int height = gtk_widget_get_allocated_height(m_widget);
  const double x = 1 + (width - textWidth) / 2.0;
  const double y = 1 + std::max(0, (height - textHeight) / 2 - 1);
  cairo_set_source_rgb(cr, m_promptColour.Red() / 255.0, m_promptColour.Green() / 255.0,
                       m_promptColour.Blue() / 255.0);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  cairo_restore(cr);
#else
  (void)cairoContext;
#endif
}
