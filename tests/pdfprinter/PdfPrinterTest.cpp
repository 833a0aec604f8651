#include <cairo.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "PRNINST/PrinterSetup.h"
#include "pdfprinter/RelayProtocol.h"
#include "platform/PrintAdmin.h"
#include "platform/PrintComponents.h"
#include "platform/PrintSpooler.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "tests/support/PrintMachine.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
namespace print = platform::print;
using testsupport::ReadFile;
using testsupport::WriteFile;

// Stands in for PDFRelay: records its command line, then answers through the INI the way
// the relay does (per-job keys, the request key last) or not at all.
constexpr const char* kStubRelay = R"(#!/bin/bash
printf '%s' "$1" > "$STUB_LOG"
rest="${1#/? }"
IFS=$'\n' read -r -d '' sect job ini name <<< "$rest"
header=""
grep -qxF "[$sect]" "$ini" || header="[$sect]"
case "$STUB_MODE" in
  save)
    { [ -n "$header" ] && echo "$header"
      echo "${job}_PathName=$STUB_TARGET"; echo "${job}_Preview=0"; echo "${job}_Canceled=0"
    } >> "$ini"
    sleep "${STUB_DELAY:-0}"
    echo "${job}_RequestWritePrivateProfile=1" >> "$ini" ;;
  cancel)
    { [ -n "$header" ] && echo "$header"
      echo "${job}_Canceled=1"; echo "${job}_RequestWritePrivateProfile=1"; } >> "$ini" ;;
  die) exit 3 ;;
esac
)";

std::string RunCommand(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  std::array<char, 4096> buf{};
  std::size_t n = 0;
  while (pipe && (n = fread(buf.data(), 1, buf.size(), pipe)) > 0) out.append(buf.data(), n);
  if (pipe) pclose(pipe);
  return out;
}

// A binary PPM as pdftoppm writes it: "P6\n<w> <h>\n255\n" and RGB bytes.
struct Ppm {
  int w = 0, h = 0;
  std::string rgb;
  std::array<int, 3> At(int x, int y) const {
    const std::size_t at = static_cast<std::size_t>((y * w + x) * 3);
    return {static_cast<unsigned char>(rgb[at]), static_cast<unsigned char>(rgb[at + 1]),
            static_cast<unsigned char>(rgb[at + 2])};
  }
};

Ppm ParsePpm(const std::string& bytes) {
  Ppm p;
  int maxval = 0, used = 0;
  if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &p.w, &p.h, &maxval, &used) != 3) return {};
  p.rgb = bytes.substr(static_cast<std::size_t>(used) + 1);
  if (p.rgb.size() != static_cast<std::size_t>(p.w * p.h * 3)) return {};
  return p;
}

// A field of pdfinfo's report, blanks around it removed.
std::string InfoField(const std::string& info, const std::string& name) {
  const auto at = info.find(name + ":");
  if (at == std::string::npos) return {};
  const auto start = info.find_first_not_of(' ', at + name.size() + 1);
  return info.substr(start, info.find('\n', start) - start);
}

