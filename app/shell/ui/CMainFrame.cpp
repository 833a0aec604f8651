#include "app/shell/ui/CMainFrame.h"

#include <wx/display.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/res/Resource.h"
#include "app/res/ui/MenuBuilder.h"
#include "app/res/ui/MessageBoxes.h"
#include "app/res/ui/ResArt.h"
#include "app/shell/Trace.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CScrapStatusBar.h"
#include "app/shell/ui/CxSkinButton.h"
#include "app/store/ui/CDimEditCtrl.h"
#include "app/store/ui/CLeftView.h"

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

CMainFrame::CMainFrame(shell::AppSettings& settings)
    : m_settings(settings), m_placement(settings.ReadPlacement()) {
  res::ui::AllowCommandNumbersAsIds();
  res::ui::CClipwrenArtProvider::Install();
  // Without a stored size the window takes what the host's default placement gives a new
  // window: about three quarters of the screen.
  const wxSize display = wxGetDisplaySize();
  const wxSize size(m_placement.cx.value_or(display.x * 3 / 4),
                    m_placement.cy.value_or(display.y * 3 / 4));
  // Created on top of the other windows, then made an ordinary window again, so the program
  // comes up in front without staying there.
  Create(nullptr, wxID_ANY, wxString::FromUTF8(kAppTitle), StartPosition(size), size,
         wxDEFAULT_FRAME_STYLE | wxSTAY_ON_TOP);
  SetWindowStyleFlag(GetWindowStyleFlag() & ~wxSTAY_ON_TOP);
  SetMinSize(wxSize(kMinFrameWidth, kMinFrameHeight));
  SetIcons(res::ui::ProgramIcons());

  queryShowCmd = [this] { return CurrentShowCmd(); };
  askSaveOnClose = [this](const wxString& text) {
    return res::ui::MessageBox(text, wxString::FromUTF8(kAppTitle),
                               wxYES_NO | wxCANCEL | wxICON_EXCLAMATION, this);
  };
  showMessage = [this](const wxString& text) {
    res::ui::MessageBox(text, wxString::FromUTF8(kAppTitle), wxOK | wxICON_EXCLAMATION, this);
  };
  openBrowser = [](const wxString& url) { return wxLaunchDefaultBrowser(url); };

  // The application object shows the about box; it has no enable state to give.
  DeclareCommand(res::kIdAppAbout);
  m_complete = CreateBars();
  if (CClipwrenDoc* doc = Document()) doc->SetFrameHooks(this);
  BindCommands();
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_SIZE, &CMainFrame::OnSize, this);
  StartListening();
}

CMainFrame::~CMainFrame() {
  if (CClipwrenDoc* doc = Document(); doc && m_leftView) doc->RemoveView(m_leftView);
}

void CMainFrame::StartLeftPane(const std::string& homeFolder, wxImageList* images,
                               const std::string& selectPath) {
  if (m_leftView) m_leftView->Start(homeFolder, images, selectPath);
}

void CMainFrame::SetDocument(CClipwrenDoc* doc) {
  m_doc = doc;
  if (doc) doc->SetFrameHooks(this);
}

CClipwrenDoc* CMainFrame::Document() const { return m_doc ? m_doc : CClipwrenDoc::Current(); }

