#pragma once

#include <wx/fdrepdlg.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/splitter.h>
#include <wx/weakref.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "app/document/ui/DocPanes.h"
#include "app/shell/AppSettings.h"
#include "platform/SingleInstance.h"

class CClipwrenDoc;
class CDimEditCtrl;
class CLeftView;
class wxImageList;
class CMenuEx;
class CPrintToolBar;
class CScrapStatusBar;
class wxToolBar;

// Identifier of the splitter (its first pane).
inline constexpr int kSplitterId = 59648;
inline constexpr int kMinFrameWidth = 600;
inline constexpr int kMinFrameHeight = 400;
// Title of the main window's resources; the caption is "<title> - <scrap>".
inline constexpr const char* kAppTitle = "クリップレン帳";
// The maker's home page, opened by "ホームページ(&H)".
inline constexpr const char* kMakerHomePage = "https://www.tarunwick.example/clipwren/";

// The program's only top-level window: the folder tree on the left, the open scrap on the
// right, the main and search tool bars, the status bar and the menu bar of the active tab;
// placement remembered between runs; the running instance's end of the single-instance
// protocol. Commands reach the active view first, then the document, then this frame, then
// the application; a command nobody handles is disabled.
//
// The frame's work is split by responsibility: CMainFrame.cpp (creation, placement, close,
// hand-over), CMainFrameBars.cpp (tool bars, status bar, menus), CMainFrameCommands.cpp
// (routing and the commands handled here), CMainFrameFind.cpp (the scrapbook-wide find
// dialog).
class CMainFrame : public wxFrame, public IFrameHooks {
 public:
  explicit CMainFrame(shell::AppSettings& settings);
  ~CMainFrame() override;

  // Builds the client area; false when a pane cannot be created.
  [[nodiscard]] bool CreateClient();
  // False when a bar could not be created (the program does not start then).
  bool IsComplete() const { return m_complete; }

  wxWindow* LeftPane() const { return m_leftPane; }
  CLeftView* LeftView() const { return m_leftView; }
  // Start-up of the folder tree: home folder, picture list, the scrap to select.
  void StartLeftPane(const std::string& homeFolder, wxImageList* images,
                     const std::string& selectPath);
  // The area that holds the four tab views.
  wxWindow* TabArea() const { return m_tabArea; }
  wxSplitterWindow* Splitter() const { return m_splitter; }
  CPrintToolBar* MainToolBar() const { return m_toolBar; }
  // The search tool bar: the search box and the find button, shown on the text tab only.
  wxWindow* SearchToolBar() const { return m_searchBar; }
  CDimEditCtrl* SearchBox() const { return m_searchBox; }
  CScrapStatusBar* ScrapStatusBar() const { return m_statusBar; }
  // The pen drop-down while it is open.
  CMenuEx* PenMenu() const { return m_penMenu; }

  // The caption for a scrap title ("クリップレン帳 - <scrap>").
  void SetScrapTitle(const wxString& scrapTitle);
  // Shows the window with the stored show state (hidden or minimised states are ignored).
  void ShowAtStart();
  // Where the window was asked to appear: the stored position, or wxDefaultPosition when the
  // window manager chooses.
  wxPoint RequestedPosition() const { return m_requestedPosition; }
  // A second instance handed over the path of a newly imported scrap.
  void TakeHandOver(const std::string& path);

  // Menu bar of the tab: 2 → 136, 3 → 138, otherwise 128. The old bar is replaced.
  void SwitchMenu(int tab);
  int CurrentMenuId() const { return m_menuId; }
  // The search tool bar is shown on the text tab only.
  void ShowSearchToolBar(bool show);

  // IFrameHooks: what the document and the views tell the frame.
  void SetZoomText(const wxString& text) override;
  void SetPaneText(int paneId, const wxString& text) override;
  void OnActiveTabChanged(int tab, bool textTab) override;
  void OnPenChanged(int penIndex) override;
  void OnTitleChanged(const wxString& title) override { SetScrapTitle(title); }

  // The document whose commands come after the active view's; by default the program's
  // document.
  void SetDocument(CClipwrenDoc* doc);
  CClipwrenDoc* Document() const;
  // The view of the active tab (the tab area's child with that tab's view id), if any.
  wxWindow* ActiveView() const;

