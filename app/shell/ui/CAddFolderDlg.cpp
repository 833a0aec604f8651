#include "app/shell/ui/CAddFolderDlg.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <system_error>

#include "app/res/Resource.h"
#include "app/res/ui/MessageBoxes.h"
#include "app/res/ui/ResArt.h"
#include "app/store/ScrapStore.h"
#include "app/store/ui/CComboTree.h"
#include "app/store/ui/CCreateFolderDlg.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CTreeComboBox.h"

namespace {

// The star drawn through its mask: where the mask is white, the dialog shows through.
wxBitmap MaskedStar() {
  wxImage star = res::ui::ResourceBitmap(res::kBmpAddStar).ConvertToImage();
  const wxImage mask = res::ui::ResourceBitmap(res::kBmpAddStarMask).ConvertToImage();
  if (!star.IsOk()) return {};
  if (!star.HasAlpha()) star.InitAlpha();
  if (mask.IsOk() && mask.GetSize() == star.GetSize()) {
    for (int y = 0; y < star.GetHeight(); ++y)
      for (int x = 0; x < star.GetWidth(); ++x)
        if (mask.GetRed(x, y) > 127) star.SetAlpha(x, y, 0);
  }
  return wxBitmap(star);
}

}  // namespace

CAddFolderDlg::CAddFolderDlg(wxWindow* owner, const std::string& homeFolder,
                             const std::string& proposedName)
    : wxDialog(owner, wxID_ANY, wxString::FromUTF8("スクラップブックへの追加")),
      m_images(CFolderTreeCtrl::CreateImageList()),
      m_star(MaskedStar()) {
  const auto at = [this](int x, int y) { return FromDIP(wxPoint(x, y)); };
  const auto size = [this](int w, int h) { return FromDIP(wxSize(w, h)); };
  auto* heading =
      new wxStaticText(this, wxID_ANY, wxString::FromUTF8("スクラップブックへの追加"), at(76, 14));
  heading->SetFont(heading->GetFont().Bold());
  new wxStaticText(this, wxID_ANY,
                   wxString::FromUTF8("Webページをスクラップブックに追加します。\n"
                                      "名前と追加先を指定してくたさい。"),
                   at(76, 38));
  new wxStaticText(this, wxID_ANY, wxString::FromUTF8("名前(&N):"), at(20, 96));
  m_name =
      new wxTextCtrl(this, kIdName, wxString::FromUTF8(proposedName), at(110, 92), size(270, -1));
  new wxStaticText(this, wxID_ANY, wxString::FromUTF8("追加先(&R):"), at(20, 132));
  m_picker = new CTreeComboBox(this, kIdPicker, at(110, 128), size(270, 24));
  auto* newFolder =
      new wxButton(this, kIdNewFolder, wxString::FromUTF8("新しいフォルダ(&E)"), at(110, 160));
  m_add = new wxButton(this, wxID_OK, wxString::FromUTF8("追加(&A)"), at(196, 206), size(88, 30));
  new wxButton(this, wxID_CANCEL, wxString::FromUTF8("キャンセル(&C)"), at(292, 206), size(88, 30));
  m_add->SetDefault();
  (void)newFolder;
  // The controls sit at fixed places around the star; the sizer only holds the client size.
  auto* area = new wxBoxSizer(wxVERTICAL);
  area->AddSpacer(0);
  area->SetMinSize(size(400, 250));
  SetSizerAndFit(area);

  m_picker->Tree()->SetImageList(m_images.get());
  m_picker->SetHomeAndFill(homeFolder);

  Bind(wxEVT_PAINT, &CAddFolderDlg::OnPaint, this);
  Bind(wxEVT_BUTTON, &CAddFolderDlg::OnNewFolder, this, kIdNewFolder);
  Bind(wxEVT_BUTTON, &CAddFolderDlg::OnAdd, this, wxID_OK);
  m_name->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { UpdateAddButton(); });
  UpdateAddButton();
  m_name->SetFocus();
  m_name->SelectAll();
  Centre();
}

CAddFolderDlg::~CAddFolderDlg() {
  // The trees let go of the picture list before it goes.
  CTreeComboBox::CloseDropDown();
  m_picker->UnhookDialog();
  m_picker->Tree()->SetImageList(nullptr);
}

void CAddFolderDlg::UpdateAddButton() { m_add->Enable(!m_name->GetValue().empty()); }

void CAddFolderDlg::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  if (m_star.IsOk()) dc.DrawBitmap(m_star, FromDIP(wxPoint(kStarX, kStarY)), true);
}

void CAddFolderDlg::OnNewFolder(wxCommandEvent&) {
  CCreateFolderDlg dialog(this, *m_picker);
  if (dialog.ShowModal() != wxID_OK) return;
  (void)m_picker->Tree()->SelectByPath(dialog.Destination());
  (void)m_picker->Tree()->CreateUniqueFolder(store::CleanName(dialog.FolderName()));
  m_picker->TakeSelection();
}

void CAddFolderDlg::OnAdd(wxCommandEvent&) {
  if (m_name->GetValue().empty()) return;  // Enter in the box while the button is disabled
  const std::string folder =
      m_picker->Tree()->CreateUniqueFolder(store::CleanName(m_name->GetValue().utf8_string()));
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
    // Nothing could be filed there; the capture stays as it is until the user picks again.
    res::ui::MessageBox(wxString::FromUTF8("スクラップのフォルダを作成できませんでした。\n" +
                                           res::ui::BreakLongRuns(folder)),
                        wxString::FromUTF8("クリップレン"), wxOK | wxICON_ERROR, this);
    return;
  }
  m_scrapFolder = m_picker->Tree()->SelectedPath();
  EndModal(wxID_OK);
}

std::optional<std::filesystem::path> AskScrapFolder(const std::string& homeFolder,
                                                    const std::string& proposedName) {
  CAddFolderDlg dialog(nullptr, homeFolder, proposedName);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return std::filesystem::path(dialog.ScrapFolder());
}
