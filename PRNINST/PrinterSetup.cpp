#include "PRNINST/PrinterSetup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/AtomicFile.h"
#include "platform/PrintAdmin.h"
#include "platform/PrintSystemInternal.h"
#include "platform/Registry.h"

namespace prninst {

namespace fs = std::filesystem;
namespace print = platform::print;

namespace {

std::uint32_t Code(std::uint32_t step, long error) {
  return (static_cast<std::uint32_t>(error) << 16) | step;
}

// The Windows folder on a 64-bit machine, else the system folder.
std::optional<fs::path> MonitorFolder(long& error) {
  return Environment() == print::kEnvX64 ? print::GetWindowsDirectory(error)
                                         : print::GetSystemDirectory(error);
}

void RemoveFile(const fs::path& p) {
  std::error_code ec;
  fs::remove(p, ec);
}

// Moves a component file into place. When the move fails the file stays where it was, so
// a failed install can be repeated from the same folder.
bool MoveComponent(const fs::path& from, const fs::path& to, long& error) {
  std::error_code ec;
  fs::rename(from, to, ec);
  if (!ec) return true;
  if (ec.value() == EXDEV) {
    const auto bytes = platform::file::ReadAll(from);
    if (bytes && platform::file::WriteAtomically(to, *bytes)) {
      fs::permissions(to, fs::status(from, ec).permissions(), ec);
      RemoveFile(from);
      return true;
    }
    error = print::kErrorAccessDenied;
    return false;
  }
  error = print::detail::ErrnoToHostError(ec.value());
  return false;
}

// "Everyone" may read and write: the mode says so, and where the file system keeps access
// lists the file's list says the same, so an inherited default list cannot narrow it.
bool CreateSharedFile(const fs::path& file) {
  const int fd = open(file.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = fchmod(fd, 0666) == 0;
  struct Entry {
    std::uint16_t tag, perm;
    std::uint32_t id;
  };
  struct Acl {
    std::uint32_t version;
    Entry entries[3];
  } acl{2, {{0x01, 6, 0xFFFFFFFFu}, {0x04, 6, 0xFFFFFFFFu}, {0x20, 6, 0xFFFFFFFFu}}};
  if (ok && fsetxattr(fd, "system.posix_acl_access", &acl, sizeof acl, 0) != 0 &&
      errno != ENOTSUP && errno != EOPNOTSUPP) {
    ok = false;
  }
  ok = close(fd) == 0 && ok;
  if (!ok) RemoveFile(file);
  return ok;
}

bool WaitFor(std::uint32_t wanted) {
  long error = 0;
  auto status = print::QueryServiceStatus(kService, error);
  if (!status) return false;
  while (status->state != wanted) {
    const std::uint32_t lastCheckPoint = status->checkPoint;
    std::this_thread::sleep_for(std::chrono::milliseconds(status->waitHintMs));
    status = print::QueryServiceStatus(kService, error);
    if (!status) return false;
    if (status->checkPoint <= lastCheckPoint) break;  // no more progress
  }
  return true;
}

}  // namespace

std::string Environment() {
  // Drivers go to the machine's own environment: a 32-bit program on a 64-bit machine
  // still installs the 64-bit driver.
  return RunningUnder32On64() ? print::kEnvX64 : print::NativeEnvironment();
}

bool RunningUnder32On64() {
  if (sizeof(void*) != 4) return false;
  struct utsname u {};
  if (uname(&u) != 0) return false;
  const std::string_view machine = u.machine;
  return machine == "x86_64" || machine == "aarch64" || machine == "ppc64le" ||
         machine == "s390x" || machine == "riscv64";
}

std::uint32_t Install(const std::string& folder) {
  (void)Uninstall(folder);
  const fs::path source = folder;
  const std::string env = Environment();

  long error = 0;
  const auto monitorFolder = MonitorFolder(error);
  if (!monitorFolder) return Code(0x100, error);
  for (const char* name : kMonitorFiles) {
    RemoveFile(*monitorFolder / name);
    if (!MoveComponent(source / name, *monitorFolder / name, error)) {
      return Code(0x100, error);
    }
  }

  const auto driverFolder = print::GetPrinterDriverDirectory(env, error);
  if (!driverFolder) return Code(0x200, error);
  for (const char* name : {kDriverFile, kDriverUIFile}) {
    RemoveFile(*driverFolder / name);
    if (!MoveComponent(source / name, *driverFolder / name, error)) {
      return Code(0x200, error);
    }
  }

  if (!print::AddMonitor(kMonitor, env, kMonitorFiles[0], error) &&
      error != print::kErrorPrintMonitorAlreadyInstalled) {
    return Code(0x400, error);
  }
  if (!print::AddPort(nullptr, kMonitor, error)) return Code(0x800, error);

  print::DriverInfo driver;
  driver.version = 3;
  driver.name = kDriver;
  driver.environment = env;
  driver.driverPath = kDriverFile;
  driver.dataFile = kDriverFile;
  driver.configFile = kDriverUIFile;
  if (!print::AddPrinterDriver(driver, error)) return Code(0x1000, error);

  print::PrinterInfo printer;
  printer.name = kPrinter;
  printer.port = kPort;
  printer.driver = kDriver;
  printer.printProcessor = "winprint";
  printer.dataType = "RAW";
  if (!print::AddPrinter(printer, error) && error != print::kErrorPrinterAlreadyExists) {
    return Code(0x2000, error);
  }

  // The spooler keeps its own copies of the driver files.
  RemoveFile(*driverFolder / kDriverFile);
  RemoveFile(*driverFolder / kDriverUIFile);

  if (!CreateSharedFile(source / kSharedFile)) return 0x4000;
  return 0;
}

std::uint32_t Uninstall(const std::string& folder) {
  std::uint32_t result = 0;
  const auto fail = [&](std::uint32_t bit, long error) {
    result |= bit | (static_cast<std::uint32_t>(error) << 16);
  };
  const std::string env = Environment();
  long error = 0;
  if (auto printer = print::Printer::Open(kPrinter, print::Access::Administer, error)) {
    for (std::uint32_t job = 0; job < 5000; ++job) {
      long ignored = 0;
      (void)printer->CancelJob(job, ignored);
    }
    if (!printer->Delete(error)) fail(1, error);
  } else if (error != print::kErrorInvalidPrinterName) {
    fail(2, error);
  }
  if (!print::DeletePrinterDriver(env, kDriver, error) &&
      error != print::kErrorUnknownPrinterDriver) {
    fail(4, error);
  }
  if (!print::DeletePort(nullptr, kPort, error) && error != print::kErrorNotSupported &&
      error != print::kErrorInvalidParameter) {
    fail(8, error);
  }
  if (!print::DeleteMonitor(kMonitor, env, error) && error != print::kErrorUnknownPrintMonitor) {
    fail(16, error);
  }
  if (const auto monitorFolder = MonitorFolder(error)) {
    for (const char* name : kMonitorFiles) RemoveFile(*monitorFolder / name);
  }
  RemoveFile(fs::path(folder) / kSharedFile);
  return result;
}

bool PrinterExists() {
  long error = 0;
  return print::Printer::Open(kPrinter, print::Access::Administer, error) != nullptr;
}

bool StopSpooler() {
  long error = 0;
  if (!print::ServiceExists(kService, error)) return false;
  (void)print::StopService(kService, error);
  return WaitFor(print::kServiceStopped);
}

bool StartSpooler() {
  long error = 0;
  if (!print::ServiceExists(kService, error)) return false;
  (void)print::StartService(kService, error);
  return WaitFor(print::kServiceRunning);
}

void Restart() {
  (void)StopSpooler();
  (void)StartSpooler();
  std::this_thread::sleep_for(std::chrono::milliseconds(750));
}

bool ForceUninstall() {
  (void)StopSpooler();
  platform::Registry user(platform::Hive::CurrentUser);
  for (const char* key : {"Printers\\Settings", print::kUserDevicesKey,
                          print::kUserPrinterPortsKey}) {
    (void)user.DeleteValue(key, kPrinter);
  }
  platform::Registry machine(platform::Hive::LocalMachine);
  const std::string driverKey =
      Environment() == print::kEnvX64
          ? "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\"
            "Version-3\\Zarbo PDF Printer Driver"
          : "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\"
            "Version-3\\Zarbo PDF Printer Driver";
  for (const std::string& key :
       {std::string("SYSTEM\\ControlSet001\\Control\\Print\\Printers\\Zarbo PDF Printer"),
        driverKey,
        std::string("SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Zarbo PDF Port Monitor"),
        std::string("SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Zarbo PDF Port"),
        std::string("SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Zarbo PDF Printer")}) {
    (void)machine.DeleteKey(key);
  }
  (void)StartSpooler();
  (void)StopSpooler();
  return StartSpooler();
}

std::optional<std::string> TargetPathFrom(std::string_view commandLine) {
  if (commandLine.empty()) return std::nullopt;
  const auto marker = commandLine.find("-s ");
  if (marker == std::string_view::npos) return std::nullopt;
  std::size_t start = marker + 3;
  while (start < commandLine.size() && commandLine[start] == ' ') ++start;
  if (start >= commandLine.size()) return std::nullopt;
  return std::string(commandLine.substr(start));
}

std::string ProcessCommandLine() {
  const auto bytes = platform::file::ReadAll("/proc/self/cmdline");
  if (!bytes) return {};
  std::string line = *bytes;
  while (!line.empty() && line.back() == '\0') line.pop_back();
  for (char& c : line) {
    if (c == '\0') c = ' ';
  }
  return line;
}

}  // namespace prninst
