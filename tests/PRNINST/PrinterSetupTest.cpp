#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "PRNINST/PRNINST.h"
#include "PRNINST/PrinterSetup.h"
#include "platform/PrintAdmin.h"
#include "platform/PrintSystemInternal.h"
#include "platform/Registry.h"
#include "tests/support/PrintMachine.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
namespace print = platform::print;
using testsupport::MakeInstallerFolder;

// The library as the installer uses it: loaded by file name, exports found by name.
struct Library {
  Library() {
    handle = dlopen((testsupport::SetupToolsDir() / "libPRNINST.so").c_str(), RTLD_NOW);
    if (!handle) return;
    install = reinterpret_cast<InstallDriversFn>(dlsym(handle, "InstallDrivers"));
    uninstall = reinterpret_cast<UnInstallDriversFn>(dlsym(handle, "UnInstallDrivers"));
    exists = reinterpret_cast<IsExistPrinterFn>(dlsym(handle, "IsExistPrinter"));
    restart = reinterpret_cast<RestartSpoolerFn>(dlsym(handle, "RestartSpooler"));
    manual = reinterpret_cast<ManualUninstallFn>(dlsym(handle, "ManualUninstall"));
    wow64 = reinterpret_cast<IsWow64Fn>(dlsym(handle, "IsWow64"));
    target = reinterpret_cast<GetTargetPathFromCmdLineFn>(dlsym(handle, "GetTargetPathFromCmdLine"));
  }
  void* handle = nullptr;
  InstallDriversFn install = nullptr;
  UnInstallDriversFn uninstall = nullptr;
  IsExistPrinterFn exists = nullptr;
  RestartSpoolerFn restart = nullptr;
  ManualUninstallFn manual = nullptr;
  IsWow64Fn wow64 = nullptr;
  GetTargetPathFromCmdLineFn target = nullptr;
};

Library& Lib() {
  static Library lib;
  return lib;
}

uint32_t Install(const fs::path& folder) { return Lib().install(folder.c_str()); }
uint32_t Uninstall(const fs::path& folder) { return Lib().uninstall(folder.c_str()); }

constexpr uint32_t Code(uint32_t step, uint32_t error) { return (error << 16) | step; }

fs::path DriverFolder() { return *print::DriverFolderOf(print::kEnvX64); }

std::string RunTool(const std::string& args);

class PrinterSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Lib().handle, nullptr) << dlerror();
    testsupport::ResetMachine();
  }
  platform::Registry machine{platform::Hive::LocalMachine};
};

TEST_F(PrinterSetupTest, ExportsAllSevenNamesWithCLinkage) {
  const auto& lib = Lib();
  EXPECT_TRUE(lib.install && lib.uninstall && lib.exists && lib.restart && lib.manual &&
              lib.wow64 && lib.target);
  EXPECT_EQ(lib.wow64(), 0);  // a 64-bit program on a 64-bit machine
}

