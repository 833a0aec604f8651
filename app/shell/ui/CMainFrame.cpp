#include "app/shell/ui/CMainFrame.h"

#include <wx/panel.h>
#include <wx/sizer.h>

#include "app/shell/Trace.h"
#include "app/shell/ui/CClipwrenApp.h"

namespace {

bool IsHiddenOrMinimised(int showCmd) {
  return showCmd == 0 || showCmd == 2 || showCmd == 6 || showCmd == 7;
}

}  // namespace

CMainFrame::CMainFrame(shell::AppSettings& settings)
    : m_settings(settings), m_placement(settings.ReadPlacement()) {
  // Without a stored size the window takes what the host's default placement gives a new
  // window: about three quarters of the screen.
  const wxSize display = wxGetDisplaySize();
  const wxSize size(m_placement.cx.value_or(display.x * 3 / 4),
                    m_placement.cy.value_or(display.y * 3 / 4));
  // Created on top of the other windows, then made an ordinary window again, so the program
  // comes up in front without staying there.
  Create(nullptr, wxID_ANY, wxString::FromUTF8(kAppTitle), wxPoint(m_placement.x, m_placement.y),
         size, wxDEFAULT_FRAME_STYLE | wxSTAY_ON_TOP);
  SetWindowStyleFlag(GetWindowStyleFlag() & ~wxSTAY_ON_TOP);
  SetMinSize(wxSize(kMinFrameWidth, kMinFrameHeight));
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  StartListening();
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::CreateClient() {
  m_splitter = new wxSplitterWindow(this, kSplitterId, wxDefaultPosition, wxDefaultSize,
                                    wxSP_LIVE_UPDATE | wxSP_3DSASH);
  m_splitter->SetMinimumPaneSize(20);
  m_leftPane = new wxPanel(m_splitter, wxID_ANY);
  m_tabArea = new wxPanel(m_splitter, wxID_ANY);
  m_tabArea->SetSizer(new wxBoxSizer(wxVERTICAL));
  if (!m_leftPane || !m_tabArea) {
    m_splitter->Destroy();
    m_splitter = nullptr;
    return false;
  }
  m_splitter->SplitVertically(m_leftPane, m_tabArea, m_placement.leftPanWidth);
  return true;
}

void CMainFrame::SetScrapTitle(const wxString& scrapTitle) {
  wxString caption = wxString::FromUTF8(kAppTitle);
  if (!scrapTitle.empty()) caption += " - " + scrapTitle;
  SetTitle(caption);
}

void CMainFrame::ShowAtStart() {
  const int showCmd = m_placement.showCmd.value_or(shell::kShowNormal);
  if (!IsHiddenOrMinimised(showCmd) && showCmd == shell::kShowMaximized) Maximize();
  Show();
  Update();
  shell::Trace("shown");
}

void CMainFrame::TakeHandOver(const std::string& path) {
  wxGetApp().SetPendingImportPath(path);
  shell::Trace("handover " + path);
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
  handlers.copyData = [this](std::uint32_t id, std::string data) {
    // The record carries the path with its terminating zero; take the text up to it.
    const std::string path = data.substr(0, data.find('\0'));
    CallAfter([this, path] { TakeHandOver(path); });
  };
  m_listener = std::make_unique<platform::InstanceListener>(kDuplicateCheckMessage, handlers);
}

void CMainFrame::WritePlacement() {
  if (IsIconized()) return;
  shell::WindowPlacement p;
  const wxRect rect = GetScreenRect();
  p.x = rect.x;
  p.y = rect.y;
  p.cx = rect.width;
  p.cy = rect.height;
  p.leftPanWidth = m_splitter ? m_splitter->GetSashPosition() : m_placement.leftPanWidth;
  p.showCmd = IsMaximized() ? shell::kShowMaximized : shell::kShowNormal;
  (void)m_settings.WritePlacement(p);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  WritePlacement();
  m_listener.reset();
  event.Skip();
}
