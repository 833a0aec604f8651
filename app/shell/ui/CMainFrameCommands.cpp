#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/stdpaths.h>
#include <wx/toolbar.h>

#include <memory>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/res/Menus.h"
#include "app/res/Resource.h"
#include "app/res/StringTable.h"
#include "app/res/ui/MenuBuilder.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/CMenuEx.h"
#include "app/shell/ui/CPrintToolBar.h"
#include "app/shell/ui/CScrapStatusBar.h"
#include "app/store/ui/CLeftView.h"

namespace {

constexpr int kTabViewIds[] = {res::kIdPageView, res::kIdCopyView, res::kIdTextView,
                               res::kIdPicturesView};

bool IsCommand(const wxEvent& event) {
  return event.GetEventType() == wxEVT_MENU || event.GetEventType() == wxEVT_UPDATE_UI ||
         event.GetEventType() == wxEVT_TOOL;
}

// Update requests for commands: menu items (not the items that open a sub-menu) and tool
// buttons. Every window also asks about itself at idle time, the menu bar and the tool bars
// included; those requests carry the window's own id and are not commands, so nobody's
// silence may disable the window.
bool IsCommandUpdate(const wxEvent& event) {
  if (event.GetEventType() != wxEVT_UPDATE_UI) return false;
  wxObject* source = event.GetEventObject();
  if (auto* bar = wxDynamicCast(source, wxToolBar)) {
    // A control on a tool bar (the zoom box, the search box) is not a command.
    const wxToolBarToolBase* tool = bar->FindById(event.GetId());
    return tool && !tool->IsControl();
  }
  if (auto* menu = wxDynamicCast(source, wxMenu)) {
    const wxMenuItem* item = menu->FindChildItem(event.GetId());
    return item && !item->IsSubMenu() && !item->IsSeparator();
  }
  return false;
}

}  // namespace

wxWindow* CMainFrame::ActiveView() const {
  const CClipwrenDoc* doc = Document();
  if (!doc || !m_tabArea) return nullptr;
  const int tab = doc->ActiveTab();
  if (tab < 0 || tab > 3) return nullptr;
  return m_tabArea->FindWindow(kTabViewIds[tab]);
}

// Commands go to the active view, then the document, then the frame's own handlers, then
// the application object.
bool CMainFrame::TryBefore(wxEvent& event) {
  if (IsCommand(event) && m_routing != &event) {
    wxEvent* const outer = m_routing;
    m_routing = &event;
    bool handled = false;
    wxWindow* view = ActiveView();
    // A command coming up from the view itself has already been offered to it.
    if (view && event.GetEventObject() != view)
      handled = view->GetEventHandler()->ProcessEventLocally(event);
    if (!handled) {
      if (CClipwrenDoc* doc = Document()) handled = doc->ProcessEventLocally(event);
    }
    m_routing = outer;
    if (handled) return true;
  }
  return wxFrame::TryBefore(event);
}

bool CMainFrame::TryAfter(wxEvent& event) {
  if (wxFrame::TryAfter(event)) return true;
  // Nobody handles this command: its menu item and button are disabled.
  if (IsCommandUpdate(event)) {
    const bool declared = m_declared.count(event.GetId()) > 0;
    static_cast<wxUpdateUIEvent&>(event).Enable(declared);
    if (!declared) m_unanswered.insert(event.GetId());
    return true;
  }
  return false;
}