bool WaitForFile(const fs::path& p, int ms) {
  for (int i = 0; i < ms / 20; ++i) {
    if (fs::exists(p)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return fs::exists(p);
}

bool SpoolEmpty() {
  for (const auto& e : fs::directory_iterator(print::SpoolFolder())) {
    const auto ext = e.path().extension();
    if (ext == ".SPL" || ext == ".SHD") return false;
  }
  return true;
}

bool WaitForEmptySpool(int ms) {
  for (int i = 0; i < ms / 20 && !SpoolEmpty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return SpoolEmpty();
}

class PdfPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::ResetMachine();
    installer = testsupport::MakeInstallerFolder("pdf");
    ASSERT_EQ(prninst::Install(installer.string()), 0u);
    ini = installer / "ZarboPDF.ini";
    platform::Registry machine(platform::Hive::LocalMachine);
    ASSERT_TRUE(machine.SetString(std::string(print::kMonitorsKey) + "\\Zarbo PDF Port Monitor",
                                  "IniFile", ini.string()));
    stub = testsupport::SandboxRoot() / "stub-relay";
    WriteFile(stub, kStubRelay);
    fs::permissions(stub, fs::perms::owner_all);
    out = testsupport::SandboxRoot() / "out";
    fs::create_directories(out);
    setenv("CLIPWREN_PDFRELAY", stub.c_str(), 1);
    setenv("STUB_LOG", (out / "relay-args").c_str(), 1);
    setenv("STUB_TARGET", (out / "saved.pdf").c_str(), 1);
    setenv("STUB_MODE", "save", 1);
    setenv("STUB_DELAY", "0", 1);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(out, ec);
  }

  std::unique_ptr<print::Printer> Open() {
    long error = 0;
    auto printer = print::Printer::Open("Zarbo PDF Printer", print::Access::Use, error);
    EXPECT_TRUE(printer) << error;
    return printer;
  }

  // The monitor component as the job process runs it, called directly.
  long RunMonitor(std::uint32_t jobId, const std::string& title, const fs::path& spool) {
    void* lib = dlopen((print::WindowsFolder() / "ZarboPDFMon.dll").c_str(), RTLD_NOW | RTLD_NODELETE);
    EXPECT_TRUE(lib) << dlerror();
    const auto fn = reinterpret_cast<ZpMonitorPrintJobFn>(dlsym(lib, ZP_MONITOR_PRINT_JOB));
    const std::string spoolText = spool.string();
    const std::string user = print::CurrentUserName();
    ZpJobInfo job{jobId, "Zarbo PDF Printer", "ZarboPDF:", title.c_str(), spoolText.c_str(),
                  user.c_str(), ""};
    const long rc = fn(&job);
    dlclose(lib);
    return rc;
  }

  fs::path installer, ini, stub, out;
};

TEST_F(PdfPrinterTest, DriverReportsTheSheetForOrientationAndPaper) {
  auto printer = Open();
  ASSERT_TRUE(printer);
  const auto a4 = printer->Geometry({print::kPortrait, print::kPaperA4});
  ASSERT_TRUE(a4);
  EXPECT_EQ(a4->dpiX, 300);
  EXPECT_EQ(a4->paperWidth, 2480);
  EXPECT_EQ(a4->paperHeight, 3508);
  EXPECT_EQ(a4->printableWidth, 2480);
  const auto landscape = printer->Geometry({print::kLandscape, print::kPaperA4});
  ASSERT_TRUE(landscape);
  EXPECT_EQ(landscape->paperWidth, 3508);
  EXPECT_EQ(landscape->paperHeight, 2480);
  EXPECT_DOUBLE_EQ(landscape->paperWidthMm, 297.0);
  const auto letter = printer->Geometry({print::kPortrait, print::kPaperLetter});
  ASSERT_TRUE(letter);
  EXPECT_EQ(letter->paperWidth, 2550);
  EXPECT_FALSE(printer->Geometry({print::kPortrait, 999}));
  EXPECT_FALSE(printer->Geometry({0, print::kPaperA4}));
}

TEST_F(PdfPrinterTest, SettingsAreStoredWithThePrinter) {
  auto printer = Open();
  ASSERT_TRUE(printer);
  EXPECT_EQ(printer->Settings().orientation, print::kPortrait);
  EXPECT_EQ(printer->Settings().paperSize, print::kPaperA4);
  long error = 0;
  ASSERT_TRUE(printer->SetSettings({print::kLandscape, print::kPaperA3}, error));
  auto again = Open();
  EXPECT_EQ(again->Settings().orientation, print::kLandscape);
  EXPECT_EQ(again->Settings().paperSize, print::kPaperA3);
  EXPECT_FALSE(again->SetSettings({print::kPortrait, 4242}, error));
  EXPECT_EQ(error, print::kErrorInvalidParameter);
  EXPECT_EQ(Open()->Settings().paperSize, print::kPaperA3);
}

TEST_F(PdfPrinterTest, OpenNeedsTheExactNameAndWorkingComponents) {
  long error = 0;
  EXPECT_FALSE(print::Printer::Open("zarbo pdf printer", print::Access::Use, error));
  EXPECT_EQ(error, print::kErrorInvalidPrinterName);

  const fs::path driver = *print::DriverFolderOf(print::kEnvX64) / "3" / "ZarboPDF.dll";
  fs::rename(driver, driver.string() + ".away");
  EXPECT_FALSE(print::Printer::Open("Zarbo PDF Printer", print::Access::Use, error));
  EXPECT_EQ(error, print::kErrorModNotFound);
  EXPECT_TRUE(print::Printer::Open("Zarbo PDF Printer", print::Access::Administer, error));
  fs::rename(driver.string() + ".away", driver);

  fs::rename(print::WindowsFolder() / "ZarboPDFMon.dll", out / "mon");
  EXPECT_FALSE(print::Printer::Open("Zarbo PDF Printer", print::Access::Use, error));
  EXPECT_EQ(error, print::kErrorModNotFound);
  fs::rename(out / "mon", print::WindowsFolder() / "ZarboPDFMon.dll");

  platform::Registry machine(platform::Hive::LocalMachine);
  ASSERT_TRUE(machine.SetString(std::string(print::kPrintersKey) + "\\Zarbo PDF Printer", "Port",
                                "LPT9:"));
  EXPECT_FALSE(print::Printer::Open("Zarbo PDF Printer", print::Access::Use, error));
  EXPECT_EQ(error, print::kErrorUnknownPort);
  ASSERT_TRUE(machine.SetString(std::string(print::kPrintersKey) + "\\Zarbo PDF Printer",
                                "Printer Driver", "Gone Driver"));
  EXPECT_FALSE(print::Printer::Open("Zarbo PDF Printer", print::Access::Use, error));
  EXPECT_EQ(error, print::kErrorUnknownPrinterDriver);

  testsupport::StopSpoolerNow();
  EXPECT_FALSE(print::Printer::Open("Zarbo PDF Printer", print::Access::Administer, error));
  EXPECT_EQ(error, print::kErrorRpcServerUnavailable);
}

TEST_F(PdfPrinterTest, SpoolerCallsAreRefusedWhileStopped) {
  auto printer = Open();
  ASSERT_TRUE(printer);
  long error = 0;
  auto started = print::PrintJob::StartDoc(*printer, "t", printer->Settings(), error);
  ASSERT_TRUE(started && started->StartPage() && started->EndPage());
  testsupport::StopSpoolerNow();
  EXPECT_FALSE(started->EndDoc(error));
  EXPECT_EQ(error, print::kErrorRpcServerUnavailable);
  EXPECT_TRUE(SpoolEmpty());
  EXPECT_FALSE(print::PrintJob::StartDoc(*printer, "t", printer->Settings(), error));
  EXPECT_EQ(error, print::kErrorRpcServerUnavailable);
  error = 0;
  EXPECT_FALSE(print::AddMonitor("M", print::kEnvX64, "ZarboPDFMon.dll", error));
  EXPECT_EQ(error, print::kErrorRpcServerUnavailable);
  error = 0;
  EXPECT_TRUE(print::EnumPrinters(error).empty());
  EXPECT_EQ(error, print::kErrorRpcServerUnavailable);
  EXPECT_FALSE(print::StopService("Spooler", error));
  EXPECT_EQ(error, print::kErrorServiceNotActive);
  ASSERT_TRUE(print::StartService("Spooler", error));
  // Pending: the check point grows with every query until the service runs.
  const auto first = print::QueryServiceStatus("Spooler", error);
  ASSERT_TRUE(first);
  if (first->state == print::kServiceStartPending) {
    EXPECT_GT(first->waitHintMs, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(first->waitHintMs));
    const auto second = print::QueryServiceStatus("Spooler", error);
    EXPECT_TRUE(second->state == print::kServiceRunning || second->checkPoint > first->checkPoint);
  }
  EXPECT_FALSE(print::StartService("Spooler", error) && print::SpoolerRunning());
  EXPECT_FALSE(print::QueryServiceStatus("Fax", error));
  EXPECT_EQ(error, print::kErrorServiceDoesNotExist);
}

TEST_F(PdfPrinterTest, JobBecomesThePdfThePdfRelayNames) {
  auto printer = Open();
  ASSERT_TRUE(printer);
  setenv("STUB_DELAY", "1", 1);
  long error = 0;
  auto job = print::PrintJob::StartDoc(*printer, "Report: 4/2", {print::kLandscape, print::kPaperA4},
                                       error);
  ASSERT_TRUE(job) << error;
  const auto& g = job->Geometry();
  const double colours[2][3] = {{1, 0, 0}, {0, 0, 1}};
  for (const auto& c : colours) {
    cairo_t* cr = job->StartPage();
    ASSERT_TRUE(cr);
    cairo_set_source_rgb(cr, c[0], c[1], c[2]);
    cairo_rectangle(cr, g.paperWidth / 4.0, g.paperHeight / 4.0, g.paperWidth / 2.0,
                    g.paperHeight / 2.0);
    cairo_fill(cr);
    ASSERT_TRUE(job->EndPage());
  }
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(job->EndDoc(error)) << error;
  // The relay takes a second to answer; the printing program does not wait for it.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800));

  const fs::path pdf = out / "saved.pdf";
  ASSERT_TRUE(WaitForFile(pdf, 15000));
  ASSERT_TRUE(WaitForEmptySpool(5000));

  const std::string args = ReadFile(out / "relay-args");
  const std::string expected = "/? " + print::CurrentUserName() + "\nJob" +
                               std::to_string(job->Id()) + "\n" + ini.string() +
                               "\nReport_ 4_2.pdf";
  EXPECT_EQ(args, expected);
  // The answered job's keys are gone from the shared file.
  EXPECT_EQ(platform::profile::GetString(ini, print::CurrentUserName(),
                                         "Job" + std::to_string(job->Id()) + "_PathName", "none"),
            "none");

  const std::string info = RunCommand("pdfinfo '" + pdf.string() + "'");
  EXPECT_EQ(InfoField(info, "Pages"), "2") << info;
  EXPECT_NE(info.find("841.89 x 595.276 pts"), std::string::npos) << info;
  EXPECT_NE(info.find("Report: 4/2"), std::string::npos) << info;
  // Page 2 is blue in the middle and white at the corner.
  const Ppm page = ParsePpm(RunCommand("pdftoppm -f 2 -l 2 -r 10 '" + pdf.string() + "'"));
  ASSERT_GT(page.w, page.h);
  EXPECT_EQ(page.At(page.w / 2, page.h / 2), (std::array<int, 3>{0, 0, 255}));
  EXPECT_EQ(page.At(2, 2), (std::array<int, 3>{255, 255, 255}));
}

// The width and height in a JPEG's frame header.
bool JpegSize(const std::string& jpeg, int& w, int& h) {
  for (std::size_t i = 2; i + 9 < jpeg.size();) {
    if (static_cast<unsigned char>(jpeg[i]) != 0xFF) return false;
    const unsigned char marker = static_cast<unsigned char>(jpeg[i + 1]);
    const std::size_t length = (static_cast<unsigned char>(jpeg[i + 2]) << 8) |
                               static_cast<unsigned char>(jpeg[i + 3]);
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
      h = (static_cast<unsigned char>(jpeg[i + 5]) << 8) | static_cast<unsigned char>(jpeg[i + 6]);
      w = (static_cast<unsigned char>(jpeg[i + 7]) << 8) | static_cast<unsigned char>(jpeg[i + 8]);
      return true;
    }
    i += 2 + length;
  }
  return false;
}

