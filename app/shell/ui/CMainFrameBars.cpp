#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/pageview/ui/CAllView.h"
#include "app/res/Resource.h"
#include "app/res/StringTable.h"
#include "app/res/ToolBars.h"
#include "app/res/ui/MenuBuilder.h"
#include "app/res/ui/ResArt.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/CPrintToolBar.h"
#include "app/shell/ui/CScrapStatusBar.h"
#include "app/shell/ui/InterfaceFont.h"
#include "app/store/ui/CDimEditCtrl.h"
#include "platform/TextConv.h"

namespace {

wxString Utf8(std::string_view s) { return wxString::FromUTF8(s.data(), s.size()); }

wxFont ZoomAndSearchFont() {
  if (auto* app = dynamic_cast<CClipwrenApp*>(wxTheApp)) return app->InterfaceFont();
  return MakeInterfaceFont();
}

}  // namespace

bool CMainFrame::CreateBars() {
  // The bars share one band across the top: the main tool bar on the left and the search
  // tool bar kept at the right end of the same row.
  m_band = new wxPanel(this, wxID_ANY);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  m_band->SetSizer(row);

  // The bars carry the numbers the rest of the program knows them by; ids above the
  // toolkit's creation range are given after creation.
  m_toolBar = new CPrintToolBar(m_band, wxID_ANY);
  m_toolBar->SetId(res::kIdMainToolBar);
  if (!m_toolBar->Build(ZoomAndSearchFont())) return false;
  m_toolBar->ZoomBox()->Bind(wxEVT_TEXT_ENTER, &CMainFrame::OnZoomBoxEnter, this);
  m_toolBar->ZoomBox()->Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateZoomBox, this);
  row->Add(m_toolBar, 0, wxEXPAND);
  row->AddStretchSpacer(1);

  // The search tool bar: the search box where the bar's resource has its first button,
  // then the find button. The box sits beside a small tool bar rather than inside it, so the
  // toolkit sizes both properly.
  m_searchBar = new wxPanel(m_band, res::kIdSearchToolBar);
  m_searchBar->SetLabel(wxString::FromUTF8("検索"));
  auto* searchRow = new wxBoxSizer(wxHORIZONTAL);
  m_searchBar->SetSizer(searchRow);
  m_searchBox =
      new CDimEditCtrl(m_searchBar, res::kIdSearchBox, wxDefaultPosition,
                       FromDIP(wxSize(res::kSearchBoxWidth, -1)), wxTE_CENTRE | wxTE_NOHIDESEL);
  m_searchBox->SetFont(ZoomAndSearchFont());
  m_searchBox->SetMaxLength(128);
  m_searchBox->SetPrompt("検索");
  m_findBar = new wxToolBar(m_searchBar, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
  m_findBar->SetToolBitmapSize(FromDIP(wxSize(res::kToolPictureSize, res::kToolPictureSize)));
  CPrintToolBar::MakeCompact(m_findBar);
  for (const res::ToolDef& t : res::SearchToolBar()) {
    if (t.command == res::kIdSearchBoxSlot) {
      searchRow->Add(m_searchBox, 0, wxALIGN_CENTER_VERTICAL | wxTOP | wxBOTTOM, 1);
    } else {
      const wxString tip = Utf8(res::CommandTip(t.command));
      wxToolBarToolBase* tool =
          m_findBar->AddTool(t.command, tip, res::ui::SearchToolPicture(t.picture), tip);
      tool->SetLongHelp(Utf8(res::CommandPrompt(t.command)));
    }
  }
  if (!m_findBar->Realize()) return false;
  searchRow->Add(m_findBar, 0, wxEXPAND);
  row->Add(m_searchBar, 0, wxEXPAND);
  m_searchBar->Hide();

  m_statusBar = new CScrapStatusBar(this, wxID_ANY);
  m_statusBar->SetId(res::kIdStatusBar);
  SetStatusBar(m_statusBar);
  SetStatusText(Utf8(res::LoadString(res::kStrIdlePrompt)), 0);

  SetAcceleratorTable(res::ui::BuildAccelerators(res::kAccelMain));
  SwitchMenu(0);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdleStatus, this);
  return true;
}

