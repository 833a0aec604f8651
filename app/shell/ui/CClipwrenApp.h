#pragma once

#include <wx/app.h>
#include <wx/font.h>
#include <wx/imaglist.h>

#include <memory>
#include <string>
#include <vector>

#include "app/shell/AppSettings.h"
#include "platform/SingleInstance.h"

class CClipwrenDoc;
class CMainFrame;

// The printer the next print job uses, and whether the print-setup command is running.
struct PrintSetupState {
  std::string deviceName;
  std::string driverName;
  std::string portName;
  bool portrait = true;
  bool printSetupRunning = false;
};

// Names every instance of the program shares on one desktop.
inline constexpr const char* kInstanceMutexName = "CLIPWREN-{3449B437-3ED8-45d9-93A9-470BC99C3DE5}";
inline constexpr const char* kDuplicateCheckMessage =
    "UWM_DUPLICATE_CHECK-{64128FBB-06E7-4ed3-83A3-2F25B2CD88C2}";

// The one application object: starts the program (settings, home folder, capture import,
// single instance, main window), keeps the application-wide state other windows reach through
// wxGetApp(), and writes the save folder back at exit.
//
// Environment hooks for scripted runs:
//   CLIPWREN_SCREENSHOT=<file.png>  save a picture of the main window once it is idle, then quit.
class CClipwrenApp : public wxApp {
 public:
  CClipwrenApp();
  ~CClipwrenApp() override;

  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

  // Application-wide state.
  const std::string& SaveFolder() const { return m_saveFolder; }
  void SetSaveFolder(const std::string& folder);  // also recomputes the home folder path
  const std::string& HomeFolder() const { return m_homeFolder; }
  const std::string& PendingImportPath() const { return m_pendingImportPath; }
  void SetPendingImportPath(const std::string& path) { m_pendingImportPath = path; }
  const wxFont& InterfaceFont() const { return m_interfaceFont; }
  const std::vector<std::string>& PrinterNames() const { return m_printerNames; }
  PrintSetupState& PrintSetup() { return m_printSetup; }
  shell::AppSettings& Settings() { return *m_settings; }
  wxImageList* TreeImages() const { return m_treeImages.get(); }

  wxWindow* PageView() const { return m_pageView; }
  wxWindow* CopyView() const { return m_copyView; }
  wxWindow* TextView() const { return m_textView; }
  wxWindow* PicturesView() const { return m_picturesView; }

  CMainFrame* MainFrame() const;
  // The one document, reused for every scrap; exists from start-up to exit.
  CClipwrenDoc* Document() const { return m_document.get(); }

 private:
  void ReadPrinters();
  [[nodiscard]] bool HandOverToRunningInstance();
  // Start-up ends without a window, as a success (the import was cancelled, or another
  // instance took the capture over).
  bool EndWithoutWindow();
  void CreateTabViews();
  void ScheduleScreenshot(const wxString& file);

  std::string m_saveFolder;
  std::string m_homeFolder;
  std::string m_pendingImportPath;
  bool m_endWithoutWindow = false;
  wxFont m_interfaceFont;
  std::vector<std::string> m_printerNames;
  PrintSetupState m_printSetup;
  std::unique_ptr<wxImageList> m_treeImages;
  std::unique_ptr<shell::AppSettings> m_settings;
  std::unique_ptr<platform::InstanceMutex> m_instanceMutex;
  std::unique_ptr<CClipwrenDoc> m_document;

  // Owned by the main frame's window tree.
  wxWindow* m_pageView = nullptr;
  wxWindow* m_copyView = nullptr;
  wxWindow* m_textView = nullptr;
  wxWindow* m_picturesView = nullptr;
};

wxDECLARE_APP(CClipwrenApp);