TEST_F(PdfPrinterTest, PicturesWithTheirJpegDataAreEmbeddedAsThatJpeg) {
  const std::string jpeg = ReadFile("../data/image/samples/stripes-colour.jpg");
  int w = 0, h = 0;
  ASSERT_TRUE(JpegSize(jpeg, w, h));
  auto printer = Open();
  ASSERT_TRUE(printer);
  long error = 0;
  auto job = print::PrintJob::StartDoc(*printer, "photo", printer->Settings(), error);
  ASSERT_TRUE(job);
  cairo_t* cr = job->StartPage();
  ASSERT_TRUE(cr);
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  ASSERT_EQ(cairo_surface_set_mime_data(picture, CAIRO_MIME_TYPE_JPEG,
                                        reinterpret_cast<const unsigned char*>(jpeg.data()),
                                        jpeg.size(), nullptr, nullptr),
            CAIRO_STATUS_SUCCESS);
  cairo_set_source_surface(cr, picture, 100, 100);
  cairo_paint(cr);
  ASSERT_TRUE(job->EndPage());
  ASSERT_TRUE(job->EndDoc(error)) << error;
  cairo_surface_destroy(picture);

  const fs::path pdf = out / "saved.pdf";
  ASSERT_TRUE(WaitForFile(pdf, 15000));
  ASSERT_TRUE(WaitForEmptySpool(5000));
  // pdfimages -j writes a DCT-coded picture out as the JPEG it holds.
  RunCommand("pdfimages -j '" + pdf.string() + "' '" + (out / "img").string() + "'");
  EXPECT_EQ(ReadFile(out / "img-000.jpg"), jpeg);
}

