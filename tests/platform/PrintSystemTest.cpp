#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "PRNINST/PrinterSetup.h"
#include "platform/PrintAdmin.h"
#include "platform/PrintSpooler.h"
#include "platform/PrintSystemInternal.h"
#include "platform/Registry.h"
#include "tests/support/PrintMachine.h"

namespace {

namespace fs = std::filesystem;
namespace print = platform::print;

class PrintSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::ResetMachine();
    ASSERT_EQ(prninst::Install(testsupport::MakeInstallerFolder("ps").string()), 0u);
  }
  print::PrinterInfo Info(const std::string& name) {
    return {name, "ZarboPDF:", "Zarbo PDF Printer Driver", "winprint", "RAW"};
  }
};

TEST_F(PrintSystemTest, AddPrinterChecksEveryNamedPart) {
  long error = 0;
  auto info = Info("zarbo pdf printer");  // printer names ignore letter case on the host
  EXPECT_FALSE(print::AddPrinter(info, error));
  EXPECT_EQ(error, print::kErrorPrinterAlreadyExists);
  info = Info("Second");
  info.driver = "Nobody's Driver";
  EXPECT_FALSE(print::AddPrinter(info, error));
  EXPECT_EQ(error, print::kErrorUnknownPrinterDriver);
  info = Info("Second");
  info.port = "LPT1:";
  EXPECT_FALSE(print::AddPrinter(info, error));
  EXPECT_EQ(error, print::kErrorUnknownPort);
  info = Info("Second");
  info.printProcessor = "other";
  EXPECT_FALSE(print::AddPrinter(info, error));
  EXPECT_EQ(error, print::kErrorUnknownPrintProcessor);
  info = Info("Second");
  info.dataType = "EMF";
  EXPECT_FALSE(print::AddPrinter(info, error));
  EXPECT_EQ(error, print::kErrorInvalidDatatype);
  ASSERT_TRUE(print::AddPrinter(Info("Second"), error));
  EXPECT_EQ(print::EnumPrinters(error), (std::vector<std::string>{"Zarbo PDF Printer", "Second"}));
}

TEST_F(PrintSystemTest, MonitorPortAndDriverErrors) {
  long error = 0;
  EXPECT_FALSE(print::AddMonitor("Zarbo PDF Port Monitor", print::kEnvX64, "ZarboPDFMon.dll", error));
  EXPECT_EQ(error, print::kErrorPrintMonitorAlreadyInstalled);
  EXPECT_FALSE(print::AddMonitor("Other", print::kEnvX64, "Missing.dll", error));
  EXPECT_EQ(error, print::kErrorModNotFound);
  EXPECT_FALSE(print::AddMonitor("Other", "Windows 3.1", "ZarboPDFMon.dll", error));
  EXPECT_EQ(error, print::kErrorInvalidEnvironment);
  EXPECT_FALSE(print::GetPrinterDriverDirectory("Windows 3.1", error));
  EXPECT_EQ(error, print::kErrorInvalidEnvironment);

  // In use while the printer stands.
  EXPECT_FALSE(print::DeleteMonitor("Zarbo PDF Port Monitor", print::kEnvX64, error));
  EXPECT_EQ(error, print::kErrorPrintMonitorInUse);
  EXPECT_FALSE(print::DeletePrinterDriver(print::kEnvX64, "Zarbo PDF Printer Driver", error));
  EXPECT_EQ(error, print::kErrorPrinterDriverInUse);
  EXPECT_FALSE(print::DeletePort(nullptr, "ZarboPDF:", error));
  EXPECT_EQ(error, print::kErrorBusy);

  EXPECT_FALSE(print::DeleteMonitor("Other", print::kEnvX64, error));
  EXPECT_EQ(error, print::kErrorUnknownPrintMonitor);
  EXPECT_FALSE(print::DeletePrinterDriver(print::kEnvX64, "Other", error));
  EXPECT_EQ(error, print::kErrorUnknownPrinterDriver);
  EXPECT_FALSE(print::DeletePort(nullptr, "LPT1:", error));
  EXPECT_EQ(error, print::kErrorInvalidParameter);
  // A port whose monitor file is gone cannot be asked.
  fs::remove(print::WindowsFolder() / "ZarboPDFMon.dll");
  EXPECT_FALSE(print::DeletePort(nullptr, "ZarboPDF:", error));
  EXPECT_EQ(error, print::kErrorNotSupported);
}

TEST_F(PrintSystemTest, JobsGetNewNumbersAndCancelRemovesOnlyTheirOwn) {
  long error = 0;
  auto printer = print::Printer::Open("Zarbo PDF Printer", print::Access::Administer, error);
  ASSERT_TRUE(printer);
  auto first = print::PrintJob::StartDoc(*printer, "a", printer->Settings(), error);
  auto second = print::PrintJob::StartDoc(*printer, "b", printer->Settings(), error);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->Id(), second->Id());
  EXPECT_TRUE(fs::exists(print::detail::JobSpoolFile(first->Id())));
  second->Abort();
  EXPECT_FALSE(fs::exists(print::detail::JobSpoolFile(second->Id())));
  const auto firstId = first->Id();
  first.reset();  // a job dropped unfinished leaves nothing
  EXPECT_FALSE(fs::exists(print::detail::JobSpoolFile(firstId)));

  print::detail::JobRecord other;
  other.id = 12;
  other.printer = "Someone Else";
  ASSERT_TRUE(print::detail::WriteJobRecord(other));
  EXPECT_FALSE(printer->CancelJob(12, error));
  EXPECT_EQ(error, print::kErrorInvalidParameter);
  EXPECT_TRUE(fs::exists(print::detail::JobRecordFile(12)));
  EXPECT_FALSE(printer->CancelJob(13, error));
  EXPECT_EQ(error, print::kErrorInvalidParameter);
}

TEST_F(PrintSystemTest, UsersMayOnlyPrintAndAdministratorsMayDelete) {
  long error = 0;
  auto user = print::Printer::Open("Zarbo PDF Printer", print::Access::Use, error);
  ASSERT_TRUE(user);
  EXPECT_FALSE(user->Delete(error));
  EXPECT_EQ(error, print::kErrorAccessDenied);
}

}  // namespace

namespace {

// The job process's log is rotated before a job writes to it: a log past the limit becomes
// the ".old" file, replacing an earlier one, and a small log is left to grow.
TEST(SpoolLogTest, ALogPastTheLimitIsSetAsideAndASmallOneKept) {
  testsupport::ResetMachine();
  ASSERT_TRUE(print::CreateMachineFolders());
  const fs::path log = print::SpoolLogPath();
  const fs::path old = fs::path(log).concat(".old");
  const auto write = [](const fs::path& file, std::size_t bytes) {
    std::ofstream(file, std::ios::binary) << std::string(bytes, 'x');
  };

  print::RotateSpoolLog(100);  // no log yet: nothing happens
  EXPECT_FALSE(fs::exists(old));

  write(log, 100);
  print::RotateSpoolLog(100);
  EXPECT_EQ(fs::file_size(log), 100u) << "at the limit the log stays";

  write(old, 7);
  write(log, 101);
  print::RotateSpoolLog(100);
  EXPECT_FALSE(fs::exists(log));
  EXPECT_EQ(fs::file_size(old), 101u) << "the earlier .old file is replaced";
}

}  // namespace
