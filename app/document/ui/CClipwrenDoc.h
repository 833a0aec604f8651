#pragma once

#include <wx/event.h>
#include <wx/string.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/ViewSettings.h"
#include "app/document/ui/CDocView.h"
#include "app/document/ui/DocPanes.h"
#include "app/pageview/CSBImage.h"
#include "app/print/PrintSettings.h"
#include "app/print/ui/CClipwrenPrintout.h"
#include "app/shell/AppSettings.h"

class wxFileDialog;

// Active tab indexes.
enum ScrapTab : int { kTabPage = 0, kTabCopy = 1, kTabText = 2, kTabPictures = 3 };

// The program's single document: the scrap that is open. One object for the whole run, reused
// for every scrap. It sits in the command route after the active view and before the frame,
// and handles the picture commands for the active picture tab.
class CClipwrenDoc : public wxEvtHandler {
 public:
  CClipwrenDoc();
  ~CClipwrenDoc() override;

  // The document of this run, for windows created before they can be handed one; nullptr
  // before it exists and after it is gone.
  static CClipwrenDoc* Current();

  // Name of the open scrap (last component of its folder path).
  const wxString& GetTitle() const { return m_title; }
  // Also tells the frame, whose caption shows the title.
  void SetTitle(const wxString& title);

  bool IsModified() const { return m_modified; }
  void SetModifiedFlag(bool modified = true) { m_modified = modified; }

  // Set when a save question is answered with yes: the next save writes every part.
  bool IsSaveAll() const { return m_saveAll; }
  void SetSaveAll(bool saveAll) { m_saveAll = saveAll; }

  void AddView(CDocView* view);
  void RemoveView(CDocView* view);
  const std::vector<CDocView*>& Views() const { return m_views; }
  void UpdateAllViews(CDocView* sender, const DocUpdate& update = {});

  // Opens the scrap (or folder) at `folder`: asks about unsaved changes, recreates both
  // picture tabs, loads the pictures, the text and the pictures-tab settings. False when the
  // changes were to be saved and could not be: the open scrap then stays, still modified.
  [[nodiscard]] bool OpenScrap(const std::string& folder);
  // The folder `from` (the open scrap's own or one holding it) now lives at `to`: the scrap
  // stays open with its edits and saves where it now is. Other folders change nothing.
  void FolderMoved(const std::string& from, const std::string& to);
  // Empties the title and puts the print settings back to their defaults (the framework's
  // new document).
  void NewDocument();
  // Saves by the active tab, or everything after a yes to the save question. Every file that
  // could not be written is reported to the user; then the result is false and the document
  // stays modified, so nothing the user did is thrown away.
  bool Save();
  // The save question's text for the current title.
  wxString SaveQuestion() const;
  bool ReadTextFile();
  // Both return false (without telling the user) when the file could not be written.
  [[nodiscard]] bool WriteTextFile();
  void ReadViewSettings();
  [[nodiscard]] bool WriteViewSettings();

  // Page views register themselves (the whole tab's and the copy tab's).
  void SetPageView(int tab, IPageView* view);
  IPageView* PageViewOf(int tab) const { return tab == kTabCopy ? m_copyView : m_pageView; }
  // The picture-tab objects; recreated for every scrap, owned here.
  CSBImage* PageImage() const { return m_pageImage.get(); }
  CSBImage* CopyImage() const { return m_copyImage.get(); }
  // The picture-tab object bound to a view; nullptr when the view has none.
  CSBImage* ImageOf(const IPageView* view) const;
  // The active picture tab's object; nullptr on the text and pictures tabs.
  CSBImage* CurrentImage() const;
  IPageView* CurrentPageView() const;
  void SetCurrentPictureTab(int tab);

  int ActiveTab() const { return m_activeTab; }
  void SetActiveTab(int tab) { m_activeTab = tab; }
  bool HasCopy() const { return m_copyPresent; }
  void SetHasCopy(bool present) { m_copyPresent = present; }
  bool HasText() const { return m_textPresent; }
  int PicturesCount() const { return m_picturesPresent; }
  void SetPicturesCount(int count) { m_picturesPresent = count; }
  const std::string& Text() const { return m_text; }
  void SetText(std::string text) { m_text = std::move(text); }
  const std::string& Folder() const { return m_folder; }
  ViewSettings& PictureSettings() { return m_viewSettings; }
  const shell::EvernoteSettings& Evernote() const { return m_evernote; }
  // The temporary files a scrap is shared through, named by the Evernote file-name rule: the
  // active picture tab saved with its marks, and the text as the text tab holds it. Both
  // return the path (the last candidate when none could be used; empty without a temporary
  // folder or a picture tab).
  std::string MakeTempPictureFile();
  std::string MakeTempTextFile();
  // The folder that holds the scrapbook; the picture export proposes it.
  std::string SaveFolder() const;
  // How the open scrap is printed; back to the defaults for every scrap.
  print::PrintSettings& PrintSettings() { return m_printSettings; }
  // What printing and the preview print: the active picture tab's current crop version with
  // every visible mark drawn in, made anew for each print run; nullptr without a picture or
  // when it cannot be made.
  PrintPicture MakePrintPicture() const;
  // Set by the PDF export command; the print path reads and clears it.
  bool IsPdfExportPending() const { return m_pdfExportPending; }
  void SetPdfExportPending(bool pending) { m_pdfExportPending = pending; }
  std::string& TextFilePath() { return m_textPath; }
  const std::string& InfoPath() const { return m_infoPath; }

