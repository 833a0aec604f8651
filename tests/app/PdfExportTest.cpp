// PDF export and the PDF printer's preferences in the real application object: which printer
// an export may use, what the user is told when it cannot, and what starts the preferences.
// The printer names are read once when the application object is made, so each case sets up
// the machine before that; CTest runs every case in a process of its own.
#include <gtest/gtest.h>

#include <wx/cmndata.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/document/ui/CClipwrenDoc.h"
#include "app/image/CxImage.h"
#include "app/pageview/CStroke.h"
#include "app/pageview/PenTable.h"
#include "app/pageview/ui/CSBTabCtrl.h"
#include "app/print/ui/PrintRun.h"
#include "app/res/Resource.h"
#include "app/shell/PrinterList.h"
#include "app/shell/ui/CClipwrenApp.h"
#include "app/shell/ui/CMainFrame.h"
#include "app/shell/ui/Screenshot.h"
#include "app/store/ui/CFolderTreeCtrl.h"
#include "app/store/ui/CLeftView.h"
#include "platform/PrintAdmin.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/TextConv.h"
#include "tests/support/GuiTest.h"
#include "tests/support/PrintMachine.h"
#include "tests/support/TempDir.h"

wxIMPLEMENT_APP_NO_MAIN(CClipwrenApp);

namespace {

namespace fs = std::filesystem;

const char* const kCannotSave = "PDFファイルへ保存することができません。";

fs::path Home() { return fs::path(std::getenv("HOME")) / "Documents" / "クリップレン"; }

std::string RunCommand(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buf[4096];
    std::size_t n = 0;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    pclose(pipe);
  }
  return out;
}

// A field of pdfinfo's report.
std::string InfoField(const std::string& info, const std::string& name) {
  const auto at = info.find(name + ":");
  if (at == std::string::npos) return {};
  const auto start = info.find_first_not_of(' ', at + name.size() + 1);
  return info.substr(start, info.find('\n', start) - start);
}

// Width and height in points from pdfinfo's "Page size: 595.28 x 841.89 pts (A4)".
std::pair<double, double> PageSize(const std::string& info) {
  double w = 0, h = 0;
  std::sscanf(InfoField(info, "Page size").c_str(), "%lf x %lf", &w, &h);
  return {w, h};
}

// Answers for PDFRelay the way it answers (request key last), saving to $STUB_TARGET.
constexpr const char* kStubRelay = R"(#!/bin/bash
rest="${1#/? }"
IFS=$'\n' read -r -d '' sect job ini name <<< "$rest"
grep -qxF "[$sect]" "$ini" 2>/dev/null || echo "[$sect]" >> "$ini"
{ echo "${job}_PathName=$STUB_TARGET"; echo "${job}_Preview=0"; echo "${job}_Canceled=0"
  echo "${job}_RequestWritePrivateProfile=1"; } >> "$ini"
)";

// Message boxes are answered with OK and remembered.
class MessageRecorder : public wxModalDialogHook {
 public:
  struct Shown {
    std::string text, caption;
    long style = 0;
  };
  std::vector<Shown> shown;
  int otherDialogs = 0;
  // Message boxes really appear (for a screenshot) instead of being answered at once.
  bool letShow = false;
  MessageRecorder() { Register(); }

