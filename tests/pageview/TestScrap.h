#pragma once

#include <wx/gdicmn.h>
#include <wx/string.h>

#include <filesystem>
#include <functional>
#include <string>

// Helpers of the page view and document window tests (which use guitest::GuiTest).
namespace pvtest {

// Handles events until `done` holds or `ms` milliseconds have passed; returns the last value
// of `done`. A busy machine only makes a test slower, never wrong.
bool WaitFor(const std::function<bool()>& done, int ms = 10000);
// Moves the pointer through the X server to screen point `at` and waits until it is there.
bool PointerTo(const wxPoint& at);
// A file in the build folder's screenshots/ directory.
wxString ScreenshotPath(const std::string& name);

// A scrap folder with a white Main.jpg of width × height, a grey band for orientation and a
// Content.txt holding `text`.
void MakeScrap(const std::filesystem::path& folder, int width, int height,
               const std::string& text = "");

}  // namespace pvtest