bool CMainFrame::CreateClient() {
  m_splitter = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                    wxSP_LIVE_UPDATE | wxSP_3DSASH);
  m_splitter->SetId(kSplitterId);
  m_splitter->SetMinimumPaneSize(20);
  // The left pane's buttons are the program's skinned buttons.
  CLeftView::SetButtonFactory([](wxWindow* parent, const CLeftView::ButtonSpec& layout) {
    auto* button =
        new CxSkinButton(parent, layout.id, wxEmptyString, parent->FromDIP(layout.rect.GetPosition()),
                         parent->FromDIP(layout.rect.GetSize()));
    const auto& k = layout.skins;
    button->SetSkin(k[0], k[1], k[2], k[3], k[4], k[5], CxSkinButton::kStretch, false, 0);
    button->SetToolTipText(wxString::FromUTF8(layout.tooltip));
    return static_cast<wxWindow*>(button);
  });
  auto* left = new CLeftView(m_splitter);
  CLeftView::Hooks hooks;
  hooks.updateAllViews = [this](CDocView* sender, const DocUpdate& update) {
    if (CClipwrenDoc* doc = Document()) doc->UpdateAllViews(sender, update);
  };
  hooks.clearModified = [this] {
    if (CClipwrenDoc* doc = Document()) doc->SetModifiedFlag(false);
  };
  hooks.readExpandAll = [this] { return m_settings.ReadIsExpandAll(); };
  hooks.writeExpandAll = [this](int state) { (void)m_settings.WriteIsExpandAll(state); };
  hooks.folderMoved = [this](const std::string& from, const std::string& to) {
    if (CClipwrenDoc* doc = Document()) doc->FolderMoved(from, to);
  };
  left->SetHooks(std::move(hooks));
  if (CClipwrenDoc* doc = Document()) doc->AddView(left);
  m_leftView = left;
  m_leftPane = left;
  m_tabArea = new wxPanel(m_splitter, wxID_ANY);
  m_tabArea->SetSizer(new wxBoxSizer(wxVERTICAL));
  if (!m_leftPane || !m_tabArea) {
    m_splitter->Destroy();
    m_splitter = nullptr;
    return false;
  }
  m_splitter->SplitVertically(m_leftPane, m_tabArea, FromDIP(m_placement.leftPanWidth));

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  if (m_band) sizer->Add(m_band, 0, wxEXPAND);
  sizer->Add(m_splitter, 1, wxEXPAND);
  SetSizer(sizer);
  Layout();
  return m_complete;
}

void CMainFrame::SetScrapTitle(const wxString& scrapTitle) {
  wxString caption = wxString::FromUTF8(kAppTitle);
  if (!scrapTitle.empty()) caption += " - " + scrapTitle;
  SetTitle(caption);
}

bool CMainFrame::IsHiddenOrMinimised(int showCmd) {
  return showCmd == 0 || showCmd == 2 || showCmd == 6 || showCmd == 7;
}

int CMainFrame::CurrentShowCmd() const {
  if (!IsShown()) return shell::kShowHide;
  if (IsIconized()) return shell::kShowMinimized;
  return IsMaximized() ? shell::kShowMaximized : shell::kShowNormal;
}

wxPoint CMainFrame::StartPosition(const wxSize& size) const {
  // A first start has no position: the window manager places the window. A stored one is
  // used only while some screen still shows part of the window (a monitor may be gone).
  if (!m_placement.x.has_value() || !m_placement.y.has_value()) return wxDefaultPosition;
  const wxRect window(wxPoint(*m_placement.x, *m_placement.y), size);
  for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
    const wxRect shown = wxDisplay(i).GetGeometry().Intersect(window);
    if (shown.width >= 50 && shown.height >= 20) return window.GetPosition();
  }
  return wxDefaultPosition;
}

#ifdef __WXGTK__
namespace {

// Window managers place a new window by their own rules and ignore the position a program
// asks for before the window is mapped; once it is on the screen they honour a move.
gboolean MoveWhenMapped(GtkWidget* widget, GdkEvent*, gpointer data) {
  auto* frame = static_cast<CMainFrame*>(data);
  g_signal_handlers_disconnect_by_func(widget, reinterpret_cast<gpointer>(&MoveWhenMapped), data);
  if (!frame->IsMaximized()) {
    const wxPoint at = frame->RequestedPosition();
    // The toolkit's own move would also resize to the size it had recorded before the window
    // manager's frame was known, shrinking the window.
    if (at != wxDefaultPosition) gtk_window_move(GTK_WINDOW(widget), at.x, at.y);
  }
  return FALSE;
}

}  // namespace
#endif