 protected:
  int Enter(wxDialog* dialog) override {
    if (auto* box = wxDynamicCast(dialog, wxMessageDialog)) {
      shown.push_back({box->GetMessage().utf8_string(), box->GetTitle().utf8_string(),
                       box->GetMessageDialogStyle()});
      return letShow ? wxID_NONE : wxID_OK;
    }
    ++otherDialogs;
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

class PdfExportTest : public guitest::GuiTest {
 protected:
  // Lists printers in the machine's hive as the application reads them at start.
  void StartWithPrinters(const std::vector<std::string>& printers) {
    platform::Registry machine(platform::Hive::LocalMachine);
    for (const auto& name : printers)
      ASSERT_TRUE(machine.CreateKey(std::string(shell::kPrintersKey) + "\\" + name));
    StartApp(printers);
  }

  void StartApp(const std::vector<std::string>& printers) {
    fs::create_directories(Home() / "記事");
    CxImage page;
    ASSERT_TRUE(page.Create(300, 200, 24, CXIMAGE_FORMAT_JPG));
    ASSERT_TRUE(page.Save((Home() / "記事" / "Main.jpg").string(), CXIMAGE_FORMAT_JPG));
    testsupport::WriteFile(Home() / "記事" / "Content.txt",
                           "\xFF\xFE" + platform::text::Utf8ToUtf16le("本文"));
    GuiTest::SetUp();
    if (IsSkipped()) return;
    std::vector<std::string> read = wxGetApp().PrinterNames();
    std::vector<std::string> wanted = printers;
    std::sort(read.begin(), read.end());
    std::sort(wanted.begin(), wanted.end());
    if (read != wanted) GTEST_SKIP() << "the printers were read by an earlier case of this process";
    ASSERT_TRUE(wxGetApp().OnInit());
    m_frame = wxGetApp().MainFrame();
    ASSERT_TRUE(guitest::WaitFor([this] { return m_frame && m_frame->IsShown(); }));
    m_doc = wxGetApp().Document();
    m_tabs = wxDynamicCast(wxGetApp().PageView()->GetParent(), CSBTabCtrl);
    ASSERT_NE(m_tabs, nullptr);
    ASSERT_TRUE(m_frame->LeftView()->Tree()->SelectByPath((Home() / "記事").string()).IsOk());
    ASSERT_TRUE(guitest::WaitFor([&] { return m_doc->GetTitle() == wxString::FromUTF8("記事"); }));
  }

  // A fresh machine with the virtual printer installed the way the product's installer
  // does it: the print system's programs in place, then "prninst install <folder>".
  void InstallPdfPrinter() {
    testsupport::ResetMachine();
    const fs::path installer = testsupport::MakeInstallerFolder("pdf");
    const std::string prninst = (testsupport::SetupToolsDir() / "prninst").string();
    ASSERT_EQ(std::system((prninst + " setup-machine >/dev/null").c_str()), 0);
    ASSERT_EQ(std::system((prninst + " install '" + installer.string() + "' >/dev/null").c_str()),
              0);
    m_ini = installer / "ZarboPDF.ini";
  }

  // A red pen stroke across the page, as the pen tool leaves it (view units at 100 %).
  void DrawMark() {
    CSBImage* image = m_doc->PageImage();
    ASSERT_TRUE(image && image->IsLoaded());
    ASSERT_EQ(image->Zoom(), 100);
    auto* stroke = new CStroke(PenAt(res::kIdPenRedThin - res::kIdPenFirst));
    for (int x = 20; x <= 280; x += 10) stroke->AddPoint({x, 100});
    stroke->Finish();
    image->AddShape(stroke);
  }

  void SetUp() override {}  // each case starts the application with its own machine

  void TearDown() override {
    if (m_frame) m_frame->Destroy();
    guitest::Pump(0);
    GuiTest::TearDown();
  }

  bool Enabled(int id) {
    wxUpdateUIEvent update(id);
    update.SetEventObject(m_frame);
    m_frame->ProcessWindowEvent(update);
    return update.GetSetEnabled() && update.GetEnabled();
  }

  void ShowTab(int tab) {
    ASSERT_TRUE(m_tabs->IsAvailable(tab)) << tab;
    m_tabs->SelectTab(tab);
    const int menu = tab == 2 ? 136 : tab == 3 ? 138 : 128;
    ASSERT_TRUE(guitest::WaitFor([&] { return m_frame->CurrentMenuId() == menu; })) << tab;
  }

  // Sends the export from the menu, as a click does, and lets the posted print run.
  void ExportFromMenu(MessageRecorder& messages, std::size_t expectMessages) {
    m_frame->ProcessCommand(res::kIdExportPdf);
    ASSERT_TRUE(guitest::WaitFor([&] { return messages.shown.size() >= expectMessages; }));
  }

  CMainFrame* m_frame = nullptr;
  CClipwrenDoc* m_doc = nullptr;
  CSBTabCtrl* m_tabs = nullptr;
  fs::path m_ini;
};

TEST_F(PdfExportTest, PrinterNamedInAnotherLetterCaseDoesNotCount) {
  // The machine's keys ignore case, so one spelling at a time can be listed.
  StartWithPrinters({"zarbo pdf printer"});
  if (IsSkipped()) return;
  // The printer chosen for ordinary printing before the export.
  printing::PrinterData().SetPrinterName("Office");
  wxGetApp().PrintSetup().deviceName = "Office";
  MessageRecorder messages;
  // The message as the user sees it: shown, photographed, closed with the Enter key.
  messages.letShow = true;
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl or xdotool missing";
  wxTimer closer;
  bool photographed = false;
  closer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (photographed || messages.shown.empty()) return;
    photographed = true;
    const wxImage screen = GrabScreen(m_frame->GetScreenRect());
    EXPECT_TRUE(
        screen.IsOk() &&
        screen.SaveFile(guitest::ScreenshotPath("pdf-export-cannot-save.png"), wxBITMAP_TYPE_PNG));
    guitest::RealInput::Key("Return");
  });
  closer.Start(800);
  ExportFromMenu(messages, 1);
  ASSERT_TRUE(guitest::WaitFor([&] { return photographed; }));
  closer.Stop();
  messages.letShow = false;
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kCannotSave);
  EXPECT_EQ(messages.shown[0].caption, "クリップレン帳");
  EXPECT_EQ(messages.otherDialogs, 0) << "no print dialog instead";

  // The next print is an ordinary one on the earlier printer: the print dialog, no message.
  EXPECT_FALSE(m_doc->IsPdfExportPending());
  EXPECT_EQ(printing::PrinterData().GetPrinterName(), "Office");
  EXPECT_EQ(wxGetApp().PrintSetup().deviceName, "Office");
  m_frame->ProcessCommand(res::kIdFilePrint);
  ASSERT_TRUE(guitest::WaitFor([&] { return messages.otherDialogs > 0; }));
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(PdfExportTest, ListedPrinterThatCannotBeOpenedNeverFallsBack) {
  // Listed at start, but its driver and port are gone: the job must not go anywhere else.
  StartWithPrinters({"Office", "Zarbo PDF Printer"});
  if (IsSkipped()) return;
  MessageRecorder messages;
  ExportFromMenu(messages, 1);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kCannotSave);
  EXPECT_EQ(messages.otherDialogs, 0);
  std::error_code ec;
  EXPECT_TRUE(!fs::exists(platform::print::SpoolFolder(), ec) ||
              fs::is_empty(platform::print::SpoolFolder(), ec))
      << "nothing was spooled";
}

