#include "tests/support/GuiTest.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/stdpaths.h>
#include <wx/stopwatch.h>
#include <wx/window.h>

#include <cstdlib>

#include "app/shell/ui/Screenshot.h"

namespace guitest {
namespace {

wxGUIEventLoop* g_loop = nullptr;

bool Start() {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return false;
  if (!wxApp::GetInitializerFunction()) wxApp::SetInstance(new wxApp);
  static int argc = 1;
  static char arg0[] = "clipwren-test";
  static char* argv[] = {arg0, nullptr};
  if (!wxEntryStart(argc, argv)) return false;
  // An assertion would open a dialog and wait for a click that never comes.
  wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                        const wxString& msg) {
    // Command numbers above the toolkit's id range are used as window ids on purpose (the
    // views keep the numbers the rest of the program knows them by); that check is noise.
    if (msg.Contains("invalid id value") || msg.Contains("invalid itemid value")) return;
    ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion in " << func.utf8_string() << ": "
                                          << cond.utf8_string() << " " << msg.utf8_string();
  });
  wxInitAllImageHandlers();
  // Windows expect a running loop (idle handling, CallAfter); tests drive it with Pump().
  g_loop = new wxGUIEventLoop;
  wxEventLoopBase::SetActive(g_loop);
  return true;
}

}  // namespace

bool EnsureWx() {
  static const bool ok = Start();
  return ok;
}

void Pump(int ms) {
  if (!g_loop) return;
  wxStopWatch watch;
  do {
    while (g_loop->Pending()) g_loop->Dispatch();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    wxMilliSleep(5);
  } while (watch.Time() < ms);
  while (g_loop->Pending()) g_loop->Dispatch();
  wxTheApp->ProcessPendingEvents();
}

wxString ScreenshotPath(const wxString& name) {
  // Tests run in their source folder; pictures go next to the test binaries instead.
  wxFileName file(wxStandardPaths::Get().GetExecutablePath());
  file.AppendDir("screenshots");
  file.Mkdir(wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  file.SetFullName(name);
  return file.GetFullPath();
}

bool SaveScreenshot(wxWindow* window, const wxString& file) {
  window->Refresh();
  window->Update();
  Pump(100);
  const wxImage image = GrabScreen(window->GetScreenRect());
  return image.IsOk() && image.SaveFile(file, wxBITMAP_TYPE_PNG);
}

void GuiTest::SetUp() {
  if (!EnsureWx()) GTEST_SKIP() << "no display (run under xvfb-run)";
}

void GuiTest::TearDown() {
  if (!wxTheApp) return;
  const wxWindowList windows = wxTopLevelWindows;
  for (wxWindow* w : windows) w->Destroy();
  Pump(10);
}

}  // namespace guitest
