#pragma once

#include <gtest/gtest.h>

#include <wx/colour.h>
#include <wx/string.h>

#include <ostream>

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
// `ms` milliseconds so that the window system catches up.
void Pump(int ms = 50);

// A file name in the test build folder's screenshots/ (created on demand).
wxString ScreenshotPath(const wxString& name);

// Saves what the screen shows of window (children included) as a PNG; false on failure.
bool SaveScreenshot(wxWindow* window, const wxString& file);

// Fixture for tests that need windows; skips the test when there is no display.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace guitest
