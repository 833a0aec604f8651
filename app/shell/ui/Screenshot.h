#pragma once

#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>
#include <wx/toplevel.h>

#include <functional>

// Saves a PNG of a top-level window as it appears on the screen, title bar included when a
// window manager draws one. Waits until the window has been painted and the event queue is
// idle, then calls done. Used by scripted runs and GUI tests to look at what a user sees.
void SaveWindowScreenshotWhenIdle(wxTopLevelWindow* window, const wxString& file,
                                  std::function<void()> done);

// What the screen shows in rect (clipped to the display), read back from the X server's root
// window; invalid when nothing could be read.
wxImage GrabScreen(wxRect rect);

// Takes the picture at once; false when it could not be saved.
[[nodiscard]] bool SaveWindowScreenshot(wxTopLevelWindow* window, const wxString& file);
