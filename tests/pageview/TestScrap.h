#pragma once

#include <gtest/gtest.h>

#include <wx/string.h>

#include <filesystem>
#include <functional>
#include <string>

class wxWindow;

namespace pvtest {

// True once wx runs with a display (started on first use, once per test process).
bool WxReady();
// Handles pending and idle events for about `ms` milliseconds.
void Pump(int ms = 30);
// Handles events until `done` holds or `ms` milliseconds have passed; returns the last value
// of `done`. A busy machine only makes a test slower, never wrong.
bool WaitFor(const std::function<bool()>& done, int ms = 10000);
// A file in the build folder's screenshots/ directory.
wxString ScreenshotPath(const std::string& name);

// Saves what the screen shows of a window (children included) as a PNG in screenshots/.
bool SaveScreenshot(wxWindow* window, const std::string& name);

// A scrap folder with a white Main.jpg of width × height, a grey band for orientation and a
// Content.txt holding `text`.
void MakeScrap(const std::filesystem::path& folder, int width, int height,
               const std::string& text = "");

// Skips the test when no display could be opened.
class WxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!WxReady()) GTEST_SKIP() << "no display";
  }
};

}  // namespace pvtest
