#include "tests/store/TreeGuiTest.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/utils.h>

namespace treetest {

namespace {

class WxEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!wxApp::GetInitializerFunction()) wxApp::SetInstance(new wxApp);
    static int argc = 1;
    static char name[] = "store_tree_gui_tests";
    static char* argv[] = {name, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    // An assertion would open a dialog and wait for a click that never comes.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func,
                          const wxString& cond, const wxString& msg) {
      ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion in " << func.utf8_string() << ": "
                                            << cond.utf8_string() << " " << msg.utf8_string();
    });
    wxInitAllImageHandlers();
    // Windows expect a running loop (idle handling, CallAfter); tests drive it with Pump().
    m_loop = new wxGUIEventLoop;
    wxEventLoopBase::SetActive(m_loop);
  }
  void TearDown() override {
    wxEventLoopBase::SetActive(nullptr);
    delete m_loop;
    wxEntryCleanup();
  }

 private:
  wxGUIEventLoop* m_loop = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WxEnvironment);

}  // namespace

void Pump(int ms) {
  const wxLongLong end = wxGetLocalTimeMillis() + ms;
  do {
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxTheApp->ProcessIdle();
    wxMilliSleep(5);
  } while (wxGetLocalTimeMillis() < end);
}

bool SaveScreenshot(wxWindow* window, const std::string& file) {
  window->Update();
  const wxRect rect = window->GetScreenRect().Intersect(wxRect(wxPoint(0, 0), wxGetDisplaySize()));
  if (rect.IsEmpty()) return false;
  wxScreenDC screen;
  wxBitmap bitmap(rect.width, rect.height, 24);
  {
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
  }
  return bitmap.ConvertToImage().SaveFile(wxString::FromUTF8(file), wxBITMAP_TYPE_PNG);
}

}  // namespace treetest
