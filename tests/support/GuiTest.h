#pragma once

#include <gtest/gtest.h>

#include <wx/colour.h>
#include <wx/string.h>

#include <functional>
#include <ostream>
#include <string>

#include "tests/support/ProcessWindows.h"

// Colours print as #RRGGBB in failure messages.
inline void PrintTo(const wxColour& c, std::ostream* os) {
  *os << c.GetAsString(wxC2S_HTML_SYNTAX).utf8_string();
}

class wxTopLevelWindow;
class wxWindow;

namespace guitest {

// Starts wx once per test process. When the test program defines its application class
// with wxIMPLEMENT_APP_NO_MAIN, that class is created (its OnInit is not run); otherwise a
// plain wxApp. False when no display can be opened.
bool EnsureWx();

// Handles everything that is waiting: window-system events, posted events, CallAfter calls,
// then one round of idle processing (which updates menus and tool bars), repeated for about
// `ms` milliseconds (once for 0). To wait for something, use WaitFor with its condition.
void Pump(int ms = 50);

// Pumps events until `done` holds or `ms` milliseconds have passed; returns the last value of
// `done`. Tests wait for what they need with a generous bound instead of a fixed pump time,
// so a busy machine only makes them slower.
bool WaitFor(const std::function<bool()>& done, int ms = 10000);

// A file name in the test build folder's screenshots/ (created on demand).
wxString ScreenshotPath(const wxString& name);

// Saves what the screen shows of window (children included) as a PNG; false on failure.
bool SaveScreenshot(wxWindow* window, const wxString& file);

// Real input through the X server, as a user gives it: a window manager (openbox, started
// when none runs), windows found by their title with wmctrl and raised, keys and clicks sent
// with xdotool. Everything the window does in answer arrives through the event loop, so a
// test sends input and then waits for its effect.
class RealInput {
 public:
  // Starts openbox when no window manager answers; false when wmctrl or xdotool is missing.
  bool Start();
  // The X window id of the first window whose title contains `title` (UTF-8), as wmctrl
  // lists it; 0 when there is none.
  static unsigned long FindWindowByTitle(const std::string& title);
  // The actions the window manager allows on the window whose title contains `title`
  // (xprop's _NET_WM_ALLOWED_ACTIONS line), once it lists closing the window; empty when it
  // does not within `ms`.
  static std::string AllowedActions(const std::string& title, int ms = 10000);
  // Raises and activates the window whose title contains `title`, and waits until the window
  // manager reports it as the active window.
  bool Activate(const std::string& title, int ms = 10000);
  // xdotool key names, e.g. "F10", "alt+f", "Escape".
  static bool Key(const std::string& keys);
  // Moves the pointer to screen point (x, y) and clicks `button` (1 left, 3 right).
  static bool Click(int x, int y, int button = 1);
  static bool MoveTo(int x, int y);

 private:
  testsupport::WindowManager m_wm;
};

// Fixture for tests that need windows; skips the test when there is no display.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace guitest