  // Placement is written unless the show state is hidden or minimised (0, 2, 6, 7).
  static bool IsHiddenOrMinimised(int showCmd);
  // The show state the placement would record now.
  int CurrentShowCmd() const;

  // Replaceable for tests: the close question (returns wxYES, wxNO or wxCANCEL), the show
  // state read at close, the zoom applied from the zoom box, the browser and message boxes.
  std::function<int(const wxString&)> askSaveOnClose;
  std::function<int()> queryShowCmd;
  std::function<void(int)> applyZoom;
  std::function<bool(const wxString&)> openBrowser;
  std::function<void(const wxString&)> showMessage;
  // A command carried out by a handler that gives no enable state of its own (the
  // application's, typically) stays enabled; undeclared commands that nobody answers for
  // are disabled.
  void DeclareCommand(int id) { m_declared.insert(id); }
  // Commands whose enable state nobody on the route answered since the last clear, so the
  // frame disabled them. A command in this set that some handler carries out is a command
  // the user cannot reach.
  const std::set<int>& UnansweredCommands() const { return m_unanswered; }
  void ClearUnansweredCommands() { m_unanswered.clear(); }

  // The scrapbook-wide find dialog while it is open.
  wxFindReplaceDialog* FindDialog() const { return m_findDialog; }
  // The help's start page: help/index.html beside the program, or in the installed share
  // folder; empty when neither exists.
  static wxString FindHelpFile();

 protected:
  bool TryBefore(wxEvent& event) override;
  bool TryAfter(wxEvent& event) override;

 private:
  // CMainFrame.cpp
  wxPoint StartPosition(const wxSize& size) const;
  void OnClose(wxCloseEvent& event);
  void WritePlacement(int showCmd);
  void StartListening();
  void OnSize(wxSizeEvent& event);

  // CMainFrameBars.cpp
  [[nodiscard]] bool CreateBars();
  void OnZoomBoxEnter(wxCommandEvent& event);
  void OnUpdateZoomBox(wxUpdateUIEvent& event);
  void OnIdleStatus(wxIdleEvent& event);

  // CMainFrameCommands.cpp
  void BindCommands();
  void OnPenDropDown(wxCommandEvent& event);
  void OnPictureDisplay(wxCommandEvent& event);
  void OnUpdatePictureDisplay(wxUpdateUIEvent& event);
  void OnPicturesMode(wxCommandEvent& event);
  void OnUpdatePicturesMode(wxUpdateUIEvent& event);
  void OnToggleBar(wxCommandEvent& event);
  void OnUpdateToggleBar(wxUpdateUIEvent& event);
  void OnHelp(wxCommandEvent& event);
  void OnHomePage(wxCommandEvent& event);
  void OnExit(wxCommandEvent& event);
  void OnNextPane(wxCommandEvent& event);
  void OnTreeCommand(wxCommandEvent& event);
  bool PictureLoadedOnPictureTab() const;

  // CMainFrameFind.cpp
  void OnFindInScrapbook(wxCommandEvent& event);
  void OnFindNext(wxFindDialogEvent& event);
  void OnFindClose(wxFindDialogEvent& event);

  shell::AppSettings& m_settings;
  shell::WindowPlacement m_placement;
  wxPoint m_requestedPosition = wxDefaultPosition;
  bool m_complete = false;
  wxPanel* m_band = nullptr;
  CPrintToolBar* m_toolBar = nullptr;
  wxPanel* m_searchBar = nullptr;
  wxToolBar* m_findBar = nullptr;
  CDimEditCtrl* m_searchBox = nullptr;
  CScrapStatusBar* m_statusBar = nullptr;
  wxWeakRef<CMenuEx> m_penMenu;
  int m_menuId = 0;
  bool m_zoomEntered = false;
  wxSplitterWindow* m_splitter = nullptr;
  wxWindow* m_leftPane = nullptr;
  CLeftView* m_leftView = nullptr;
  wxWindow* m_tabArea = nullptr;
  CClipwrenDoc* m_doc = nullptr;
  std::set<int> m_declared;
  std::set<int> m_unanswered;
  wxFindReplaceData m_findData;
  wxFindReplaceDialog* m_findDialog = nullptr;
  wxEvent* m_routing = nullptr;  // the command being offered to the view and the document
  std::unique_ptr<platform::InstanceListener> m_listener;
};
