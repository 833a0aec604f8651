#pragma once

#include <wx/frame.h>
#include <wx/splitter.h>

#include <memory>
#include <string>

#include "app/shell/AppSettings.h"
#include "platform/SingleInstance.h"

// Identifier of the splitter (its first pane).
inline constexpr int kSplitterId = 59648;
inline constexpr int kMinFrameWidth = 600;
inline constexpr int kMinFrameHeight = 400;
// Title of the main window's resources; the caption is "<title> - <scrap>".
inline constexpr const char* kAppTitle = "クリップレン帳";

// The program's only top-level window: the folder tree on the left, the open scrap on the
// right, placement remembered between runs, and the running instance's end of the
// single-instance protocol.
class CMainFrame : public wxFrame {
 public:
  explicit CMainFrame(shell::AppSettings& settings);
  ~CMainFrame() override;

  // Builds the client area; false when a pane cannot be created.
  [[nodiscard]] bool CreateClient();

  wxWindow* LeftPane() const { return m_leftPane; }
  // The area that holds the four tab views.
  wxWindow* TabArea() const { return m_tabArea; }

  // The caption for a scrap title ("クリップレン帳 - <scrap>").
  void SetScrapTitle(const wxString& scrapTitle);
  // Shows the window with the stored show state (hidden or minimised states are ignored).
  void ShowAtStart();

  // A second instance handed over the path of a newly imported scrap.
  void TakeHandOver(const std::string& path);

 private:
  void OnClose(wxCloseEvent& event);
  void WritePlacement();
  void StartListening();

  shell::AppSettings& m_settings;
  shell::WindowPlacement m_placement;
  wxSplitterWindow* m_splitter = nullptr;
  wxWindow* m_leftPane = nullptr;
  wxWindow* m_tabArea = nullptr;
  std::unique_ptr<platform::InstanceListener> m_listener;
};
