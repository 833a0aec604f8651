#include "app/res/ui/FindDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobox.h>
#include <wx/stattext.h>

namespace res::ui {

namespace {

wxString Utf8(const char* text) { return wxString::FromUTF8(text); }

}  // namespace

wxFindReplaceDialog* CreateFindDialog(wxWindow* parent, wxFindReplaceData* data,
                                      const wxString& title) {
  auto* dialog = new wxFindReplaceDialog(parent, data, title, wxFR_NOWHOLEWORD);
  for (wxWindow* child : dialog->GetChildren()) {
    if (auto* box = wxDynamicCast(child, wxCheckBox)) {
      // The whole-word box is the one the style disabled.
      if (!box->IsEnabled()) {
        box->Hide();
      } else {
        box->SetLabel(Utf8("大文字と小文字を区別する(&C)"));
      }
    } else if (auto* direction = wxDynamicCast(child, wxRadioBox)) {
      direction->SetLabel(Utf8("方向"));
      if (direction->GetCount() == 2) {
        direction->SetString(0, Utf8("上へ"));
        direction->SetString(1, Utf8("下へ"));
      }
    } else if (auto* button = wxDynamicCast(child, wxButton)) {
      if (button->GetId() == wxID_FIND) button->SetLabel(Utf8("次を検索(&F)"));
      if (button->GetId() == wxID_CANCEL) button->SetLabel(Utf8("キャンセル"));
    } else if (auto* label = wxDynamicCast(child, wxStaticText)) {
      label->SetLabel(Utf8("検索する文字列(&N):"));
      // The toolkit gave the label a fixed width for its own, shorter text.
      label->SetMinSize(wxDefaultSize);
      label->SetMinSize(label->GetBestSize());
    }
  }
  dialog->Layout();
  dialog->Fit();
  // The toolkit makes it resizable, and the window manager then offers to maximise it; it
  // keeps the size it opens at.
  wxSize size = dialog->GetSize();
  size.IncTo(dialog->GetMinSize());
  dialog->SetMaxSize(size);
  dialog->SetMinSize(size);
  return dialog;
}

}  // namespace res::ui
