#include "app/shell/ui/Screenshot.h"

#include <gtk/gtk.h>
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
  return rect;
}

}  // namespace

wxImage GrabScreen(wxRect rect) {
  rect.Intersect(wxRect(wxPoint(0, 0), wxGetDisplaySize()));
  if (rect.IsEmpty()) return {};
  // Straight from the root window: what the X server shows now, decorations included.
  GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), rect.x, rect.y,
                                                 rect.width, rect.height);
  if (!pixbuf) return {};
  wxImage image(rect.width, rect.height);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  unsigned char* out = image.GetData();
  for (int y = 0; y < rect.height; ++y) {
    const guchar* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < rect.width; ++x, out += 3) {
      out[0] = row[x * channels];
      out[1] = row[x * channels + 1];
      out[2] = row[x * channels + 2];
    }
  }
  g_object_unref(pixbuf);
  return image;
}

bool SaveWindowScreenshot(wxTopLevelWindow* window, const wxString& file) {
  window->Update();
  const wxImage image = GrabScreen(FrameRect(window));
  if (!image.IsOk()) return false;
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  return image.SaveFile(file, wxBITMAP_TYPE_PNG);
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