TEST_F(PdfPrinterTest, CancelOrASilentRelayDropsTheJob) {
  const fs::path spool = out / "job.spl";
  for (const char* mode : {"cancel", "die"}) {
    WriteFile(spool, "%PDF-1.5 stand-in");
    setenv("STUB_MODE", mode, 1);
    EXPECT_EQ(RunMonitor(41, "t", spool), 0) << mode;
    EXPECT_FALSE(fs::exists(out / "saved.pdf")) << mode;
  }
}

TEST_F(PdfPrinterTest, MonitorWritesTheSpoolBytesUnchanged) {
  const fs::path spool = out / "job.spl";
  const std::string bytes = "%PDF-1.5\n\xff\xd8\xff jpeg data kept as it is\n%%EOF\n";
  WriteFile(spool, bytes);
  // The answer is complete only with its last key: the monitor waits for it.
  setenv("STUB_DELAY", "0.6", 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunMonitor(7, "t", spool), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
  EXPECT_EQ(ReadFile(out / "saved.pdf"), bytes);
}

TEST_F(PdfPrinterTest, EveryJobGetsAKeyWithoutAnAnswer) {
  const std::string section = print::CurrentUserName();
  ASSERT_TRUE(platform::profile::WriteString(ini, section, "Job9_RequestWritePrivateProfile", "1"));
  ASSERT_TRUE(platform::profile::WriteString(ini, section, "Job9_2_RequestWritePrivateProfile", "1"));
  const fs::path spool = out / "job.spl";
  WriteFile(spool, "%PDF");
  EXPECT_EQ(RunMonitor(9, "t", spool), 0);
  const std::string args = ReadFile(out / "relay-args");
  EXPECT_NE(args.find("\nJob9_3\n"), std::string::npos) << args;
  EXPECT_TRUE(fs::exists(out / "saved.pdf"));
}

TEST_F(PdfPrinterTest, MissingRelayDropsTheJobWithAnError) {
  setenv("CLIPWREN_PDFRELAY", (out / "nothing").c_str(), 1);
  setenv("PATH", out.c_str(), 1);
  const fs::path spool = out / "job.spl";
  WriteFile(spool, "%PDF");
  EXPECT_EQ(RunMonitor(3, "t", spool), print::kErrorFileNotFound);
  setenv("PATH", "/usr/local/bin:/usr/bin:/bin", 1);
}

TEST(RelayFieldsTest, ProposedNameAndSection) {
  EXPECT_EQ(pdfprinter::ProposedName("report"), "report.pdf");
  EXPECT_EQ(pdfprinter::ProposedName("a/b\nc"), "a_b c.pdf");
  EXPECT_EQ(pdfprinter::ProposedName("  "), "Document.pdf");
  std::string longTitle;
  for (int i = 0; i < 100; ++i) longTitle += "日";  // 300 bytes
  const std::string name = pdfprinter::ProposedName(longTitle);
  EXPECT_LE(name.size(), 255u);
  EXPECT_EQ(name.size(), 251u + 4u - 2u);  // 83 whole characters, then ".pdf"
  EXPECT_EQ(name.substr(name.size() - 4), ".pdf");
  EXPECT_EQ(pdfprinter::SectionFor(""), "ZarboPDF");
  EXPECT_EQ(pdfprinter::SectionFor("a[b]"), "ab");
  EXPECT_EQ(pdfprinter::SectionFor(std::string(200, 'u')).size(), 103u);
}

}  // namespace
