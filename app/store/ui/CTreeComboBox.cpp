#include "app/store/ui/CTreeComboBox.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/popupwin.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>

#include <gtk/gtk.h>

#include "app/store/ui/CComboTree.h"

CTreeComboBox* CTreeComboBox::s_open = nullptr;

namespace {

// A dialog run modally grabs the pointer for the windows of its group, which would send the
// open drop-down's presses and motion to the dialog. While it shows, the drop-down is in a
// group of its own; closed, it goes back to its dialog's group.
constexpr char kHomeGroupKey[] = "clipwren-home-group";

void SetOwnPointerGroup(wxWindow* popup, bool own) {
  GtkWidget* widget = popup->GetHandle();
  if (!widget || !GTK_IS_WINDOW(widget)) return;
  GtkWindow* window = GTK_WINDOW(widget);
  if (own) {
    if (gtk_window_has_group(window))
      g_object_set_data_full(G_OBJECT(widget), kHomeGroupKey,
                             g_object_ref(gtk_window_get_group(window)), g_object_unref);
    GtkWindowGroup* group = gtk_window_group_new();
    gtk_window_group_add_window(group, window);
    g_object_unref(group);  // the window holds it
    return;
  }
  if (auto* home =
          static_cast<GtkWindowGroup*>(g_object_get_data(G_OBJECT(widget), kHomeGroupKey))) {
    gtk_window_group_add_window(home, window);
    g_object_set_data(G_OBJECT(widget), kHomeGroupKey, nullptr);  // drops the reference
  } else if (gtk_window_has_group(window)) {
    gtk_window_group_remove_window(gtk_window_get_group(window), window);
  }
}

}  // namespace

CTreeComboBox::CTreeComboBox(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                             const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxWANTS_CHARS) {
  // A new picker starts with nothing open in the program; an open drop-down is hidden rather
  // than forgotten while it still shows.
  CloseDropDown();
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  m_font = wxFont(wxFontInfo(wxSize(0, FromDIP(12))).FaceName("MS UI Gothic"));
  m_font.SetEncoding(wxFONTENCODING_SHIFT_JIS);
  m_text = new wxStaticText(this, 1025, wxString(), wxDefaultPosition, wxDefaultSize,
                            wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  m_text->SetFont(m_font);
  m_text->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
  m_text->SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));

  // The drop-down floats over everything and is never clipped by the dialog.
  m_popup = new wxPopupWindow(this, wxBORDER_SIMPLE);
  m_tree = new CComboTree(m_popup, this);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(m_tree, 1, wxEXPAND);
  m_popup->SetSizer(sizer);

  Bind(wxEVT_PAINT, &CTreeComboBox::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &CTreeComboBox::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &CTreeComboBox::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &CTreeComboBox::OnLeftUp, this);
  Bind(wxEVT_CHAR_HOOK, &CTreeComboBox::OnCharHook, this);
  Bind(wxEVT_KILL_FOCUS, &CTreeComboBox::OnKillFocus, this);
  Bind(wxEVT_SIZE, &CTreeComboBox::OnSize, this);
  // A press on the text is a press on the box.
  m_text->Bind(wxEVT_LEFT_DOWN, &CTreeComboBox::OnLeftDown, this);
  m_text->Bind(wxEVT_LEFT_UP, &CTreeComboBox::OnLeftUp, this);
  HookDialog();
  wxSizeEvent sizeEvent(GetSize());
  OnSize(sizeEvent);
}

CTreeComboBox::~CTreeComboBox() {
  if (s_open == this) s_open = nullptr;
  UnhookDialog();
}

wxSize CTreeComboBox::DoGetBestSize() const { return FromDIP(wxSize(200, 24)); }

void CTreeComboBox::HookDialog() {
  m_dialog = wxDynamicCast(wxGetTopLevelParent(GetParent()), wxTopLevelWindow);
  if (!m_dialog) return;
  // Pushed in front of the dialog's own handlers: a press on the dialog or a button closes the
  // drop-down before the button does its work (which may open another dialog).
  m_hook = new wxEvtHandler;
  m_hook->Bind(wxEVT_LEFT_DOWN, &CTreeComboBox::OnDialogClick, this);
  m_hook->Bind(wxEVT_BUTTON, &CTreeComboBox::OnDialogCommand, this);
  m_hook->Bind(wxEVT_MOVE, &CTreeComboBox::OnDialogMove, this);
  m_dialog->PushEventHandler(m_hook);
}

void CTreeComboBox::UnhookDialog() {
  if (!m_dialog || !m_hook) return;
  m_dialog->RemoveEventHandler(m_hook);
  delete m_hook;
  m_hook = nullptr;
  m_dialog = nullptr;
}

void CTreeComboBox::SetHomeAndFill(const std::string& homePath) {
  m_tree->SetHomeAndFill(homePath);
}

wxString CTreeComboBox::ShownText() const { return m_text->GetLabel(); }

void CTreeComboBox::TakeSelection() {
  const wxTreeItemId item = m_tree->GetSelection();
  if (!item.IsOk()) return;
  m_text->SetLabel(m_tree->GetItemText(item));
  wxBitmap icon;
  if (wxImageList* images = m_tree->GetImageList()) {
    const int index = m_tree->GetItemImage(item);
    if (index >= 0 && index < images->GetImageCount()) icon = images->GetBitmap(index);
  }
  const bool changed =
      icon.IsOk() != m_icon.IsOk() || (icon.IsOk() && icon.GetRefData() != m_icon.GetRefData());
  m_icon = icon;
  if (changed) Refresh();
  CloseDropDown();
}

