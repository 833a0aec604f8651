#include "tests/pageview/WxFixture.h"

#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/init.h>
#include <wx/window.h>

#include <chrono>
#include <thread>

#include "app/document/ScrapText.h"
#include "app/image/CxImage.h"

namespace pvtest {

bool WxReady() {
  static const bool ready = [] {
    if (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY")) return false;
    static int argc = 1;
    static char name[] = "pageview-gui-test";
    static char* argv[] = {name, nullptr};
    // A failed wx check is a test failure, not a dialog waiting for a click.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func,
                          const wxString& cond, const wxString& msg) {
      ADD_FAILURE() << "wx check failed: " << cond.utf8_string() << " " << msg.utf8_string()
                    << " in " << func.utf8_string() << " at " << file.utf8_string() << ":" << line;
    });
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) return false;
    wxTheApp->SetAppName("Clipwren");
    wxInitAllImageHandlers();
    return wxTheApp->CallOnInit();
  }();
  return ready;
}

void Pump(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (std::chrono::steady_clock::now() < end);
}

wxString ScreenshotPath(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(CLIPWREN_TEST_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(dir);
  return wxString::FromUTF8((dir / name).string());
}

bool SaveScreenshot(wxWindow* window, const std::string& name) {
  window->Refresh();
  window->Update();
  Pump(300);
  const wxRect rect = window->GetScreenRect().Intersect(wxRect(wxPoint(0, 0), wxGetDisplaySize()));
  if (rect.IsEmpty()) return false;
  wxScreenDC screen;
  wxBitmap bitmap(rect.width, rect.height, 24);
  {
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
  }
  return bitmap.ConvertToImage().SaveFile(ScreenshotPath(name), wxBITMAP_TYPE_PNG);
}

void MakeScrap(const std::filesystem::path& folder, int width, int height,
               const std::string& text) {
  std::filesystem::create_directories(folder);
  CxImage img;
  ASSERT_TRUE(img.Create(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24));
  for (int y = 0; y < height; ++y) {
    uint8_t* row = img.GetBits(static_cast<uint32_t>(height - 1 - y));
    const uint8_t v = (y % 200) < 4 ? 180 : 255;
    std::fill(row, row + 3 * width, v);
  }
  ASSERT_TRUE(img.Save((folder / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
  if (!text.empty()) ASSERT_TRUE(scrapfiles::WriteContentText(folder / "Content.txt", text));
}

}  // namespace pvtest
