#include "app/shell/ui/CClipwrenApp.h"

#include <wx/graphics.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <system_error>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ui/CAllView.h"
#include "app/pageview/ui/CClipwrenView.h"
#include "app/res/Resource.h"
#include "app/res/ui/MessageBoxes.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/tabs/ui/CImagesView.h"
#include "app/store/ui/CLeftView.h"
#include "app/tabs/ui/CTextView.h"
#include "app/shell/CaptureImport.h"
#include "app/shell/CommandLine.h"
#include "app/print/ui/PdfExport.h"
#include "app/shell/PrinterList.h"
#include "app/shell/ui/CAboutDlg.h"
#include "app/shell/ui/CAddFolderDlg.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/ChangeSaveFolder.h"
#include "app/shell/ui/InterfaceFont.h"
#include "app/shell/ui/Screenshot.h"
#include "app/store/ScrapStore.h"
#include "platform/ErrorText.h"
#include "platform/SpecialFolders.h"

namespace {

constexpr int kAboutCommand = 57664;

}  // namespace

CClipwrenApp::CClipwrenApp() { ReadPrinters(); }

CClipwrenApp::~CClipwrenApp() = default;

void CClipwrenApp::ReadPrinters() {
  const shell::PrinterList list =
      shell::ReadPrinterList(platform::Registry(platform::Hive::LocalMachine));
  m_printerNames = list.names;
  if (list.error != 0) {
    // The application object is built before wx is initialised, so the box waits for the
    // event loop.
    const wxString text = wxString::FromUTF8(platform::ErrorText(list.error));
    CallAfter([text] { wxMessageBox(text, "Error", wxOK | wxICON_INFORMATION); });
  }
}

void CClipwrenApp::SetSaveFolder(const std::string& folder) {
  m_saveFolder = folder;
  m_homeFolder = store::HomeFolderFor(folder).string();
}

CMainFrame* CClipwrenApp::MainFrame() const { return wxDynamicCast(GetTopWindow(), CMainFrame); }

bool CClipwrenApp::OnInit() {
  m_endWithoutWindow = false;
  // Settings first: they name the save folder, and with it the home folder.
  SetAppName(wxString::FromUTF8(shell::kApplicationKey.data()));
  SetVendorName(wxString::FromUTF8(shell::kCompanyKey.data()));
  m_settings = std::make_unique<shell::AppSettings>(platform::Registry(platform::Hive::CurrentUser));
  const auto documents = platform::GetSpecialFolder(platform::SpecialFolder::Documents, true);
  m_saveFolder = m_settings->ReadHomeDir(documents ? documents->string() : std::string());
  m_homeFolder = documents ? store::HomeFolderFor(m_saveFolder).string() : std::string();
  if (!m_homeFolder.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(m_homeFolder, ec);
  }

  // A capture named on the command line is filed before the single-instance check, so a
  // second instance files its scrap and then hands the new folder to the running window.
  std::vector<std::string> args;
  std::vector<const char*> argv;
  for (int i = 0; i < this->argc; ++i) args.push_back(this->argv[i].utf8_string());
  for (const auto& a : args) argv.push_back(a.c_str());
  const std::string capture =
      shell::ExtractCapturePath(shell::JoinArguments(static_cast<int>(argv.size()), argv.data()));
  if (!capture.empty()) {
    const std::string home = m_homeFolder;
    const shell::ImportResult import = shell::RunCaptureImport(
        capture, [&home](const std::string& proposed) { return AskScrapFolder(home, proposed); });
    if (import.outcome == shell::ImportOutcome::Cancelled) return EndWithoutWindow();
    m_pendingImportPath = import.pendingImportPath;
    if (!import.message.empty()) {
      res::ui::MessageBox(wxString::FromUTF8(res::ui::BreakLongRuns(import.message)),
                          wxString::FromUTF8("クリップレン"), wxOK | wxICON_WARNING, nullptr);
    }
  }

  // Only one instance shows a window; a second one hands its capture over and ends.
  m_instanceMutex.reset();  // a start that runs again in the same process holds it already
  m_instanceMutex = std::make_unique<platform::InstanceMutex>(kInstanceMutexName);
  if (m_instanceMutex->state() != platform::InstanceMutex::State::Created) {
    (void)platform::FindRunningInstanceAndHandOver(kDuplicateCheckMessage, m_pendingImportPath);
    return EndWithoutWindow();
  }

  // The interface font and the drawing library.
  m_interfaceFont = MakeInterfaceFont();
  if (!wxGraphicsRenderer::GetDefaultRenderer()) {
    wxMessageBox("Can not initialize GDI+library.", wxEmptyString, wxOK);
    return false;
  }

  // An empty document, the main window, its panes and the four tab views.
  m_document = std::make_unique<CClipwrenDoc>();
  m_document->saveFolder = [this] { return m_saveFolder; };
  // PDF export prints on the virtual printer only when it was installed when the program
  // started.
  m_document->choosePdfPrinter = [this] { return printing::ChoosePdfPrinter(m_printerNames); };
  auto* frame = new CMainFrame(*m_settings);
  if (!frame->CreateClient() || !frame->IsComplete()) {
    frame->Destroy();
    return false;
  }
  SetTopWindow(frame);
  CreateTabViews();
  Bind(wxEVT_MENU, [frame](wxCommandEvent&) { CAboutDlg(frame).ShowModal(); }, kAboutCommand);
  Bind(wxEVT_MENU, [this, frame](wxCommandEvent&) { ChangeSaveFolder(*this, *frame); },
       res::kIdChangeSaveFolder);
  frame->DeclareCommand(res::kIdChangeSaveFolder);

  // The folder tree gets the home folder and its pictures, loads the scrapbook, selects the
  // imported scrap and expands or collapses as it was left.
  m_treeImages = CFolderTreeCtrl::CreateImageList();
  frame->StartLeftPane(m_homeFolder, m_treeImages.get(), m_pendingImportPath);

  // Show the window and paint it at once.
  frame->ShowAtStart();

  wxString screenshot;
  if (wxGetEnv("CLIPWREN_SCREENSHOT", &screenshot) && !screenshot.empty()) {
    ScheduleScreenshot(screenshot);
  }
  return true;
}