TEST_F(PrinterSetupTest, InstallMovesTheFilesRegistersEverythingAndSharesTheIni) {
  const fs::path folder = MakeInstallerFolder("a");
  ASSERT_EQ(Install(folder), 0u);
  EXPECT_EQ(Lib().exists(), 1);

  for (const char* f : {"ZarboPDF.dll", "ZarboPDFUI.dll", "ZarboPDFMon.dll", "ZarboPDFMonUI.dll"}) {
    EXPECT_FALSE(fs::exists(folder / f)) << f << " stayed in the installer's folder";
  }
  // A 64-bit machine keeps monitors in the Windows folder; the spooler keeps its own
  // driver copies and the driver folder itself is left clean.
  EXPECT_TRUE(fs::exists(print::WindowsFolder() / "ZarboPDFMon.dll"));
  EXPECT_TRUE(fs::exists(print::WindowsFolder() / "ZarboPDFMonUI.dll"));
  EXPECT_TRUE(fs::exists(DriverFolder() / "3" / "ZarboPDF.dll"));
  EXPECT_TRUE(fs::exists(DriverFolder() / "3" / "ZarboPDFUI.dll"));
  EXPECT_FALSE(fs::exists(DriverFolder() / "ZarboPDF.dll"));
  EXPECT_FALSE(fs::exists(DriverFolder() / "ZarboPDFUI.dll"));

  const std::string printerKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Zarbo PDF Printer";
  EXPECT_EQ(machine.GetString(printerKey, "Port"), "ZarboPDF:");
  EXPECT_EQ(machine.GetString(printerKey, "Printer Driver"), "Zarbo PDF Printer Driver");
  EXPECT_EQ(machine.GetString(printerKey, "Print Processor"), "winprint");
  EXPECT_EQ(machine.GetString(printerKey, "Datatype"), "RAW");
  const std::string driverKey =
      "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\"
      "Zarbo PDF Printer Driver";
  EXPECT_EQ(machine.GetString(driverKey, "Driver"), "ZarboPDF.dll");
  EXPECT_EQ(machine.GetString(driverKey, "Data File"), "ZarboPDF.dll");
  EXPECT_EQ(machine.GetString(driverKey, "Configuration File"), "ZarboPDFUI.dll");
  EXPECT_EQ(machine.GetString("SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Zarbo PDF Port Monitor",
                              "Driver"),
            "ZarboPDFMon.dll");
  platform::Registry user(platform::Hive::CurrentUser);
  EXPECT_EQ(user.GetString(print::kUserDevicesKey, "Zarbo PDF Printer"), "winspool,ZarboPDF:");

  struct stat st {};
  ASSERT_EQ(stat((folder / "ZarboPDF.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666u);
}

TEST_F(PrinterSetupTest, SharedIniIsWritableByEveryoneDespiteTheFoldersDefaultAccessList) {
  const fs::path folder = MakeInstallerFolder("acl");
  // A default list that would hand new files a named user and a read-only mask.
  struct Entry {
    std::uint16_t tag, perm;
    std::uint32_t id;
  };
  struct {
    std::uint32_t version = 2;
    Entry e[5] = {{0x01, 7, ~0u}, {0x02, 4, 4242}, {0x04, 5, ~0u}, {0x10, 5, ~0u}, {0x20, 5, ~0u}};
  } defaults;
  if (setxattr(folder.c_str(), "system.posix_acl_default", &defaults, sizeof defaults, 0) != 0) {
    GTEST_SKIP() << "the file system keeps no access lists";
  }
  ASSERT_EQ(Install(folder), 0u);
  struct stat st {};
  ASSERT_EQ(stat((folder / "ZarboPDF.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666u);
  // The file's own list is the plain one the mode shows: no named user, no mask left.
  char buffer[256];
  const ssize_t n = getxattr((folder / "ZarboPDF.ini").c_str(), "system.posix_acl_access", buffer,
                             sizeof buffer);
  EXPECT_TRUE(n < 0 || n == static_cast<ssize_t>(4 + 3 * sizeof(Entry))) << n;
}

TEST_F(PrinterSetupTest, InstallOverAnExistingPrinterReplacesIt) {
  ASSERT_EQ(Install(MakeInstallerFolder("first")), 0u);
  const fs::path second = MakeInstallerFolder("second");
  EXPECT_EQ(Install(second), 0u);
  EXPECT_EQ(Lib().exists(), 1);
  EXPECT_TRUE(fs::exists(second / "ZarboPDF.ini"));
  EXPECT_EQ(machine.SubKeys(print::kPrintersKey), std::vector<std::string>{"Zarbo PDF Printer"});
}

TEST_F(PrinterSetupTest, InstallFinishesWhenTheOldPrinterCannotBeRemoved) {
  ASSERT_EQ(Install(MakeInstallerFolder("first")), 0u);
  // A job number past the ones uninstall cancels keeps the printer from being deleted.
  print::detail::JobRecord job;
  job.id = 5000;
  job.printer = "Zarbo PDF Printer";
  job.port = "ZarboPDF:";
  ASSERT_TRUE(print::detail::WriteJobRecord(job));

  const fs::path second = MakeInstallerFolder("second");
  EXPECT_EQ(Install(second), 0u);  // step 9 meets 1802 and goes on
  EXPECT_TRUE(fs::exists(second / "ZarboPDF.ini"));
  EXPECT_FALSE(fs::exists(DriverFolder() / "ZarboPDF.dll"));
}

TEST_F(PrinterSetupTest, UninstallBitsWhenTheOldPrinterCannotBeRemoved) {
  const fs::path folder = MakeInstallerFolder("a");
  ASSERT_EQ(Install(folder), 0u);
  print::detail::JobRecord job;
  job.id = 7000;
  job.printer = "Zarbo PDF Printer";
  ASSERT_TRUE(print::detail::WriteJobRecord(job));
  // Printer kept (3009), so its driver (3001), port (170) and monitor (3008) stay in use.
  EXPECT_EQ(Uninstall(folder), 1u | 4u | 8u | 16u | ((3009u | 3001u | 170u | 3008u) << 16));
  EXPECT_EQ(Lib().exists(), 1);
  EXPECT_FALSE(fs::exists(folder / "ZarboPDF.ini"));
}

TEST_F(PrinterSetupTest, UninstallWithNothingInstalledGivesZero) {
  EXPECT_EQ(Uninstall(MakeInstallerFolder("empty")), 0u);
}

TEST_F(PrinterSetupTest, UninstallRemovesEveryPart) {
  const fs::path folder = MakeInstallerFolder("a");
  ASSERT_EQ(Install(folder), 0u);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Uninstall(folder), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(Lib().exists(), 0);
  EXPECT_FALSE(fs::exists(folder / "ZarboPDF.ini"));
  EXPECT_FALSE(fs::exists(print::WindowsFolder() / "ZarboPDFMon.dll"));
  EXPECT_FALSE(fs::exists(DriverFolder() / "3" / "ZarboPDF.dll"));
  EXPECT_TRUE(machine.SubKeys(print::kPrintersKey).empty());
  EXPECT_TRUE(machine.SubKeys(print::kMonitorsKey).empty());
  platform::Registry user(platform::Hive::CurrentUser);
  EXPECT_FALSE(user.GetString(print::kUserDevicesKey, "Zarbo PDF Printer"));
}

TEST_F(PrinterSetupTest, ResultCodesWithTheSpoolerStopped) {
  const fs::path folder = MakeInstallerFolder("a");
  testsupport::StopSpoolerNow();
  // Every spooler call answers 1722: uninstall sets bits 2, 4, 8 and 16 with it, install
  // gets as far as the driver folder (the monitor files are already moved).
  EXPECT_EQ(Uninstall(folder), 2u | 4u | 8u | 16u | (1722u << 16));
  EXPECT_EQ(Install(folder), Code(0x200, 1722));
  EXPECT_EQ(Install(folder) & 0xFFFF, 0x100u);  // the monitor files are gone from the folder
  EXPECT_EQ(Lib().exists(), 0);
}

TEST_F(PrinterSetupTest, ResultCodesOfMissingFoldersAndFiles) {
  {
    const fs::path folder = MakeInstallerFolder("no-driver-folder");
    fs::remove_all(DriverFolder());
    EXPECT_EQ(Install(folder), Code(0x200, 3));
    EXPECT_TRUE(fs::exists(print::WindowsFolder() / "ZarboPDFMon.dll"));  // steps done stay done
  }
  testsupport::ResetMachine();
  {
    const fs::path folder = MakeInstallerFolder("no-windows-folder");
    fs::remove_all(print::WindowsFolder());
    EXPECT_EQ(Install(folder), Code(0x100, 3));
    EXPECT_TRUE(fs::exists(folder / "ZarboPDFMon.dll"));
  }
  testsupport::ResetMachine();
  {
    // A component missing from the folder: its move fails and the step reports it.
    const fs::path folder = MakeInstallerFolder("no-ui");
    fs::remove(folder / "ZarboPDFUI.dll");
    EXPECT_EQ(Install(folder), Code(0x200, 2));
    EXPECT_TRUE(fs::exists(DriverFolder() / "ZarboPDF.dll"));
  }
}

TEST_F(PrinterSetupTest, ResultCodesOfComponentsTheSpoolerRefuses) {
  {
    const fs::path folder = MakeInstallerFolder("bad-monitor");
    testsupport::WriteFile(folder / "ZarboPDFMon.dll", "not a shared object");
    EXPECT_EQ(Install(folder), Code(0x400, 126));
  }
  testsupport::ResetMachine();
  {
    const fs::path folder = MakeInstallerFolder("bad-driver");
    testsupport::WriteFile(folder / "ZarboPDF.dll", "not a shared object");
    EXPECT_EQ(Install(folder), Code(0x1000, 126));
    EXPECT_TRUE(fs::exists(folder / "ZarboPDF.ini") == false);
  }
  testsupport::ResetMachine();
  {
    // Another monitor already owns the port name.
    ASSERT_TRUE(machine.SetString(std::string(print::kMonitorsKey) + "\\Other Monitor", "Driver",
                                  "Other.dll"));
    ASSERT_TRUE(machine.CreateKey(std::string(print::kMonitorsKey) + "\\Other Monitor\\Ports\\ZarboPDF:"));
    EXPECT_EQ(Install(MakeInstallerFolder("port-taken")), Code(0x800, 183));
  }
  testsupport::ResetMachine();
  {
    // A monitor that makes another port: the printer's port "ZarboPDF:" is unknown (1796).
    const fs::path folder = MakeInstallerFolder("other-port");
    fs::copy_file(CLIPWREN_TEST_OTHER_MONITOR, folder / "ZarboPDFMon.dll",
                  fs::copy_options::overwrite_existing);
    // Run by the installer tool: this process already holds the real monitor under that path.
    EXPECT_EQ(RunTool("install '" + folder.string() + "'"), "0x07042000\n");
    EXPECT_EQ(Code(0x2000, 1796), 0x07042000u);
    EXPECT_EQ(Lib().exists(), 0);
  }
}

TEST_F(PrinterSetupTest, LeftOverIniThatCannotBeDeletedGives0x4000) {
  const fs::path folder = MakeInstallerFolder("a");
  // A folder of that name cannot be removed as a file, nor created over.
  testsupport::WriteFile(folder / "ZarboPDF.ini" / "keep", "x");
  EXPECT_EQ(Install(folder), 0x4000u);
  EXPECT_EQ(Lib().exists(), 1);  // the steps before it stay done
}

TEST_F(PrinterSetupTest, RestartSpoolerWaitsForTheServiceAndPauses) {
  long error = 0;
  const auto start = std::chrono::steady_clock::now();
  Lib().restart();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(750));
  EXPECT_EQ(print::QueryServiceStatus("Spooler", error)->state, print::kServiceRunning);

  // A stopped spooler is started.
  testsupport::StopSpoolerNow();
  Lib().restart();
  EXPECT_TRUE(print::SpoolerRunning());
}

TEST_F(PrinterSetupTest, StopWaitsUntilStoppedAndStartUntilRunning) {
  EXPECT_TRUE(prninst::StopSpooler());
  long error = 0;
  EXPECT_EQ(print::QueryServiceStatus("Spooler", error)->state, print::kServiceStopped);
  EXPECT_TRUE(prninst::StartSpooler());
  EXPECT_EQ(print::QueryServiceStatus("Spooler", error)->state, print::kServiceRunning);
}

TEST_F(PrinterSetupTest, ManualUninstallClearsTheRegistryAndLeavesTheSpoolerRunning) {
  ASSERT_EQ(Install(MakeInstallerFolder("a")), 0u);
  ASSERT_TRUE(machine.CreateKey("SYSTEM\\ControlSet001\\Control\\Print\\Printers\\Zarbo PDF Printer"));
  ASSERT_TRUE(machine.CreateKey(std::string(print::kMonitorsKey) + "\\Zarbo PDF Port"));
  platform::Registry user(platform::Hive::CurrentUser);
  ASSERT_TRUE(user.SetString("Printers\\Settings", "Zarbo PDF Printer", "x"));
  ASSERT_TRUE(machine.SetString(std::string(print::kPrintersKey) + "\\Other", "Name", "Other"));

  EXPECT_EQ(Lib().manual(), 1);
  EXPECT_EQ(Lib().exists(), 0);
  EXPECT_FALSE(machine.KeyExists("SYSTEM\\ControlSet001\\Control\\Print\\Printers\\Zarbo PDF Printer"));
  EXPECT_FALSE(machine.KeyExists(
      "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\"
      "Zarbo PDF Printer Driver"));
  EXPECT_FALSE(machine.KeyExists(std::string(print::kMonitorsKey) + "\\Zarbo PDF Port Monitor"));
  EXPECT_FALSE(machine.KeyExists(std::string(print::kMonitorsKey) + "\\Zarbo PDF Port"));
  EXPECT_TRUE(machine.KeyExists(std::string(print::kPrintersKey) + "\\Other"));
  EXPECT_FALSE(user.GetString("Printers\\Settings", "Zarbo PDF Printer"));
  EXPECT_FALSE(user.GetString(print::kUserDevicesKey, "Zarbo PDF Printer"));
  EXPECT_FALSE(user.GetString(print::kUserPrinterPortsKey, "Zarbo PDF Printer"));
  EXPECT_TRUE(print::SpoolerRunning());
}

TEST(TargetPathTest, TextAfterTheMarkerAndItsSpaces) {
  EXPECT_EQ(prninst::TargetPathFrom("setup.exe -s    /opt/Zarbo PDF"), "/opt/Zarbo PDF");
  EXPECT_EQ(prninst::TargetPathFrom("setup.exe -s /a -s /b"), "/a -s /b");  // first marker
  EXPECT_EQ(prninst::TargetPathFrom("setup.exe -s"), std::nullopt);
  EXPECT_EQ(prninst::TargetPathFrom("setup.exe -s    "), std::nullopt);
  EXPECT_EQ(prninst::TargetPathFrom("setup.exe /s x"), std::nullopt);
  EXPECT_EQ(prninst::TargetPathFrom(""), std::nullopt);
}

std::string RunTool(const std::string& args) {
  const std::string command = (testsupport::SetupToolsDir() / "prninst").string() + " " + args;
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  std::array<char, 256> buf{};
  while (pipe && fgets(buf.data(), buf.size(), pipe)) out += buf.data();
  if (pipe) pclose(pipe);
  return out;
}

TEST(TargetPathTest, ExportReadsTheProcessCommandLine) {
  EXPECT_EQ(RunTool("target-path -s \"   /opt/target dir\""), "1 /opt/target dir\n");
  EXPECT_EQ(RunTool("target-path -s"), "0\n");
}

}  // namespace
