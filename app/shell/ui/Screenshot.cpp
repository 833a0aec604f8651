#include "app/shell/ui/Screenshot.h"

#include <gtk/gtk.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/timer.h>

#include <cstdio>
#include <memory>

namespace {

// The window's rectangle on the screen with the decorations the window manager added.
wxRect FrameRect(wxTopLevelWindow* window) {
  wxRect rect = window->GetScreenRect();
  auto* widget = static_cast<GtkWidget*>(window->GetHandle());
  if (widget) {
    if (GdkWindow* gdk = gtk_widget_get_window(widget)) {
      GdkRectangle frame;
      gdk_window_get_frame_extents(gdk, &frame);
      if (frame.width >= rect.width && frame.height >= rect.height) {
        rect = wxRect(frame.x, frame.y, frame.width, frame.height);
      }
    }
  }
  return rect.Intersect(wxRect(wxPoint(0, 0), wxGetDisplaySize()));
}

}  // namespace

bool SaveWindowScreenshot(wxTopLevelWindow* window, const wxString& file) {
  window->Update();
  const wxRect rect = FrameRect(window);
  if (rect.IsEmpty()) return false;
  wxScreenDC screen;
  wxBitmap bitmap(rect.width, rect.height, 24);
  {
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
  }
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  return bitmap.ConvertToImage().SaveFile(file, wxBITMAP_TYPE_PNG);
}

void SaveWindowScreenshotWhenIdle(wxTopLevelWindow* window, const wxString& file,
                                  std::function<void()> done) {
  // A short pause lets the window manager map and decorate the window and the first paint
  // reach the screen; one-shot timers keep the event loop running meanwhile.
  auto* timer = new wxTimer();
  timer->Bind(wxEVT_TIMER, [timer, window, file, done](wxTimerEvent&) {
    if (SaveWindowScreenshot(window, file)) {
      std::printf("%s\n", file.utf8_string().c_str());
    } else {
      std::fprintf(stderr, "clipwren: could not save the screenshot %s\n", file.utf8_string().c_str());
    }
    std::fflush(stdout);
    timer->CallAfter([timer] { delete timer; });
    if (done) done();
  });
  timer->StartOnce(1500);
}