void CMainFrame::BindCommands() {
  Bind(wxEVT_TOOL_DROPDOWN, &CMainFrame::OnPenDropDown, this, res::kIdPen);
  Bind(wxEVT_MENU, &CMainFrame::OnPictureDisplay, this, res::kIdPictureDisplay);
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdatePictureDisplay, this, res::kIdPictureDisplay);
  for (int id : {res::kIdThumbnailView, res::kIdPhotoView, res::kIdViewDetails, res::kIdHideGif}) {
    Bind(wxEVT_MENU, &CMainFrame::OnPicturesMode, this, id);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdatePicturesMode, this, id);
  }
  for (int id : {res::kIdViewToolBar, res::kIdViewStatusBar}) {
    Bind(wxEVT_MENU, &CMainFrame::OnToggleBar, this, id);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateToggleBar, this, id);
  }
  Bind(wxEVT_MENU, &CMainFrame::OnHelp, this, res::kIdHelpFinder);
  Bind(wxEVT_MENU, &CMainFrame::OnHomePage, this, res::kIdHomePage);
  Bind(wxEVT_MENU, &CMainFrame::OnExit, this, res::kIdAppExit);
  Bind(wxEVT_MENU, &CMainFrame::OnNextPane, this, res::kIdNextPane);
  Bind(wxEVT_MENU, &CMainFrame::OnNextPane, this, res::kIdPreviousPane);
  // Printing and print preview have no handler until the page view can print: their menu
  // items, tool buttons and Ctrl+P stay disabled.
  Bind(wxEVT_MENU, &CMainFrame::OnFindInScrapbook, this, res::kIdFindInScrapbook);
  Bind(wxEVT_FIND, &CMainFrame::OnFindNext, this);
  Bind(wxEVT_FIND_NEXT, &CMainFrame::OnFindNext, this);
  Bind(wxEVT_FIND_CLOSE, &CMainFrame::OnFindClose, this);
  // Commands carried out here that are always available.
  for (int id : {res::kIdHelpFinder, res::kIdHomePage, res::kIdAppExit, res::kIdNextPane,
                 res::kIdPreviousPane, res::kIdFindInScrapbook})
    DeclareCommand(id);
  for (int id :
       {res::kIdMoveUp, res::kIdMoveDown, res::kIdTreeExpandAll, res::kIdTreeCollapseAll}) {
    Bind(wxEVT_MENU, &CMainFrame::OnTreeCommand, this, id);
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& e) {
          if (!m_leftView) {
            e.Enable(false);
            return;
          }
          if (e.GetId() == res::kIdTreeExpandAll || e.GetId() == res::kIdTreeCollapseAll) {
            e.Enable(true);
            return;
          }
          // Moving is the folder tree's to enable.
          wxUpdateUIEvent asked(e.GetId());
          asked.SetEventObject(e.GetEventObject());
          const bool answered = m_leftView->Tree()->GetEventHandler()->ProcessEventLocally(asked);
          e.Enable(answered && asked.GetEnabled());
        },
        id);
  }
}

void CMainFrame::OnPenDropDown(wxCommandEvent&) {
  const auto menu = res::LoadMenu(res::kMenuPageTabs);
  const res::MenuNode* tools = menu ? res::FindSubMenu(*menu, "ツール(&T)") : nullptr;
  const res::MenuNode* pens = tools ? res::FindSubMenu(tools->items, "ペン") : nullptr;
  if (!pens) return;
  // One drop-down at a time: the one from the last opening goes now.
  if (m_penMenu) {
    if (m_penMenu->IsShown()) m_penMenu->Dismiss();
    m_penMenu->Destroy();
  }
  auto* popup = new CMenuEx(this);
  popup->AppendFrom(*pens);
  const CClipwrenDoc* doc = Document();
  popup->CheckRadioItem(res::kIdPenFirst + (doc ? doc->PenIndex() : 0));
  const wxRect button = m_toolBar->ToolScreenRect(res::kIdPen);
  popup->ShowAt(wxPoint(button.GetLeft(), button.GetBottom() + 1 + 1));
  m_penMenu = popup;
}

bool CMainFrame::PictureLoadedOnPictureTab() const {
  const CClipwrenDoc* doc = Document();
  return doc && doc->ActiveTab() == kTabPictures && doc->PicturesCount() > 0;
}

void CMainFrame::OnPictureDisplay(wxCommandEvent&) {
  CClipwrenDoc* doc = Document();
  if (!doc || !PictureLoadedOnPictureTab()) return;
  std::unique_ptr<wxMenu> popup(res::ui::BuildPopup(res::kPopupPictureDisplay));
  if (!popup) return;
  const int mode = doc->PictureSettings().viewMode;
  const int radio[] = {res::kIdThumbnailView, res::kIdPhotoView, res::kIdViewDetails};
  if (mode >= 0 && mode <= 2) popup->Check(radio[mode], true);
  popup->Check(res::kIdHideGif, !doc->PictureSettings().showGif);
  const wxRect button = m_toolBar->ToolScreenRect(res::kIdPictureDisplay);
  PopupMenu(popup.get(), ScreenToClient(wxPoint(button.GetLeft(), button.GetBottom() + 1)));
}

