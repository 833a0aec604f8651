#pragma once

#include <wx/app.h>
#include <wx/frame.h>

#include <string>

// A wx application initialised once per test process, for tests that host the tree's windows
// in a frame of their own. GUI tests run under Xvfb.
namespace treetest {

// Runs the event loop for about ms milliseconds so windows get painted and laid out.
void Pump(int ms = 50);
// Saves what the screen shows of window as PNG; false when that failed.
bool SaveScreenshot(wxWindow* window, const std::string& file);

}  // namespace treetest
