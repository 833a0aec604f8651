// The printout the program prints and previews through, rendered to PDF files and read back with
// poppler's tools: page counts by mode, paper orientation, grey monochrome pages and a marked
// block of the picture landing where the layout puts it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <wx/image.h>

#include "app/print/ui/CClipwrenPrintout.h"
#include "app/print/ui/CLangPreview.h"
#include "app/print/ui/PdfRender.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TempDir.h"

namespace {

class WxEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(guitest::EnsureWx()) << "no display (run under xvfb-run)"; }
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new WxEnvironment);

constexpr uint32_t kWidth = 1280, kHeight = 20000;
// The marked block, picture pixels from the top: red on a light grey page.
constexpr int kMarkLeft = 200, kMarkRight = 400, kMarkTop = 5000, kMarkBottom = 5100;

PrintPicture MakePage() {
  auto img = std::make_shared<CxImage>();
  EXPECT_TRUE(img->Create(kWidth, kHeight, 24));
  for (uint32_t y = 0; y < kHeight; ++y) {
    uint8_t* row = img->GetBits(kHeight - 1 - y);
    for (uint32_t x = 0; x < kWidth; ++x) {
      const bool mark = int(x) >= kMarkLeft && int(x) < kMarkRight && int(y) >= kMarkTop &&
                        int(y) < kMarkBottom;
      row[3 * x] = mark ? 0 : 230;
      row[3 * x + 1] = mark ? 0 : 230;
      row[3 * x + 2] = mark ? 255 : 230;
    }
  }
  return img;
}

const print::ScreenSize kScreen{1920, 1080, 508, 286};

std::string Run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  return out;
}