void CMainFrame::ShowAtStart() {
  m_requestedPosition = StartPosition(GetSize());
#ifdef __WXGTK__
  // The toolkit holds the first show back until the window manager reports its frame, and
  // realizes the window meanwhile; a window never allocated is realized at a placeholder
  // size of 2×1 pixels that squeezes the menu bar and tool bar (GTK prints critical
  // warnings). Starting from the window's own size avoids that.
  if (!gtk_widget_get_realized(GetHandle())) {
    const wxSize size = GetClientSize();
    GtkAllocation start = {0, 0, std::max(size.x, 2), std::max(size.y, 2)};
    gtk_widget_set_allocation(GetHandle(), &start);
  }
  if (m_requestedPosition != wxDefaultPosition)
    g_signal_connect(GetHandle(), "map-event", G_CALLBACK(MoveWhenMapped), this);
#endif
  // Enter in the search box gets a receiver once the text tab can search; until then the box
  // notifies nobody.
  switch (shell::StartShowFor(m_placement.showCmd)) {
    case shell::StartShow::Maximized:
      Maximize();
      Show();
      break;
    case shell::StartShow::NoActivate: ShowWithoutActivating(); break;
    case shell::StartShow::Normal: Show(); break;
  }
  // Keys go to the folder tree first, so the scrapbook can be walked without the mouse (the
  // toolkit would give the focus to the tool bar's first button).
  if (m_leftView) m_leftView->Tree()->SetFocus();
  Update();
  shell::Trace("shown");
}

void CMainFrame::TakeHandOver(const std::string& path) {
  if (auto* app = dynamic_cast<CClipwrenApp*>(wxTheApp)) app->SetPendingImportPath(path);
  // The new scrap is already on disk; the tree finds it (loading the folders on the way).
  if (m_leftView) m_leftView->Tree()->SelectByPath(path);
  shell::Trace("handover " + path);
  if (m_leftView) shell::Trace("selected " + m_leftView->Tree()->CaretPath());
}

void CMainFrame::StartListening() {
  const std::uint32_t number = platform::RegisteredMessageNumber(kDuplicateCheckMessage);
  platform::InstanceListener::Handlers handlers;
  handlers.probe = [number](std::uint32_t message) { return message == number ? number : 0u; };
  handlers.foreground = [this] {
    CallAfter([this] {
      if (IsIconized()) Iconize(false);
      Raise();
      RequestUserAttention();
      shell::Trace("foreground");
    });
  };
  handlers.copyData = [this](std::uint32_t, std::string data) {
    // The record carries the path with its terminating zero; take the text up to it.
    const std::string path = data.substr(0, data.find('\0'));
    CallAfter([this, path] { TakeHandOver(path); });
  };
  m_listener = std::make_unique<platform::InstanceListener>(kDuplicateCheckMessage, handlers);
}

void CMainFrame::WritePlacement(int showCmd) {
  if (IsHiddenOrMinimised(showCmd)) return;
  shell::WindowPlacement p;
  const wxRect rect = GetScreenRect();
  p.x = rect.x;
  p.y = rect.y;
  p.cx = rect.width;
  p.cy = rect.height;
  p.leftPanWidth = m_splitter ? ToDIP(m_splitter->GetSashPosition()) : m_placement.leftPanWidth;
  p.showCmd = showCmd;
  (void)m_settings.WritePlacement(p);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  CClipwrenDoc* doc = Document();
  if (doc && doc->IsModified()) {
    const int answer = askSaveOnClose(doc->SaveQuestion());
    if (answer == wxCANCEL && event.CanVeto()) {
      event.Veto();
      return;
    }
    if (answer == wxYES) {
      doc->SetSaveAll(true);
      wxCommandEvent save(wxEVT_MENU, res::kIdFileSave);
      save.SetEventObject(this);
      ProcessWindowEvent(save);
      // A save that failed has been reported and keeps the edits: the window stays open.
      if (doc->IsModified() && event.CanVeto()) {
        event.Veto();
        return;
      }
    }
    doc->SetModifiedFlag(false);
  }
  WritePlacement(queryShowCmd());
  m_listener.reset();
  event.Skip();
}

void CMainFrame::OnSize(wxSizeEvent& event) {
  // The bars keep their places through the sizers (the search bar at the right end of the
  // row); the status bar fits its message pane itself.
  event.Skip();
}
