#include "tests/support/PrintMachine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <system_error>
#include <thread>

#include "platform/PrintAdmin.h"
#include "platform/Registry.h"
#include "tests/support/TempDir.h"

namespace testsupport {

namespace fs = std::filesystem;
namespace print = platform::print;

fs::path ComponentDir() { return CLIPWREN_TEST_COMPONENT_DIR; }
fs::path SetupToolsDir() { return CLIPWREN_TEST_SETUP_DIR; }

void ResetMachine() {
  const fs::path root = platform::Registry::MachineRoot();
  std::error_code ec;
  fs::remove_all(root, ec);
  fs::create_directories(root, ec);
  ASSERT_TRUE(print::CreateMachineFolders());
  fs::copy_file(SetupToolsDir() / "spoolsv", print::SystemFolder() / "spoolsv",
                fs::copy_options::overwrite_existing, ec);
  ASSERT_FALSE(ec) << ec.message();
  platform::Registry machine(platform::Hive::LocalMachine);
  ASSERT_TRUE(machine.SetString(print::kSpoolerServiceKey, "ImagePath",
                                (print::SystemFolder() / "spoolsv").string()));
  // The user's hive too: printers leave values there.
  fs::remove(platform::Registry::HiveFile(platform::Hive::CurrentUser), ec);
}

fs::path MakeInstallerFolder(const std::string& name) {
  const fs::path folder = SandboxRoot() / "installers" / name;
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
  for (const char* file : {"ZarboPDF.dll", "ZarboPDFMon.dll", "ZarboPDFMonUI.dll",
                           "ZarboPDFUI.dll"}) {
    if (fs::exists(ComponentDir() / file)) {
      fs::copy_file(ComponentDir() / file, folder / file, ec);
    } else {
      WriteFile(folder / file, "driver user interface");  // never loaded by the spooler
    }
  }
  return folder;
}

void StopSpoolerNow() {
  long error = 0;
  ASSERT_TRUE(print::StopService("Spooler", error)) << error;
  for (int i = 0; i < 500 && print::QueryServiceStatus("Spooler", error)->state !=
                                 print::kServiceStopped;
       ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_FALSE(print::SpoolerRunning());
}

}  // namespace testsupport
