#pragma once

// The document in a frame with the right pane and both page views, as the main window holds
// them, for tests that drive the document's commands.
#include <wx/frame.h>

#include <memory>
#include <string>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/document/ui/DocPanes.h"
#include "app/pageview/PenTable.h"
#include "app/pageview/ui/CAllView.h"
#include "app/pageview/ui/CClipwrenView.h"
#include "app/pageview/ui/CSBTabCtrl.h"
#include "app/res/Resource.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

namespace doctest {

// The text tab as the document sees it.
struct TextPaneRecorder : ITextPane {
  void SetText(const std::string& utf8) override { text = utf8; }
  std::string GetText() const override { return text; }
  std::string text;
};

class DocWindowTest : public guitest::GuiTest {
 protected:
  // Makes the document; the caller sets its hooks, then calls ShowWindow.
  void MakeDocument() {
    m_doc = std::make_unique<CClipwrenDoc>();
    m_doc->SetTextPane(&m_textPane);
  }
  // The frame with the right pane and both page views, shown and on the screen.
  void ShowWindow(const char* title) {
    m_frame = new wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxSize(700, 500));
    m_pane = new CClipwrenView(m_frame, m_doc.get());
    CSBTabCtrl* tabs = m_pane->TabCtrl();
    tabs->RegisterView(0, new CAllView(tabs, res::kIdPageView, m_doc.get()));
    tabs->RegisterView(1, new CAllView(tabs, res::kIdCopyView, m_doc.get()));
    m_frame->Show();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_frame->IsShownOnScreen(); }));
  }
  void TearDown() override {
    if (m_frame) {
      m_doc.reset();
      m_frame->Destroy();
      guitest::WaitFor([this] { return !wxTopLevelWindows.Find(m_frame); });
    }
  }
  void Command(int id) {
    wxCommandEvent e(wxEVT_MENU, id);
    m_doc->ProcessEvent(e);
  }
  // A thick black stroke on the page tab, by default across (10..100, 10); the document is
  // modified.
  void DrawStroke(CPoint from = {10, 10}, CPoint to = {100, 10}) {
    CSBImage* image = m_doc->PageImage();
    CStroke* s = image->NewStroke(PenAt(1));
    s->AddPoint(from);
    s->AddPoint(to);
    s->Finish();
    image->AddShape(s);
    m_doc->SetModifiedFlag();
  }
  bool Enabled(int id) {
    wxUpdateUIEvent e(id);
    m_doc->ProcessEvent(e);
    return e.GetSetEnabled() && e.GetEnabled();
  }

  testsupport::TempDir m_dir;
  std::unique_ptr<CClipwrenDoc> m_doc;
  wxFrame* m_frame = nullptr;
  CClipwrenView* m_pane = nullptr;
  TextPaneRecorder m_textPane;
};

}  // namespace doctest
