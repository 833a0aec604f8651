// prninst: the printer setup library driven from the command line, as the product's
// installer drives it: the library is loaded by file name and its exports found by name.
//
//   prninst install <folder>      InstallDrivers
//   prninst uninstall <folder>    UnInstallDrivers
//   prninst exists                IsExistPrinter
//   prninst restart-spooler       RestartSpooler
//   prninst manual-uninstall      ManualUninstall
//   prninst iswow64               IsWow64
//   prninst target-path ...       GetTargetPathFromCmdLine (reads this command line)
//   prninst setup-machine         puts the machine's print system programs in place
//
// Each prints the function's result; the exit code is 0 when it reports success.

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "PRNINST/PRNINST.h"
#include "platform/PrintAdmin.h"
#include "platform/Registry.h"

namespace {

namespace fs = std::filesystem;

fs::path OwnFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

void* LoadLibrary() {
  const fs::path beside = OwnFolder() / "libPRNINST.so";
  if (void* h = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
  return dlopen("libPRNINST.so", RTLD_NOW | RTLD_LOCAL);
}

// The machine as a fresh system has it: its folders, the spooler's job program and
// rundll32.exe in the system folder, the spooler service running.
int SetupMachine() {
  namespace print = platform::print;
  if (!print::CreateMachineFolders()) {
    std::fprintf(stderr, "prninst: cannot create the machine's folders under %s\n",
                 platform::Registry::MachineRoot().c_str());
    return 1;
  }
  std::error_code ec;
  for (const char* program : {"spoolsv", "rundll32.exe"}) {
    const fs::path from = OwnFolder() / program;
    if (!fs::exists(from, ec)) continue;
    const fs::path to = print::SystemFolder() / program;
    const fs::path temp = print::SystemFolder() / ("." + std::string(program) + ".new");
    fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(temp, to, ec);
    if (ec) {
      std::fprintf(stderr, "prninst: cannot copy %s: %s\n", program, ec.message().c_str());
      return 1;
    }
  }
  platform::Registry machine(platform::Hive::LocalMachine);
  if (!machine.SetString(print::kSpoolerServiceKey, "ImagePath",
                         (print::SystemFolder() / "spoolsv").string())) {
    std::fprintf(stderr, "prninst: cannot write the machine's registry\n");
    return 1;
  }
  std::printf("%s\n", platform::Registry::MachineRoot().c_str());
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: prninst install <folder> | uninstall <folder> | exists | restart-spooler |\n"
               "               manual-uninstall | iswow64 | target-path [... -s <path>] |\n"
               "               setup-machine\n");
  return 2;
}

int Main(int argc, char** argv);

}  // namespace

int main(int argc, char** argv) {
  const int rc = Main(argc, argv);
  std::fflush(stdout);
  return rc;
}

namespace {

int Main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "setup-machine") return SetupMachine();

  void* lib = LoadLibrary();
  if (!lib) {
    std::fprintf(stderr, "prninst: %s\n", dlerror());
    return 1;
  }
  const auto sym = [&](const char* name) { return dlsym(lib, name); };

  if ((command == "install" || command == "uninstall") && argc == 3) {
    const bool install = command == "install";
    const auto fn = reinterpret_cast<InstallDriversFn>(
        sym(install ? "InstallDrivers" : "UnInstallDrivers"));
    if (!fn) return 1;
    const uint32_t rc = fn(argv[2]);
    std::printf("0x%08X\n", rc);
    if (install && rc == 0) {
      // The port monitor finds the shared file through the folder the installer used.
      std::error_code ec;
      const fs::path ini = fs::absolute(fs::path(argv[2]) / "ZarboPDF.ini", ec);
      platform::Registry machine(platform::Hive::LocalMachine);
      (void)machine.SetString(std::string(platform::print::kMonitorsKey) +
                                  "\\Zarbo PDF Port Monitor",
                              "IniFile", ini.string());
    }
    return rc == 0 ? 0 : 1;
  }
  if (command == "exists" && argc == 2) {
    const auto fn = reinterpret_cast<IsExistPrinterFn>(sym("IsExistPrinter"));
    if (!fn) return 1;
    const int rc = fn();
    std::printf("%d\n", rc);
    return rc ? 0 : 1;
  }
  if (command == "restart-spooler" && argc == 2) {
    const auto fn = reinterpret_cast<RestartSpoolerFn>(sym("RestartSpooler"));
    if (!fn) return 1;
    fn();
    std::printf("done\n");
    return 0;
  }
  if (command == "manual-uninstall" && argc == 2) {
    const auto fn = reinterpret_cast<ManualUninstallFn>(sym("ManualUninstall"));
    if (!fn) return 1;
    const int rc = fn();
    std::printf("%d\n", rc);
    return rc ? 0 : 1;
  }
  if (command == "iswow64" && argc == 2) {
    const auto fn = reinterpret_cast<IsWow64Fn>(sym("IsWow64"));
    if (!fn) return 1;
    std::printf("%d\n", fn());
    return 0;
  }
  if (command == "target-path") {
    const auto fn = reinterpret_cast<GetTargetPathFromCmdLineFn>(sym("GetTargetPathFromCmdLine"));
    if (!fn) return 1;
    // Large enough for the rest of this command line.
    std::size_t total = 1;
    for (int i = 0; i < argc; ++i) total += std::strlen(argv[i]) + 1;
    std::vector<char> buffer(total, '\0');
    const int rc = fn(buffer.data());
    if (rc) std::printf("1 %s\n", buffer.data());
    else std::printf("0\n");
    return rc ? 0 : 1;
  }
  return Usage();
}

}  // namespace
