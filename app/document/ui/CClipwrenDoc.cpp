#include "app/document/ui/CClipwrenDoc.h"

#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <algorithm>
#include <filesystem>

#include "app/document/ScrapText.h"
#include "app/res/ui/MessageBoxes.h"
#include "app/store/ScrapStore.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"

namespace {

CClipwrenDoc* g_current = nullptr;

// The scrap's file of a fixed name, in whatever letter case the capture gave it.
std::string Join(const std::string& folder, std::string_view name) {
  return store::ScrapFilePath(folder, name).string();
}

}  // namespace

CClipwrenDoc::CClipwrenDoc() {
  g_current = this;
  const auto programFiles =
      platform::GetSpecialFolder(platform::SpecialFolder::ProgramFiles, false);
  m_evernote = shell::AppSettings(platform::Registry(platform::Hive::CurrentUser))
                   .ReadEvernote(programFiles ? programFiles->string() : std::string());
  askSave = [](const wxString& question) {
    return res::ui::MessageBox(question, wxTheApp ? wxTheApp->GetAppDisplayName() : wxString(),
                               wxYES_NO | wxICON_EXCLAMATION, nullptr) == wxYES;
  };
  showMessage = [](const wxString& text) {
    res::ui::MessageBox(text, wxTheApp ? wxTheApp->GetAppDisplayName() : wxString(), wxOK,
                        nullptr);
  };
  openAddress = [](const std::string& url) { wxLaunchDefaultBrowser(wxString::FromUTF8(url)); };
  runSaveDialog = [](wxFileDialog& dialog) -> std::optional<std::pair<std::string, int>> {
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    return std::pair{dialog.GetPath().utf8_string(), dialog.GetFilterIndex()};
  };
  BindCommands();
  BindShareCommands();
}

CClipwrenDoc::~CClipwrenDoc() {
  // Picture tabs go first: their text boxes live in the views' windows.
  m_pageImage.reset();
  m_copyImage.reset();
  const std::vector<CDocView*> views = m_views;
  for (CDocView* view : views) view->OnDocumentGone();
  if (g_current == this) g_current = nullptr;
}

CClipwrenDoc* CClipwrenDoc::Current() { return g_current; }

void CClipwrenDoc::AddView(CDocView* view) {
  if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
    m_views.push_back(view);
  }
}

void CClipwrenDoc::RemoveView(CDocView* view) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CClipwrenDoc::UpdateAllViews(CDocView* sender, const DocUpdate& update) {
  // A copy: a view may register or leave while it updates.
  const std::vector<CDocView*> views = m_views;
  for (CDocView* view : views) {
    if (view != sender) view->OnUpdate(sender, update);
  }
}

void CClipwrenDoc::SetPageView(int tab, IPageView* view) {
  (tab == kTabCopy ? m_copyView : m_pageView) = view;
  CSBImage* image = tab == kTabCopy ? m_copyImage.get() : m_pageImage.get();
  if (image) image->SetView(view);
}

CSBImage* CClipwrenDoc::ImageOf(const IPageView* view) const {
  if (!view) return nullptr;
  if (m_pageImage && m_pageImage->View() == view) return m_pageImage.get();
  if (m_copyImage && m_copyImage->View() == view) return m_copyImage.get();
  return nullptr;
}

CSBImage* CClipwrenDoc::CurrentImage() const {
  return m_currentPictureTab == kTabCopy ? m_copyImage.get() : m_pageImage.get();
}

IPageView* CClipwrenDoc::CurrentPageView() const { return PageViewOf(m_currentPictureTab); }

void CClipwrenDoc::SetCurrentPictureTab(int tab) {
  m_currentPictureTab = tab == kTabCopy ? kTabCopy : kTabPage;
}

wxString CClipwrenDoc::SaveQuestion() const {
  return wxString::Format(wxString::FromUTF8("スクラップ '%s' の内容は変更されています。"),
                          m_title) +
         wxString::FromUTF8("\r\n\r\n変更を保存しますか？");
}

void CClipwrenDoc::SetTitle(const wxString& title) {
  m_title = title;
  if (m_frame) m_frame->OnTitleChanged(m_title);
}

void CClipwrenDoc::NewDocument() {
  SetTitle(wxString());
  m_printSettings.Reset();
}