void CMainFrame::OnUpdatePictureDisplay(wxUpdateUIEvent& event) {
  event.Enable(PictureLoadedOnPictureTab());
}

void CMainFrame::OnPicturesMode(wxCommandEvent& event) {
  CClipwrenDoc* doc = Document();
  if (!doc) return;
  if (event.GetId() == res::kIdHideGif) {
    const bool showGif = !doc->PictureSettings().showGif;
    doc->PictureSettings().showGif = showGif;
    // The visible list is filled again without (or with) the GIF files.
    if (auto* pictures = dynamic_cast<IPicturesPane*>(m_tabArea ? m_tabArea->FindWindow(
                                                                      res::kIdPicturesView)
                                                                : nullptr))
      pictures->GifSettingChanged(showGif);
    return;
  }
  // The pictures view handles the view modes when it is the active view; this keeps the
  // document's record when it does not.
  doc->PictureSettings().viewMode = event.GetId() == res::kIdThumbnailView ? 0
                                    : event.GetId() == res::kIdPhotoView   ? 1
                                                                           : 2;
}

void CMainFrame::OnUpdatePicturesMode(wxUpdateUIEvent& event) {
  CClipwrenDoc* doc = Document();
  event.Enable(doc && doc->ActiveTab() == kTabPictures);
  if (!doc) return;
  if (event.GetId() == res::kIdHideGif) {
    event.Check(!doc->PictureSettings().showGif);
  } else {
    const int mode = event.GetId() == res::kIdThumbnailView ? 0
                     : event.GetId() == res::kIdPhotoView   ? 1
                                                            : 2;
    event.Check(doc->PictureSettings().viewMode == mode);
  }
}

// "ツール　バー" and "ステータス　バー" carry the ids of the bars they show and hide.
void CMainFrame::OnToggleBar(wxCommandEvent& event) {
  wxWindow* bar = FindWindow(event.GetId());
  if (!bar) return;
  bar->Show(!bar->IsShown());
  if (m_band) m_band->Layout();
  SendSizeEvent();
}

void CMainFrame::OnUpdateToggleBar(wxUpdateUIEvent& event) {
  const wxWindow* bar = FindWindow(event.GetId());
  event.Check(bar && bar->IsShown());
}

wxString CMainFrame::FindHelpFile() {
  const wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
  // Beside the program (build folder or a copied program folder), then where the install
  // rules put it (<prefix>/share/clipwren/help next to <prefix>/bin).
  const wxString candidates[] = {
      exe.GetPath() + "/help/index.html",
      exe.GetPath() + "/../share/clipwren/help/index.html",
  };
  for (const wxString& path : candidates) {
    wxFileName file(path);
    file.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    if (file.FileExists()) return file.GetFullPath();
  }
  return {};
}

void CMainFrame::OnHelp(wxCommandEvent&) {
  const wxString file = FindHelpFile();
  if (file.empty() || !openBrowser(wxFileName::FileNameToURL(wxFileName(file)))) {
    const std::string_view text = res::LoadString(res::kStrHelpNotFound);
    showMessage(wxString::FromUTF8(text.data(), text.size()));
  }
}

void CMainFrame::OnHomePage(wxCommandEvent&) {
  // A browser that cannot be started is no error worth a message.
  (void)openBrowser(kMakerHomePage);
}

void CMainFrame::OnExit(wxCommandEvent&) { Close(); }

void CMainFrame::OnNextPane(wxCommandEvent&) {
  wxWindow* view = ActiveView();
  wxWindow* focus = FindFocus();
  const bool inLeft =
      focus && m_leftPane && (focus == m_leftPane || m_leftPane->IsDescendant(focus));
  if (inLeft) {
    if (view) view->SetFocus();
  } else if (m_leftPane) {
    m_leftPane->SetFocus();
  }
}

void CMainFrame::OnTreeCommand(wxCommandEvent& event) {
  // Tree commands (move up and down, expand and collapse all) are carried out by the folder
  // tree.
  if (!m_leftView) return;
  switch (event.GetId()) {
    case res::kIdTreeExpandAll:
      m_leftView->Tree()->ExpandAllFolders();
      break;
    case res::kIdTreeCollapseAll:
      m_leftView->Tree()->CollapseAllFolders();
      break;
    default:
      m_leftView->Tree()->GetEventHandler()->ProcessEventLocally(event);
  }
}
