#include "tests/support/GuiTest.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/stdpaths.h>
#include <wx/stopwatch.h>
#include <wx/window.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

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

bool WaitFor(const std::function<bool()>& done, int ms) {
  wxStopWatch watch;
  while (!done()) {
    if (watch.Time() >= ms) return done();
    Pump(10);
  }
  return true;
}

namespace {

// Runs a command through the shell; its standard output, or nullopt when it failed.
std::optional<std::string> Run(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  while (const size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  const int status = pclose(pipe);
  if (status != 0) return std::nullopt;
  return out;
}

bool HaveTool(const char* name) {
  return Run(std::string("command -v ") + name + " >/dev/null 2>&1").has_value();
}

}  // namespace

bool RealInput::Start() {
  if (!HaveTool("wmctrl") || !HaveTool("xdotool")) return false;
  if (m_wm.Start([] { Pump(0); })) return true;
  ADD_FAILURE() << "openbox did not come up; it printed:\n" << m_wm.Log();
  return false;
}

unsigned long RealInput::FindWindowByTitle(const std::string& title) {
  // xdotool's name search misses UTF-8 titles; wmctrl lists them as they are.
  const std::optional<std::string> list = Run("wmctrl -l");
  if (!list) return 0;
  size_t at = 0;
  while (at < list->size()) {
    size_t end = list->find('\n', at);
    if (end == std::string::npos) end = list->size();
    const std::string line = list->substr(at, end - at);
    if (line.find(title) != std::string::npos) return std::stoul(line, nullptr, 16);
    at = end + 1;
  }
  return 0;
}

std::string RealInput::AllowedActions(const std::string& title, int ms) {
  std::string actions;
  // The manager fills the list in a moment after it has taken the window.
  const bool listed = WaitFor(
      [&] {
        const unsigned long id = FindWindowByTitle(title);
        actions = id ? Run("xprop -id " + std::to_string(id) + " _NET_WM_ALLOWED_ACTIONS")
                           .value_or("")
                     : std::string();
        return actions.find("_NET_WM_ACTION_CLOSE") != std::string::npos;
      },
      ms);
  return listed ? actions : std::string();
}

bool RealInput::Activate(const std::string& title, int ms) {
  unsigned long id = 0;
  if (!WaitFor([&] { return (id = FindWindowByTitle(title)) != 0; }, ms)) return false;
  char hex[32];
  snprintf(hex, sizeof hex, "0x%08lx", id);
  return WaitFor(
      [&] {
        if (!Run(std::string("wmctrl -ia ") + hex)) return false;
        Pump(50);
        const std::optional<std::string> active = Run("xdotool getactivewindow");
        return active && std::stoul(*active) == id;
      },
      ms);
}

bool RealInput::Key(const std::string& keys) {
  return Run("xdotool key --clearmodifiers " + keys).has_value();
}

bool RealInput::MoveTo(int x, int y) {
  return Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y)).has_value();
}

bool RealInput::Click(int x, int y, int button) {
  return Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
             std::to_string(button))
      .has_value();
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
  // Painting now puts the drawing requests ahead of the read-back in the X server's queue.
  window->Refresh();
  window->Update();
  Pump(0);
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
  WaitFor([] { return wxTopLevelWindows.empty(); });
}

}  // namespace guitest
