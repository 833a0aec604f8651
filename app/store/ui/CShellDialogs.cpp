#include "app/store/ui/CShellDialogs.h"

#include <wx/msgdlg.h>

#include "app/res/ui/MessageBoxes.h"

namespace {

wxString Utf8(const std::string& s) { return wxString::FromUTF8(s); }

}  // namespace

platform::ShellUi::Answer CShellDialogs::ConfirmDelete(
    const std::vector<std::filesystem::path>& items, bool toTrash) {
  wxString text;
  if (items.size() == 1) {
    const wxString name = Utf8(items.front().filename().string());
    text = toTrash ? wxString::Format(Utf8("'%s' をごみ箱に移動しますか?"), name)
                   : wxString::Format(Utf8("'%s' を完全に削除しますか?"), name);
  } else {
    text = toTrash ? wxString::Format(Utf8("これらの %zu 個の項目をごみ箱に移動しますか?"),
                                      items.size())
                   : wxString::Format(Utf8("これらの %zu 個の項目を完全に削除しますか?"),
                                      items.size());
  }
  const int answer =
      res::ui::MessageBox(text, Utf8("削除の確認"), wxYES_NO | wxICON_QUESTION, m_owner);
  return answer == wxYES ? Answer::Yes : Answer::No;
}

platform::ShellUi::Answer CShellDialogs::ConfirmReplace(const std::filesystem::path& source,
                                                        const std::filesystem::path& destination) {
  const wxString text = wxString::Format(
      Utf8("このフォルダには既に '%s' が存在します。\n置き換えますか?"),
      Utf8(destination.filename().string().empty() ? source.filename().string()
                                                   : destination.filename().string()));
  switch (res::ui::MessageBox(text, Utf8("フォルダの置き換えの確認"),
                              wxYES_NO | wxCANCEL | wxICON_QUESTION, m_owner)) {
    case wxYES: return Answer::Yes;
    case wxNO: return Answer::No;
    default: return Answer::Cancel;
  }
}

void CShellDialogs::ReportError(const std::string& message) {
  res::ui::MessageBox(Utf8(message), Utf8("エラー"), wxOK | wxICON_ERROR, m_owner);
}