int PdfPages(const std::string& pdf) {
  const std::string info = Run("pdfinfo '" + pdf + "'");
  const size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

std::string PdfPageSize(const std::string& pdf) {
  const std::string info = Run("pdfinfo '" + pdf + "'");
  const size_t at = info.find("Page size:");
  if (at == std::string::npos) return "";
  const size_t from = info.find_first_not_of(' ', at + 10);
  return info.substr(from, info.find(" pts", from) - from);
}

// Page `page` of the PDF as a picture at `dpi` dots per inch.
wxImage PdfPageImage(const std::string& pdf, int page, int dpi) {
  const std::string base = pdf + "-page";
  Run("pdftoppm -png -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
      std::to_string(page) + " -singlefile '" + pdf + "' '" + base + "'");
  wxImage img;
  img.LoadFile(wxString::FromUTF8(base + ".png"), wxBITMAP_TYPE_PNG);
  return img;
}

struct Printed {
  std::string pdf;
  int layoutPages = 0;
};

Printed PrintToPdf(const testsupport::TempDir& dir, const PrintPicture& picture,
                   const print::PrintSettings& settings, const std::string& name) {
  CClipwrenPrintout printout(picture, settings, kScreen);
  Printed out;
  out.pdf = (dir / (name + ".pdf")).string();
  PdfPage page;
  if (settings.orientation == print::kLandscape) std::swap(page.widthMm, page.heightMm);
  std::string error;
  EXPECT_TRUE(RenderPrintoutToPdf(printout, out.pdf, page, error)) << error;
  out.layoutPages = printout.Layout().GetLastPage();
  return out;
}

TEST(PrintToPdf, EveryModeGivesTheLayoutsPageCountOnTheRightPaper) {
  testsupport::TempDir dir;
  const PrintPicture picture = MakePage();
  struct Case {
    const char* name;
    int mode, pages, orientation;
  } cases[] = {{"whole", print::kFitWhole, 1, print::kPortrait},
               {"width", print::kFitWidth, 12, print::kPortrait},
               {"count", print::kPageCount, 3, print::kPortrait},
               {"scale", print::kScale, 0, print::kLandscape}};
  for (const Case& c : cases) {
    print::PrintSettings s;
    s.scalingMode = c.mode;
    s.pageCount = 3;
    s.orientation = c.orientation;
    const Printed printed = PrintToPdf(dir, picture, s, c.name);
    if (c.pages) EXPECT_EQ(printed.layoutPages, c.pages) << c.name;
    EXPECT_EQ(PdfPages(printed.pdf), printed.layoutPages) << c.name;
    EXPECT_EQ(PdfPageSize(printed.pdf),
              c.orientation == print::kPortrait ? "595.276 x 841.89" : "841.89 x 595.276")
        << c.name;
  }
}

// Fit width at 300 dpi on A4: 2480 / 1280 dots a picture pixel, 3508 dots a page, so picture
// row 5000 is dot 9687 of the run: page 3, 2671 dots down.
TEST(PrintToPdf, TheMarkLandsWhereTheLayoutPutsIt) {
  testsupport::TempDir dir;
  print::PrintSettings s;
  s.scalingMode = print::kFitWidth;
  const Printed printed = PrintToPdf(dir, MakePage(), s, "mark");
  const wxImage page = PdfPageImage(printed.pdf, 3, 50);
  ASSERT_TRUE(page.IsOk());
  const double k = 2480.0 / 1280 * 50 / 300;  // page-image pixels per picture pixel
  const int top = int(2671 * 50.0 / 300), left = int(kMarkLeft * k);
  const int inX = left + int(100 * k), inY = top + int(50 * k);
  EXPECT_GT(page.GetRed(inX, inY), 200);
  EXPECT_LT(page.GetGreen(inX, inY), 60);
  EXPECT_GT(page.GetGreen(inX, top - 5), 200);  // above the mark: the light page
  EXPECT_GT(page.GetGreen(left - 5, inY), 200);  // left of it
}

TEST(PrintToPdf, MonochromePrintsGreyLevels) {
  testsupport::TempDir dir;
  print::PrintSettings s;
  s.scalingMode = print::kFitWidth;
  s.colorMode = print::kMonochrome;
  const Printed printed = PrintToPdf(dir, MakePage(), s, "mono");
  const wxImage page = PdfPageImage(printed.pdf, 3, 50);
  ASSERT_TRUE(page.IsOk());
  const double k = 2480.0 / 1280 * 50 / 300;
  const int x = int((kMarkLeft + 100) * k), y = int(2671 * 50.0 / 300 + 50 * k);
  // Red becomes the grey of its brightness (76), not black or white.
  EXPECT_NEAR(page.GetRed(x, y), 76, 12);
  EXPECT_NEAR(page.GetGreen(x, y), page.GetRed(x, y), 3);
  EXPECT_NEAR(page.GetBlue(x, y), page.GetRed(x, y), 3);
}

// Renders preview pages into bitmaps of a chosen size, as the preview window does for its canvas.
class PagePreview : public CLangPreview {
 public:
  using CLangPreview::CLangPreview;
  wxImage Render(int page, const wxSize& size) {
    wxBitmap bitmap(size);
    if (!RenderPageIntoBitmap(bitmap, page)) return wxImage();
    return bitmap.ConvertToImage();
  }
};

// The preview hands the printout a bitmap of the page's size on screen, far fewer pixels than
// the printer's: the whole page must show there, not its top-left corner at printer size.
TEST(PrintPreview, TheWholePageShowsInTheScreenSizedBitmap) {
  auto picture = std::make_shared<CxImage>();  // black left half, white right half
  ASSERT_TRUE(picture->Create(1000, 1414, 24));
  for (uint32_t y = 0; y < 1414; ++y) {
    uint8_t* row = picture->GetBits(y);
    for (uint32_t x = 0; x < 1000; ++x)
      row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = x < 500 ? 0 : 255;
  }
  print::PrintSettings s;  // the whole picture on one page
  wxPrintDialogData data;
  PagePreview preview(new CClipwrenPrintout(picture, s, kScreen), nullptr, &data);
  ASSERT_TRUE(preview.IsOk());
  for (const wxSize size : {wxSize(200, 283), wxSize(420, 594)}) {
    const wxImage page = preview.Render(1, size);
    ASSERT_TRUE(page.IsOk());
    EXPECT_LT(page.GetRed(size.x * 3 / 10, size.y / 2), 64) << size.x;
    EXPECT_GT(page.GetRed(size.x * 7 / 10, size.y / 2), 192) << size.x;
  }
}

}  // namespace
