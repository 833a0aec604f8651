#pragma once

#include <string>

#include <wx/string.h>

// What the document needs from the windows around it. The main frame, the text view and the
// pictures view implement these; the document works without them (tests, early start-up).

// The main frame's bars: the tool bar's zoom box, the status panes, and the menu and search
// bar switch that follows the active tab.
class IFrameHooks {
 public:
  virtual ~IFrameHooks() = default;
  virtual void SetZoomText(const wxString& text) = 0;
  // Status pane by id (59143 position, 59144 size, 59145 picture size).
  virtual void SetPaneText(int paneId, const wxString& text) = 0;
  virtual void OnActiveTabChanged(int tab, bool textTab) = 0;
  // The tool bar's pen button shows the chosen pen (picture 23 + index).
  virtual void OnPenChanged(int penIndex) {}
  // The open scrap's name changed (empty: none); the caption shows it.
  virtual void OnTitleChanged(const wxString& title) {}
};

// The text tab: the scrap's text shown and edited as UTF-8.
class ITextPane {
 public:
  virtual ~ITextPane() = default;
  virtual void SetText(const std::string& utf8) = 0;
  virtual std::string GetText() const = 0;
  // "検索" (Ctrl+F): the text tab's find dialog. A pane without one has nothing to open.
  virtual void OpenFindDialog() {}
};

// The pictures tab. LoadFolder takes a scrap's folder and answers whether its pictures folder
// holds a picture (1) or not (0); ApplyViewMode lays the tab out for the document's view mode
// and fills the list of that mode, true when it shows pictures; GifSettingChanged refills the
// visible list after "GIFを表示しない".
class IPicturesPane {
 public:
  virtual ~IPicturesPane() = default;
  virtual int LoadFolder(const std::string& scrapFolder) = 0;
  virtual bool ApplyViewMode() { return false; }
  virtual void GifSettingChanged(bool showGif) {}
};