TEST_F(PdfExportTest, ExportOnlyOnPictureTabsWithAPicture) {
  fs::create_directories(Home() / "記事" / "Images");
  CxImage picture;
  ASSERT_TRUE(picture.Create(40, 30, 24, CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(picture.Save((Home() / "記事" / "Images" / "a.jpg").string(), CXIMAGE_FORMAT_JPG));
  StartWithPrinters({});
  if (IsSkipped()) return;
  EXPECT_TRUE(Enabled(res::kIdExportPdf));
  EXPECT_TRUE(Enabled(res::kIdPdfSettings));
  ShowTab(2);
  EXPECT_FALSE(Enabled(res::kIdExportPdf)) << "text tab";
  EXPECT_TRUE(Enabled(res::kIdPdfSettings));
  ShowTab(3);
  EXPECT_FALSE(Enabled(res::kIdExportPdf)) << "pictures tab";
  ShowTab(0);
  EXPECT_TRUE(Enabled(res::kIdExportPdf));
}

TEST_F(PdfExportTest, PreferencesStartThePrinterUserInterfaceOrSayItIsMissing) {
  StartWithPrinters({"Zarbo PDF Printer"});
  if (IsSkipped()) return;
  {
    MessageRecorder messages;
    m_frame->ProcessCommand(res::kIdPdfSettings);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "ZarboPDFの印刷設定を表示することができません。");
    EXPECT_TRUE(messages.shown[0].style & wxICON_ERROR);
  }
  // A stand-in that writes down the arguments it was started with.
  const fs::path system = platform::print::SystemFolder();
  fs::create_directories(system);
  const fs::path out = fs::path(std::getenv("HOME")) / "rundll32-args.txt";
  testsupport::WriteFile(system / "rundll32.exe",
                         "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out.string() +
                             ".part'\n"
                             "mv '" +
                             out.string() + ".part' '" + out.string() + "'\n");
  fs::permissions(system / "rundll32.exe", fs::perms::owner_all);
  MessageRecorder messages;
  m_frame->ProcessCommand(res::kIdPdfSettings);
  ASSERT_TRUE(guitest::WaitFor([&] { return fs::exists(out); }));
  EXPECT_EQ(testsupport::ReadFile(out), "printui.dll,PrintUIEntry\n/e\n/n\nZarbo PDF Printer\n");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PdfExportTest, PreferencesOfTheInstalledPrinterOpen) {
  InstallPdfPrinter();
  StartApp({"Zarbo PDF Printer"});
  if (IsSkipped()) return;
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl or xdotool missing";
  MessageRecorder messages;
  m_frame->ProcessCommand(res::kIdPdfSettings);
  const std::string title = "Zarbo PDF Printer 印刷設定";
  ASSERT_TRUE(input.Activate(title, 20000));
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_TRUE(guitest::RealInput::Key("Escape"));
  EXPECT_TRUE(guitest::WaitFor([&] { return guitest::RealInput::FindWindowByTitle(title) == 0; }));
}

TEST_F(PdfExportTest, PdfHasTheOrientationOfThePrintSettings) {
  InstallPdfPrinter();
  const fs::path stub = testsupport::SandboxRoot() / "stub-relay";
  testsupport::WriteFile(stub, kStubRelay);
  fs::permissions(stub, fs::perms::owner_all);
  setenv("CLIPWREN_PDFRELAY", stub.c_str(), 1);
  StartApp({"Zarbo PDF Printer"});
  if (IsSkipped()) return;
  // The printer's own preference is portrait; the scrap's print settings decide.
  for (int orientation : {print::kLandscape, print::kPortrait}) {
    const fs::path pdf =
        testsupport::SandboxRoot() / ("out-" + std::to_string(orientation) + ".pdf");
    setenv("STUB_TARGET", pdf.c_str(), 1);
    m_doc->PrintSettings().orientation = orientation;
    MessageRecorder messages;
    m_frame->ProcessCommand(res::kIdExportPdf);
    ASSERT_TRUE(
        guitest::WaitFor([&] { return fs::exists(pdf) || !messages.shown.empty(); }, 30000));
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text;
    const std::string info = RunCommand("pdfinfo '" + pdf.string() + "'");
    EXPECT_EQ(InfoField(info, "Pages"), "1");
    const auto [w, h] = PageSize(info);
    if (orientation == print::kLandscape)
      EXPECT_GT(w, h) << info;
    else
      EXPECT_LT(w, h) << info;
  }
}

// The whole road on the display: the printer installed with prninst, a scrap with a mark,
// the export from the menu, PDFRelay's dialog answered with typed keys, and the PDF looked at.
TEST_F(PdfExportTest, EndToEndThroughPdfRelay) {
  InstallPdfPrinter();
  setenv("CLIPWREN_PDFRELAY", CLIPWREN_PDFRELAY, 1);
  // The dialog opens nothing afterwards; the check box's state is remembered per user.
  ASSERT_TRUE(platform::profile::WriteString(m_ini, platform::print::CurrentUserName(),
                                             "OpenAfterSave", "0"));
  StartApp({"Zarbo PDF Printer"});
  if (IsSkipped()) return;
  guitest::RealInput input;
  if (!input.Start()) GTEST_SKIP() << "wmctrl or xdotool missing";
  DrawMark();
  m_doc->PrintSettings().orientation = print::kLandscape;
  m_doc->PrintSettings().scalingMode = print::kPageCount;
  m_doc->PrintSettings().pageCount = 3;

  MessageRecorder messages;
  m_frame->ProcessCommand(res::kIdExportPdf);
  // The main window stays responsive while the relay's dialog is up.
  ASSERT_TRUE(input.Activate("名前を付けてPDFファイルに保存", 30000));
  EXPECT_TRUE(m_frame->IsShown());
  guitest::Pump(300);
  const fs::path pdf = testsupport::SandboxRoot() / "exported" / "scrap.pdf";
  fs::create_directories(pdf.parent_path());
  ASSERT_TRUE(guitest::RealInput::Key("ctrl+a"));
  ASSERT_EQ(std::system(("xdotool type --delay 15 '" + pdf.string() + "'").c_str()), 0);
  ASSERT_TRUE(guitest::RealInput::Key("Return"));
  ASSERT_TRUE(guitest::WaitFor([&] { return fs::exists(pdf); }, 30000));
  EXPECT_TRUE(messages.shown.empty());

  const std::string info = RunCommand("pdfinfo '" + pdf.string() + "'");
  EXPECT_EQ(InfoField(info, "Pages"), "3") << "the page count of the print settings";
  const auto [w, h] = PageSize(info);
  EXPECT_GT(w, h) << "landscape, as the print settings say: " << info;

  // The red mark is on one of the pages: count clearly red pixels of a 50 dpi rendering.
  const fs::path png = testsupport::SandboxRoot() / "exported" / "page";
  RunCommand("pdftoppm -png -r 50 '" + pdf.string() + "' '" + png.string() + "'");
  int red = 0, pages = 0;
  for (const auto& entry : fs::directory_iterator(png.parent_path())) {
    if (entry.path().extension() != ".png") continue;
    ++pages;
    wxImage page;
    ASSERT_TRUE(page.LoadFile(entry.path().string(), wxBITMAP_TYPE_PNG));
    const int before = red;
    for (int y = 0; y < page.GetHeight(); ++y)
      for (int x = 0; x < page.GetWidth(); ++x)
        if (page.GetRed(x, y) > 180 && page.GetGreen(x, y) < 90 && page.GetBlue(x, y) < 90) ++red;
    if (red > before) page.SaveFile(guitest::ScreenshotPath("pdf-export-marked-page.png"));
  }
  EXPECT_EQ(pages, 3);
  EXPECT_GT(red, 20) << "the pen mark is printed";
}

}  // namespace
