#include "capture/ui/PromptWindows.h"

#include <wx/button.h>
#include <wx/textdlg.h>

#include "capture/CaptureOptions.h"

namespace capture {

std::unique_ptr<wxTextEntryDialog> MakeAddressDialog(const wxString& address) {
  // The field is the only control and has the focus, so the label carries no mnemonic (this
  // dialog shows a "&" as it is).
  auto dialog = std::make_unique<wxTextEntryDialog>(
      nullptr, wxString::FromUTF8("クリップするWebページのアドレス:"),
      wxString::FromUTF8("Webページをクリップ"), address);
  if (auto* ok = dynamic_cast<wxButton*>(dialog->FindWindow(wxID_OK))) ok->SetLabel("OK");
  NameCancelButton(*dialog);
  // The toolkit's dialog is resizable, which only brought the window manager's maximise
  // button to a one-line question: it keeps the size it opens at.
  dialog->SetSizeHints(dialog->GetSize(), dialog->GetSize());
  return dialog;
}

void NameCancelButton(wxWindow& window) {
  if (auto* cancel = dynamic_cast<wxButton*>(window.FindWindow(wxID_CANCEL)))
    cancel->SetLabel(wxString::FromUTF8("キャンセル"));
}

wxString ProgressStepText(std::string_view step, const wxString& shown) {
  struct Step {
    std::string_view prefix;
    const char* text;
  };
  // clang-format off
  static constexpr Step kSteps[] = {
      {"starting ", "ブラウザを起動しています…"},
      {"loading ", "ページを読み込んでいます…"},
      {"waiting ", "ページを読み込んでいます…"},
      {"page: ", "ページの画像を撮っています…"},
      {"picture: ", "ページの画像を撮っています…"},
      {"pictures: ", "画像を集めています…"},
      {"writing ", "クリップを書き出しています…"},
  };
  // clang-format on
  for (const Step& s : kSteps) {
    if (step.starts_with(s.prefix)) return wxString::FromUTF8(s.text);
  }
  return shown;
}

wxString FailureText(int exitCode, const std::string& detail) {
  const char* what = "ページをクリップできませんでした。";
  switch (exitCode) {
    case kExitNoBrowser:
      what = "Chromiumが見つからないか、起動できませんでした。";
      break;
    case kExitLoadFailed:
      what = "ページを読み込めませんでした。";
      break;
    case kExitTimedOut:
      what = "ページの読み込みが時間内に終わりませんでした。";
      break;
    case kExitWriteFailed:
      what = "クリップのフォルダを書き込めませんでした。";
      break;
    case kExitNoClipwren:
      what = "クリップレン帳を起動できませんでした。";
      break;
    default:
      break;
  }
  wxString text = wxString::FromUTF8(what);
  if (!detail.empty()) text += "\n\n" + wxString::FromUTF8(detail);
  return text;
}

}  // namespace capture