void CClipwrenApp::CreateTabViews() {
  CMainFrame* frame = MainFrame();
  wxWindow* area = frame->TabArea();
  auto* pane = new CClipwrenView(area, m_document.get());
  area->GetSizer()->Add(pane, 1, wxEXPAND);
  CSBTabCtrl* tabs = pane->TabCtrl();
  // Window creation refuses identifiers above 32767, so the text and pictures views take
  // theirs after creation, as the page views do.
  m_pageView = new CAllView(tabs, res::kIdPageView, m_document.get());
  m_copyView = new CAllView(tabs, res::kIdCopyView, m_document.get());
  auto* text = new CTextView(tabs, m_document.get());
  text->SetId(res::kIdTextView);
  // The search box's Enter searches the text tab, and the scrapbook-wide search shows what it
  // finds there.
  text->SetSearchBox(frame->SearchBox());
  if (frame->LeftView()) frame->LeftView()->Tree()->SetTextFinder(text);
  m_textView = text;
  m_document->SetTextPane(text);
  m_picturesView = new CImagesView(tabs, m_document.get());
  const wxWindow* views[] = {m_pageView, m_copyView, m_textView, m_picturesView};
  for (int i = 0; i < 4; ++i) tabs->RegisterView(i, const_cast<wxWindow*>(views[i]));
  tabs->SelectTab(0);
  tabs->LayoutButtons();
  area->Layout();
}

void CClipwrenApp::ScheduleScreenshot(const wxString& file) {
  CMainFrame* frame = MainFrame();
  CallAfter([frame, file] {
    SaveWindowScreenshotWhenIdle(frame, file, [frame] { frame->Close(true); });
  });
}

bool CClipwrenApp::EndWithoutWindow() {
  m_endWithoutWindow = true;
  return true;
}

int CClipwrenApp::OnRun() {
  // A cancelled import and a second instance are normal ends: no window, exit code 0.
  if (m_endWithoutWindow) return 0;
  return wxApp::OnRun();
}

int CClipwrenApp::OnExit() {
  m_treeImages.reset();
  m_document.reset();
  if (m_settings) (void)m_settings->WriteHomeDir(m_saveFolder);
  return wxApp::OnExit();
}
