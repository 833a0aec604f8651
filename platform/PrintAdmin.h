#pragma once

// Installing and removing printers, drivers, ports and monitors, the machine's folders and
// the "Spooler" service. Every call answers with the host's error numbers (PrintSpooler.h);
// while the spooler is not running every spooler call fails with 1722.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/PrintSpooler.h"

namespace platform::print {

inline constexpr long kErrorAlreadyExists = 183;
inline constexpr long kErrorUnknownPrintProcessor = 1798;
inline constexpr long kErrorInvalidDatatype = 1804;
inline constexpr long kErrorInvalidEnvironment = 1805;
inline constexpr long kErrorBusy = 170;
inline constexpr long kErrorPrinterHasJobsQueued = 3009;

inline constexpr const char* kEnvX64 = "Windows x64";
inline constexpr const char* kEnvX86 = "Windows NT x86";

inline constexpr const char* kPrintKey = "SYSTEM\\CurrentControlSet\\Control\\Print";
inline constexpr const char* kPrintersKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
inline constexpr const char* kMonitorsKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors";
inline constexpr const char* kEnvironmentsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments";
inline constexpr const char* kSpoolerServiceKey = "SYSTEM\\CurrentControlSet\\Services\\Spooler";
inline constexpr const char* kUserDevicesKey =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices";
inline constexpr const char* kUserPrinterPortsKey =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts";

// ---- the machine's folders (under the machine root) ----
std::filesystem::path WindowsFolder();        // <root>/Windows
std::filesystem::path SystemFolder();         // <root>/Windows/System32
std::filesystem::path SpoolFolder();          // <root>/Windows/System32/spool/PRINTERS
// The job process's log in the spool folder. Before a job appends to it, a log past
// kSpoolLogLimit bytes becomes "spoolsv.log.old" (replacing the one before), so the log
// never grows without bound and the latest reports are kept.
inline constexpr std::uintmax_t kSpoolLogLimit = 1024 * 1024;
std::filesystem::path SpoolLogPath();
void RotateSpoolLog(std::uintmax_t limit = kSpoolLogLimit);
// The environment's printer driver folder, whether or not it exists; nullopt for an
// environment the machine does not know.
std::optional<std::filesystem::path> DriverFolderOf(const std::string& environment);
// The environment of this machine's own drivers ("Windows x64" on a 64-bit machine).
std::string NativeEnvironment();
// Creates the machine's folders (Windows, System32, spool, driver folders). False when the
// machine root cannot be written.
[[nodiscard]] bool CreateMachineFolders();

// GetWindowsDirectory / GetSystemDirectory: the folder, or the error when it is missing.
[[nodiscard]] std::optional<std::filesystem::path> GetWindowsDirectory(long& error);
[[nodiscard]] std::optional<std::filesystem::path> GetSystemDirectory(long& error);

// ---- spooler calls ----
struct DriverInfo {
  std::uint32_t version = 3;
  std::string name;
  std::string environment;
  std::string driverPath;   // file names in the environment's driver folder
  std::string dataFile;
  std::string configFile;
};

struct PrinterInfo {
  std::string name;
  std::string port;
  std::string driver;
  std::string printProcessor;
  std::string dataType;
};

// GetPrinterDriverDirectory (level 1). 1805 for an unknown environment, 3 when missing.
[[nodiscard]] std::optional<std::filesystem::path> GetPrinterDriverDirectory(
    const std::string& environment, long& error);
// AddMonitor (level 2). The monitor file is looked up in the system folder, then the
// Windows folder; 126 when it is in neither or does not load, 3006 when already installed.
[[nodiscard]] bool AddMonitor(const std::string& name, const std::string& environment,
                              const std::string& dllName, long& error);
// DeleteMonitor: 3000 when unknown, 3008 while a printer uses one of its ports.
[[nodiscard]] bool DeleteMonitor(const std::string& name, const std::string& environment,
                                 long& error);
// AddPort: asks the monitor for the port (its user interface when window is not null).
[[nodiscard]] bool AddPort(void* window, const std::string& monitorName, long& error);
// DeletePort: 87 when no monitor has this port, 50 when its monitor no longer loads.
[[nodiscard]] bool DeletePort(void* window, const std::string& portName, long& error);
// AddPrinterDriverEx (level 2, copy all files): the three files are taken from the
// environment's driver folder and copied into its version folder.
[[nodiscard]] bool AddPrinterDriver(const DriverInfo& info, long& error);
// DeletePrinterDriverEx with "delete all files": 1797 when unknown, 3001 while in use.
[[nodiscard]] bool DeletePrinterDriver(const std::string& environment, const std::string& name,
                                       long& error);
// AddPrinter (level 2). 1802 when a printer of that name exists (in any letter case).
[[nodiscard]] bool AddPrinter(const PrinterInfo& info, long& error);

// ---- the "Spooler" service ----
enum ServiceState : std::uint32_t {
  kServiceStopped = 1,
  kServiceStartPending = 2,
  kServiceStopPending = 3,
  kServiceRunning = 4,
};

struct ServiceStatus {
  std::uint32_t state = kServiceRunning;
  std::uint32_t checkPoint = 0;
  std::uint32_t waitHintMs = 0;
};

// The service control manager for the machine's services. Only "Spooler" exists.
// OpenService fails with 1060 for any other name.
[[nodiscard]] bool ServiceExists(const std::string& name, long& error);
// Query: a pending state moves on by itself once its time has passed; while it lasts every
// query shows a larger check point.
[[nodiscard]] std::optional<ServiceStatus> QueryServiceStatus(const std::string& name,
                                                              long& error);
// Stop control: 1062 when not running.
[[nodiscard]] bool StopService(const std::string& name, long& error);
// Start: 1056 when already running.
[[nodiscard]] bool StartService(const std::string& name, long& error);
// True when the spooler answers calls (running, not pending).
[[nodiscard]] bool SpoolerRunning();

// How long the spooler stays in a pending state (tests shorten or lengthen it).
void SetServicePendingTime(std::uint32_t ms);

// The user the program runs as.
std::string CurrentUserName();

}  // namespace platform::print