void CTreeComboBox::Open() {
  const wxRect box = GetScreenRect();
  m_popup->SetSize(box.x, box.y + box.height, box.width, FromDIP(kDropDownHeight));
  m_popup->Layout();
  SetOwnPointerGroup(m_popup, true);
  m_popup->Show();
  m_popup->Raise();
  if (const wxTreeItemId item = m_tree->GetSelection(); item.IsOk()) m_tree->EnsureVisible(item);
  s_open = this;
  Refresh();
}

void CTreeComboBox::ToggleDropDown() {
  if (s_open) {
    CloseDropDown();
    return;
  }
  Open();
}

void CTreeComboBox::CloseDropDown() {
  CTreeComboBox* open = s_open;
  if (!open) return;
  s_open = nullptr;
  open->m_popup->Hide();
  SetOwnPointerGroup(open->m_popup, false);
  open->Refresh();
}

void CTreeComboBox::OnSize(wxSizeEvent& event) {
  const wxSize size = GetClientSize();
  const int left = FromDIP(kTextInsetLeft), right = FromDIP(kTextInsetRight);
  const int inset = FromDIP(kTextInsetY);
  m_text->SetSize(left, inset, std::max(0, size.x - left - right), std::max(0, size.y - 2 * inset));
  Refresh();
  event.Skip();
}

void CTreeComboBox::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
  const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
  const wxColour dark = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
  const wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
  const wxColour light3d = wxSystemSettings::GetColour(wxSYS_COLOUR_3DLIGHT);
  const wxRect all(GetClientSize());
  const auto shrunk = [](wxRect r, int d) { return r.Deflate(d); };

  // A 3D frame: top and left in one colour, bottom and right in the other.
  const auto frame3d = [&dc](const wxRect& r, const wxColour& topLeft,
                             const wxColour& bottomRight) {
    dc.SetPen(wxPen(topLeft));
    dc.DrawLine(r.x, r.y, r.GetRight(), r.y);
    dc.DrawLine(r.x, r.y, r.x, r.GetBottom());
    dc.SetPen(wxPen(bottomRight));
    dc.DrawLine(r.x, r.GetBottom(), r.GetRight() + 1, r.GetBottom());
    dc.DrawLine(r.GetRight(), r.y, r.GetRight(), r.GetBottom());
  };
  // The sunken edge, then the inside in the window colour.
  frame3d(all, shadow, light);
  frame3d(shrunk(all, 1), dark, light3d);
  const wxRect inner = shrunk(all, 2);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(window));
  dc.DrawRectangle(inner);

  if (m_icon.IsOk()) dc.DrawBitmap(m_icon, inner.x + 1, inner.y, true);

  // The arrow button: the right part of the inside, never left of it.
  const int arrowWidth = FromDIP(kArrowWidth);
  wxRect button(std::max(inner.x, inner.GetRight() + 1 - arrowWidth), inner.y, 0, inner.height);
  button.width = inner.GetRight() + 1 - button.x;
  int shift = 0;
  if (m_pressed && IsDroppedDown()) {
    dc.SetPen(wxPen(shadow));
    dc.SetBrush(wxBrush(face));
    dc.DrawRectangle(button);
    shift = 1;
  } else {
    dc.SetPen(wxPen(face));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(button);
    frame3d(button, face, dark);
    frame3d(shrunk(button, 1), light, shadow);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(face));
    dc.DrawRectangle(shrunk(button, 2));
  }
  // A downward triangle of lines 7, 5, 3 and 1 pixels long, drawn as one-pixel-high
  // rectangles so each row is exactly its pixels (a line of length 1 may draw nothing).
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(*wxBLACK_BRUSH);
  const int a = button.x + shift;
  const int middle = inner.y + inner.height / 2 + shift;
  for (int i = 0; i < 4; ++i) dc.DrawRectangle(a + i + 4, middle + i - 2, 7 - 2 * i, 1);
}

void CTreeComboBox::OnLeftDown(wxMouseEvent&) {
  SetFocus();
  m_pressed = true;
  ToggleDropDown();
}

void CTreeComboBox::OnLeftUp(wxMouseEvent&) {
  m_pressed = false;
  if (s_open) Refresh();
}

void CTreeComboBox::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const bool open = IsDroppedDown();
  switch (key) {
    case WXK_DOWN:
    case WXK_UP:
    case WXK_NUMPAD_DOWN:
    case WXK_NUMPAD_UP: {
      // Closed, the arrows open the drop-down; open, they move its highlight, and with Alt
      // they close it again.
      const bool down = key == WXK_DOWN || key == WXK_NUMPAD_DOWN;
      if (open && !event.AltDown())
        m_tree->MoveHighlight(down ? 1 : -1);
      else
        ToggleDropDown();
      return;
    }
    case WXK_F4:
      ToggleDropDown();
      return;
    case WXK_SPACE:
      return;  // the box is not a button to click
    case WXK_ESCAPE:
      if (open) {
        CloseDropDown();
        return;
      }
      break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      if (open) {
        TakeSelection();
        return;
      }
      break;
    default:
      break;
  }
  event.Skip();
}

void CTreeComboBox::OnKillFocus(wxFocusEvent& event) {
  if (IsDroppedDown() && event.GetWindow() != m_text) CloseDropDown();
  event.Skip();
}

void CTreeComboBox::OnDialogClick(wxMouseEvent& event) {
  CloseDropDown();
  event.Skip();
}

void CTreeComboBox::OnDialogCommand(wxCommandEvent& event) {
  // A command from the open picker itself, with the pointer on it, does not close it.
  const bool fromOpen = s_open && event.GetEventObject() == s_open &&
                        s_open->GetScreenRect().Contains(wxGetMousePosition());
  if (!fromOpen) CloseDropDown();
  event.Skip();
}

void CTreeComboBox::OnDialogMove(wxMoveEvent& event) {
  CloseDropDown();
  event.Skip();
}