void CMainFrame::SwitchMenu(int tab) {
  const int id = tab == 2   ? res::kMenuTextTab
                 : tab == 3 ? res::kMenuPicturesTab
                            : res::kMenuPageTabs;
  if (id == m_menuId) return;
  wxMenuBar* old = GetMenuBar();
  wxMenuBar* bar = res::ui::BuildMenuBar(id);
  SetMenuBar(bar);
  res::ui::KeepMenuShortcutsAsText(this, bar);
  delete old;
  m_menuId = id;
}

void CMainFrame::ShowSearchToolBar(bool show) {
  if (!m_searchBar || m_searchBar->IsShown() == show) return;
  m_searchBar->Show(show);
  m_band->Layout();
}

void CMainFrame::SetZoomText(const wxString& text) {
  if (m_toolBar) m_toolBar->SetZoomText(text);
}

void CMainFrame::SetPaneText(int paneId, const wxString& text) {
  if (m_statusBar) m_statusBar->SetPaneText(paneId, text);
}

void CMainFrame::OnActiveTabChanged(int tab, bool textTab) {
  SwitchMenu(tab);
  ShowSearchToolBar(textTab || tab == 2);
}

void CMainFrame::OnPenChanged(int penIndex) {
  if (m_toolBar) m_toolBar->SetPenPicture(penIndex);
}

void CMainFrame::OnZoomBoxEnter(wxCommandEvent&) {
  // The number is taken at idle time, when the box's state is brought up to date.
  m_zoomEntered = true;
}

void CMainFrame::OnUpdateZoomBox(wxUpdateUIEvent& event) {
  CClipwrenDoc* doc = Document();
  const CSBImage* image = doc ? doc->CurrentImage() : nullptr;
  const bool enable =
      image && image->IsLoaded() && (doc->ActiveTab() == kTabPage || doc->ActiveTab() == kTabCopy);
  event.Enable(enable);
  if (!enable || !m_zoomEntered) return;
  m_zoomEntered = false;
  const long long number =
      platform::text::ParseDecimalPrefix(m_toolBar->ZoomBox()->GetValue().utf8_string());
  const int zoom = static_cast<int>(std::clamp<long long>(number, 0, 1'000'000));
  if (applyZoom) {
    applyZoom(zoom);
    return;
  }
  CSBImage* current = doc->CurrentImage();
  IPageView* view = doc->CurrentPageView();
  if (!current || !view) return;
  const int applied = view->State().SetZoom(current->VersionIndex(), zoom);
  current->SetZoom(applied);
  doc->ShowZoom(applied);
  view->ApplyZoom();
}

void CMainFrame::OnIdleStatus(wxIdleEvent& event) {
  event.Skip();
  CClipwrenDoc* doc = Document();
  if (!doc || !m_statusBar) return;
  const int tab = doc->ActiveTab();
  if (tab == kTabText || tab == kTabPictures) {
    m_statusBar->ClearPane(res::kIdPaneCursor);
    m_statusBar->ClearPane(res::kIdPaneSelection);
    m_statusBar->ClearPane(res::kIdPaneSize);
    return;
  }
  // On a picture tab: with the shape selection tool the frame shows where the cursor is in
  // picture coordinates; with the other tools the view writes the pane while the mouse moves.
  // Once the mouse has left the view (and the view does not hold it) the pane is cleared.
  wxWindow* view = ActiveView();
  if (!view) return;
  const wxPoint client = view->ScreenToClient(wxGetMousePosition());
  if (view->GetClientRect().Contains(client)) {
    const CSBImage* image = doc->CurrentImage();
    auto* page = dynamic_cast<CAllView*>(view);
    if (page && image && image->Tool() == kToolShapeSelect) {
      const CPoint at = page->ToView(client);
      m_statusBar->SetCursorPosition(at.x, at.y);
    }
  } else if (!view->HasCapture()) {
    m_statusBar->ClearPane(res::kIdPaneCursor);
  }
}