bool CClipwrenDoc::OpenScrap(const std::string& folder) {
  if (m_modified) {
    if (askSave && askSave(SaveQuestion())) {
      m_saveAll = true;
      // What could not be saved has been reported; the scrap stays open with its edits.
      if (!Save()) return false;
    }
    m_modified = false;
  }
  m_pageImage = std::make_unique<CSBImage>(m_pageView);
  m_copyImage = std::make_unique<CSBImage>(m_copyView);

  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  m_folder = path;
  const size_t slash = path.rfind('/');
  SetTitle(wxString::FromUTF8(slash == std::string::npos ? path : path.substr(slash + 1)));
  m_pageImage->SetPath(Join(path, store::kMainPicture));
  m_copyImage->SetPath(Join(path, store::kCopyPicture));
  m_textPath = Join(path, store::kContentText);
  m_viewSettingsPath = Join(path, store::kImageViewIni);
  m_infoPath = Join(path, store::kInfoText);

  std::error_code ec;
  m_copyPresent = std::filesystem::is_regular_file(m_copyImage->Path(), ec);
  // Settings chosen for one scrap never carry over to the next, views or not.
  m_printSettings.Reset();
  if (!m_pageView) return true;
  (void)m_pageImage->Load();
  if (m_copyPresent && m_copyView) {
    (void)m_copyImage->Load();
  } else if (m_copyView) {
    m_copyView->ResetView();
  }
  // A scrap without a readable text shows an empty text view: the previous scrap's text must
  // not stay there to be saved into this one.
  m_textPresent = ReadTextFile();
  if (m_textPane) m_textPane->SetText(m_text);
  m_picturesPresent = m_picturesPane ? m_picturesPane->LoadFolder(path) : 0;
  ReadViewSettings();
  return true;
}

void CClipwrenDoc::FolderMoved(const std::string& from, const std::string& to) {
  if (m_folder.empty() || from.empty() || to.empty()) return;
  std::string path;
  if (m_folder == from) {
    path = to;
  } else if (m_folder.size() > from.size() && m_folder.starts_with(from) &&
             m_folder[from.size()] == '/') {
    path = to + m_folder.substr(from.size());
  } else {
    return;
  }
  m_folder = path;
  const size_t slash = path.rfind('/');
  SetTitle(wxString::FromUTF8(slash == std::string::npos ? path : path.substr(slash + 1)));
  if (m_pageImage) m_pageImage->SetPath(Join(path, store::kMainPicture));
  if (m_copyImage) m_copyImage->SetPath(Join(path, store::kCopyPicture));
  m_textPath = Join(path, store::kContentText);
  m_viewSettingsPath = Join(path, store::kImageViewIni);
  m_infoPath = Join(path, store::kInfoText);
  // The pictures tab lists files by their paths: it reads the folder again where it now is.
  if (m_picturesPane) m_picturesPresent = m_picturesPane->LoadFolder(path);
}

bool CClipwrenDoc::ReadTextFile() {
  m_text.clear();
  std::optional<std::string> text = scrapfiles::ReadContentText(m_textPath);
  if (!text) return false;
  m_text = std::move(*text);
  return true;
}

bool CClipwrenDoc::WriteTextFile() {
  if (m_textPane) m_text = m_textPane->GetText();
  if (m_textPath.empty()) return true;
  // The file is replaced in one step, so a failure leaves the old text as it was.
  return scrapfiles::WriteContentText(m_textPath, m_text);
}

void CClipwrenDoc::ReadViewSettings() {
  if (!m_viewSettingsPath.empty()) scrapfiles::ReadViewSettings(m_viewSettingsPath, m_viewSettings);
}

bool CClipwrenDoc::WriteViewSettings() {
  if (m_viewSettingsPath.empty()) return true;
  return scrapfiles::WriteViewSettings(m_viewSettingsPath, m_viewSettings);
}

void CClipwrenDoc::ReportUnwritten(const std::string& path) {
  if (showMessage) {
    showMessage(wxString::Format(wxString::FromUTF8("%s に保存できませんでした。"),
                                 wxString::FromUTF8(path)));
  }
}

bool CClipwrenDoc::SavePicture(CSBImage* image) {
  if (!image || !image->HasPicture()) return true;
  const CSBImage::SaveOutcome outcome = image->Save();
  if (outcome.written || outcome.error.empty()) return true;
  if (showMessage) showMessage(wxString::FromUTF8(outcome.error));
  return false;
}

bool CClipwrenDoc::Save() {
  bool ok = true;
  const auto saveText = [&] {
    if (!WriteTextFile()) {
      ReportUnwritten(m_textPath);
      ok = false;
    }
  };
  const auto saveSettings = [&] {
    if (!WriteViewSettings()) {
      ReportUnwritten(m_viewSettingsPath);
      ok = false;
    }
  };
  if (m_saveAll) {
    m_saveAll = false;
    ok = SavePicture(m_pageImage.get()) && ok;
    // A deleted copy tab has no picture to write back, and a scrap without a text gets none.
    if (m_copyPresent) ok = SavePicture(m_copyImage.get()) && ok;
    if (m_textPresent) saveText();
    saveSettings();
  } else {
    switch (m_activeTab) {
      case kTabPage: ok = SavePicture(m_pageImage.get()); break;
      case kTabCopy: ok = SavePicture(m_copyImage.get()); break;
      case kTabText: saveText(); break;
      case kTabPictures: saveSettings(); break;
      default: break;
    }
  }
  if (ok) m_modified = false;
  return ok;
}

void CClipwrenDoc::ShowZoom(int zoom) {
  if (m_frame) m_frame->SetZoomText(zoom == 0 ? wxString() : wxString::Format("%d%%", zoom));
}