  // The pen used by new strokes: one for the whole program.
  int PenIndex() const { return m_penIndex; }

  void SetFrameHooks(IFrameHooks* hooks) { m_frame = hooks; }
  IFrameHooks* Frame() const { return m_frame; }
  void SetTextPane(ITextPane* pane) { m_textPane = pane; }
  void SetPicturesPane(IPicturesPane* pane) { m_picturesPane = pane; }
  // "全体タブのコピー作成": Main.jpg copied (never over an existing Main_copy.jpg) and loaded
  // as the copy tab, which is then selected. "全体タブのコピー削除": the file is deleted at
  // once and the whole tab selected. Views hear of both as a change of tabs.
  void CreateCopyTab();
  void DeleteCopyTab();
  // Shows the zoom in the tool bar's box ("%d%%", empty for 0).
  void ShowZoom(int zoom);

  // Answers the save question; tests replace it. Returns true for yes.
  std::function<bool(const wxString&)> askSave;
  // Shows a plain message; tests replace it.
  std::function<void(const wxString&)> showMessage;
  // Opens an address with the desktop's browser; tests replace it.
  std::function<void(const std::string&)> openAddress;
  // The application's current save folder; set by the application, which can change it.
  std::function<std::string()> saveFolder;
  // Runs the picture export's save dialog modally: the chosen path and filter index, nullopt
  // when cancelled. Tests replace it to answer for the user.
  std::function<std::optional<std::pair<std::string, int>>(wxFileDialog&)> runSaveDialog;
  // The application's printer choice for PDF export: the printer to print on, empty when the
  // virtual PDF printer is not installed. Set by the application, which holds the printer
  // names read at start.
  std::function<std::string()> choosePdfPrinter;

 private:
  void BindCommands();
  void OnSave(wxCommandEvent&);
  void OnUpdateSave(wxUpdateUIEvent&);
  void OnZoom(wxCommandEvent&);
  void OnUpdateZoom(wxUpdateUIEvent&);
  void OnTool(wxCommandEvent&);
  void OnUpdateTool(wxUpdateUIEvent&);
  void OnPen(wxCommandEvent&);
  void OnUpdatePen(wxUpdateUIEvent&);
  void OnShapeUndoRedo(wxCommandEvent&);
  void OnUpdateShapeUndoRedo(wxUpdateUIEvent&);
  void OnShapeDelete(wxCommandEvent&);
  void OnCropStep(wxCommandEvent&);
  void OnOpenAddress(wxCommandEvent&);
  void OnUpdateOpenAddress(wxUpdateUIEvent&);
  void OnCopyTab(wxCommandEvent&);
  void OnUpdateCopyTab(wxUpdateUIEvent&);
  // Printing the active picture tab (settings, print, preview) and the printer setup.
  void BindPrintCommands();
  void OnPrintSettings(wxCommandEvent&);
  void OnPrint(wxCommandEvent&);
  void OnPrintPreview(wxCommandEvent&);
  void OnPrinterSetup(wxCommandEvent&);
  void OnUpdatePrintCommand(wxUpdateUIEvent&);
  // PDF export through the virtual printer and that printer's preferences.
  void OnExportPdf(wxCommandEvent&);
  void OnUpdateExportPdf(wxUpdateUIEvent&);
  void OnPdfSettings(wxCommandEvent&);
  void ExportPdf();
  PrintPicture PrintPictureForCommand();
  // Picture export, mail and the note program.
  void BindShareCommands();
  void OnExportPicture(wxCommandEvent&);
  void OnSendMail(wxCommandEvent&);
  void OnEvernoteSettings(wxCommandEvent&);
  void OnEvernoteRegister(wxCommandEvent&);
  void OnUpdateShareCommand(wxUpdateUIEvent&);
  bool SavePicture(CSBImage* image);
  // Tells the user that `path` could not be written.
  void ReportUnwritten(const std::string& path);

  wxString m_title;
  bool m_modified = false;
  bool m_saveAll = false;
  std::vector<CDocView*> m_views;

  std::string m_folder;
  std::unique_ptr<CSBImage> m_pageImage;
  std::unique_ptr<CSBImage> m_copyImage;
  IPageView* m_pageView = nullptr;
  IPageView* m_copyView = nullptr;
  int m_currentPictureTab = kTabPage;
  int m_activeTab = kTabPage;
  bool m_pdfExportPending = false;
  bool m_copyPresent = false;
  bool m_textPresent = false;
  int m_picturesPresent = 0;
  std::string m_text;
  std::string m_textPath;
  std::string m_viewSettingsPath;
  std::string m_infoPath;
  ViewSettings m_viewSettings;
  shell::EvernoteSettings m_evernote;
  print::PrintSettings m_printSettings;
  int m_penIndex = 0;

  IFrameHooks* m_frame = nullptr;
  ITextPane* m_textPane = nullptr;
  IPicturesPane* m_picturesPane = nullptr;
};
