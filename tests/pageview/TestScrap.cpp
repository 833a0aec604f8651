#include "tests/pageview/TestScrap.h"

#include <gtest/gtest.h>

#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/gdicmn.h>
#include <wx/utils.h>

#include <algorithm>

#include "app/document/ScrapText.h"
#include "app/image/CxImage.h"
#include "tests/support/GuiTest.h"

namespace pvtest {

bool WaitFor(const std::function<bool()>& done, int ms) { return guitest::WaitFor(done, ms); }

bool PointerTo(const wxPoint& at) {
  wxUIActionSimulator input;
  input.MouseMove(at);
  return WaitFor([&] {
    int x = 0, y = 0;
    wxGetMousePosition(&x, &y);
    return wxPoint(x, y) == at;
  });
}

wxString ScreenshotPath(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(CLIPWREN_TEST_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(dir);
  return wxString::FromUTF8((dir / name).string());
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
