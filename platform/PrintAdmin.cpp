#include "platform/PrintAdmin.h"

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "platform/PrintComponents.h"
#include "platform/PrintSystemInternal.h"
#include "platform/TextConv.h"

namespace platform::print {

namespace fs = std::filesystem;

namespace detail {

std::shared_ptr<Library> Library::Load(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return nullptr;
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) return nullptr;
  return std::shared_ptr<Library>(new Library(handle));
}

Library::~Library() {
  if (m_handle) dlclose(m_handle);
}

void* Library::Symbol(const char* name) const { return dlsym(m_handle, name); }

long ErrnoToHostError(int err) {
  switch (err) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kErrorAccessDenied;
    case EEXIST: return 80;  // the file exists
    case EBUSY:
    case ETXTBSY: return 32;  // sharing violation
    case ENOSPC: return 112;  // disk full
    case ENOMEM: return 8;
    default: return 31;  // a device does not work
  }
}

std::string PrinterKey(const std::string& printer) {
  return std::string(kPrintersKey) + "\\" + printer;
}

std::string DriverKey(const std::string& environment, const std::string& driver) {
  return std::string(kEnvironmentsKey) + "\\" + environment + "\\Drivers\\Version-3\\" + driver;
}

std::string MonitorKey(const std::string& monitor) {
  return std::string(kMonitorsKey) + "\\" + monitor;
}

std::optional<std::string> ExactPrinter(const Registry& machine, const std::string& name) {
  for (const auto& sub : machine.SubKeys(kPrintersKey)) {
    if (sub == name) return sub;
  }
  return std::nullopt;
}

std::optional<fs::path> FindMonitorFile(const std::string& dllName) {
  if (dllName.empty() || dllName.find('/') != std::string::npos) return std::nullopt;
  std::error_code ec;
  for (const fs::path& dir : {SystemFolder(), WindowsFolder()}) {
    if (fs::is_regular_file(dir / dllName, ec)) return dir / dllName;
  }
  return std::nullopt;
}

std::string MonitorOfPort(const Registry& machine, const std::string& port) {
  for (const auto& monitor : machine.SubKeys(kMonitorsKey)) {
    if (machine.KeyExists(MonitorKey(monitor) + "\\Ports\\" + port)) return monitor;
  }
  return {};
}

std::optional<fs::path> InstalledDriverFile(const Registry& machine, const std::string& driver,
                                            std::string* configFile) {
  const std::string env = NativeEnvironment();
  const std::string key = DriverKey(env, driver);
  const auto file = machine.GetString(key, "Driver");
  const auto folder = DriverFolderOf(env);
  if (!file || !folder) return std::nullopt;
  if (configFile) *configFile = machine.GetString(key, "Configuration File").value_or("");
  return *folder / "3" / *file;
}

}  // namespace detail

using namespace detail;

namespace {

constexpr const char* kSpooler = "Spooler";
constexpr std::uint32_t kWaitHintMs = 20;
std::uint32_t g_pendingMs = 60;

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool ValidName(const std::string& s) {
  return !s.empty() && s.find('\\') == std::string::npos && s.find(',') == std::string::npos &&
         s.find('\n') == std::string::npos;
}

// A plain file name: no folder part, so a record in the hive cannot point elsewhere.
bool PlainFileName(const std::string& s) {
  return !s.empty() && s.find('/') == std::string::npos && s != "." && s != "..";
}

bool Running(long& error) {
  if (!SpoolerRunning()) {
    error = kErrorRpcServerUnavailable;
    return false;
  }
  return true;
}

bool HasExports(const Library& lib, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    if (!lib.Symbol(n)) return false;
  }
  return true;
}

bool CopyFileReplacing(const fs::path& from, const fs::path& to, long& error) {
  std::error_code ec;
  const fs::path temp = to.parent_path() / ("." + to.filename().string() + ".new");
  fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::rename(temp, to, ec);
  if (ec) {
    fs::remove(temp, ec);
    error = ErrnoToHostError(ec.value() ? ec.value() : EIO);
    return false;
  }
  return true;
}

}  // namespace

// ---- folders ----

fs::path WindowsFolder() { return Registry::MachineRoot() / "Windows"; }
fs::path SystemFolder() { return WindowsFolder() / "System32"; }
fs::path SpoolFolder() { return SystemFolder() / "spool" / "PRINTERS"; }

fs::path SpoolLogPath() { return SpoolFolder() / "spoolsv.log"; }

void RotateSpoolLog(std::uintmax_t limit) {
  std::error_code ec;
  const fs::path log = SpoolLogPath();
  const std::uintmax_t size = fs::file_size(log, ec);
  if (ec || size <= limit) return;
  // A rename is atomic: a job that opened the log a moment ago keeps writing into the old one.
  fs::rename(log, fs::path(log).concat(".old"), ec);
}

std::optional<fs::path> DriverFolderOf(const std::string& environment) {
  const fs::path drivers = SystemFolder() / "spool" / "drivers";
  if (environment == kEnvX64) return drivers / "x64";
  if (environment == kEnvX86) return drivers / "W32X86";
  return std::nullopt;
}

std::string NativeEnvironment() { return sizeof(void*) == 8 ? kEnvX64 : kEnvX86; }

bool CreateMachineFolders() {
  std::error_code ec;
  bool ok = true;
  for (const fs::path& p : {SystemFolder(), SpoolFolder(), *DriverFolderOf(kEnvX64) / "3",
                            *DriverFolderOf(kEnvX86) / "3"}) {
    fs::create_directories(p, ec);
    ok = ok && !ec;
  }
  return ok;
}

std::optional<fs::path> GetWindowsDirectory(long& error) {
  std::error_code ec;
  if (!fs::is_directory(WindowsFolder(), ec)) {
    error = kErrorPathNotFound;
    return std::nullopt;
  }
  return WindowsFolder();
}

std::optional<fs::path> GetSystemDirectory(long& error) {
  std::error_code ec;
  if (!fs::is_directory(SystemFolder(), ec)) {
    error = kErrorPathNotFound;
    return std::nullopt;
  }
  return SystemFolder();
}

// ---- spooler calls ----

std::optional<fs::path> GetPrinterDriverDirectory(const std::string& environment, long& error) {
  if (!Running(error)) return std::nullopt;
  const auto folder = DriverFolderOf(environment);
  if (!folder) {
    error = kErrorInvalidEnvironment;
    return std::nullopt;
  }
  std::error_code ec;
  if (!fs::is_directory(*folder, ec)) {
    error = kErrorPathNotFound;
    return std::nullopt;
  }
  return folder;
}

bool AddMonitor(const std::string& name, const std::string& environment,
                const std::string& dllName, long& error) {
  if (!Running(error)) return false;
  if (!ValidName(name) || !PlainFileName(dllName)) {
    error = kErrorInvalidParameter;
    return false;
  }
  if (!DriverFolderOf(environment)) {
    error = kErrorInvalidEnvironment;
    return false;
  }
  Registry machine(Hive::LocalMachine);
  if (machine.KeyExists(MonitorKey(name))) {
    error = kErrorPrintMonitorAlreadyInstalled;
    return false;
  }
  const auto file = FindMonitorFile(dllName);
  const auto lib = file ? Library::Load(*file) : nullptr;
  if (!lib || !HasExports(*lib, {ZP_MONITOR_ADD_PORT, ZP_MONITOR_DELETE_PORT,
                                 ZP_MONITOR_PRINT_JOB})) {
    error = kErrorModNotFound;
    return false;
  }
  if (!machine.SetString(MonitorKey(name), "Driver", dllName)) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

bool DeleteMonitor(const std::string& name, const std::string& environment, long& error) {
  if (!Running(error)) return false;
  if (!DriverFolderOf(environment)) {
    error = kErrorInvalidEnvironment;
    return false;
  }
  Registry machine(Hive::LocalMachine);
  if (name.empty() || !machine.KeyExists(MonitorKey(name))) {
    error = kErrorUnknownPrintMonitor;
    return false;
  }
  for (const auto& printer : machine.SubKeys(kPrintersKey)) {
    const auto port = machine.GetString(PrinterKey(printer), "Port");
    if (port && machine.KeyExists(MonitorKey(name) + "\\Ports\\" + *port)) {
      error = kErrorPrintMonitorInUse;
      return false;
    }
  }
  if (!machine.DeleteKey(MonitorKey(name))) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

bool AddPort(void* window, const std::string& monitorName, long& error) {
  if (!Running(error)) return false;
  Registry machine(Hive::LocalMachine);
  const auto dll = machine.GetString(MonitorKey(monitorName), "Driver");
  if (monitorName.empty() || !dll) {
    error = kErrorUnknownPrintMonitor;
    return false;
  }
  char port[128] = {};
  long rc = kErrorNotSupported;
  if (window) {
    // With a window the monitor's user-interface file asks the user.
    const std::string uiName = fs::path(*dll).stem().string() + "UI.dll";
    const auto uiFile = FindMonitorFile(uiName);
    const auto ui = uiFile ? Library::Load(*uiFile) : nullptr;
    const auto fn = ui ? ui->Get<ZpMonitorUIAddPortFn>(ZP_MONITOR_UI_ADD_PORT) : nullptr;
    if (fn) rc = fn(window, port, sizeof port);
  } else {
    const auto file = FindMonitorFile(*dll);
    const auto lib = file ? Library::Load(*file) : nullptr;
    const auto fn = lib ? lib->Get<ZpMonitorAddPortFn>(ZP_MONITOR_ADD_PORT) : nullptr;
    if (fn) rc = fn(nullptr, port, sizeof port);
  }
  port[sizeof port - 1] = '\0';
  if (rc != kErrorSuccess) {
    error = rc;
    return false;
  }
  const std::string portName = port;
  if (!ValidName(portName)) {
    error = kErrorInvalidParameter;
    return false;
  }
  // The monitor's own port is there already (an earlier install left it): nothing to add.
  const std::string owner = MonitorOfPort(machine, portName);
  if (owner == monitorName) return true;
  if (!owner.empty()) {
    error = kErrorAlreadyExists;
    return false;
  }
  if (!machine.CreateKey(MonitorKey(monitorName) + "\\Ports\\" + portName)) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

bool DeletePort(void* /*window*/, const std::string& portName, long& error) {
  if (!Running(error)) return false;
  Registry machine(Hive::LocalMachine);
  const std::string monitor = portName.empty() ? "" : MonitorOfPort(machine, portName);
  if (monitor.empty()) {
    error = kErrorInvalidParameter;
    return false;
  }
  const auto dll = machine.GetString(MonitorKey(monitor), "Driver");
  const auto file = dll ? FindMonitorFile(*dll) : std::nullopt;
  const auto lib = file ? Library::Load(*file) : nullptr;
  const auto fn = lib ? lib->Get<ZpMonitorDeletePortFn>(ZP_MONITOR_DELETE_PORT) : nullptr;
  if (!fn) {
    error = kErrorNotSupported;
    return false;
  }
  for (const auto& printer : machine.SubKeys(kPrintersKey)) {
    if (machine.GetString(PrinterKey(printer), "Port") == portName) {
      error = kErrorBusy;
      return false;
    }
  }
  if (const long rc = fn(portName.c_str()); rc != kErrorSuccess) {
    error = rc;
    return false;
  }
  if (!machine.DeleteKey(MonitorKey(monitor) + "\\Ports\\" + portName)) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

bool AddPrinterDriver(const DriverInfo& info, long& error) {
  if (!Running(error)) return false;
  if (info.version != 3 || !ValidName(info.name) || !PlainFileName(info.driverPath) ||
      !PlainFileName(info.dataFile) || !PlainFileName(info.configFile)) {
    error = kErrorInvalidParameter;
    return false;
  }
  const auto folder = GetPrinterDriverDirectory(info.environment, error);
  if (!folder) return false;
  std::error_code ec;
  for (const auto& f : {info.driverPath, info.dataFile, info.configFile}) {
    if (!fs::is_regular_file(*folder / f, ec)) {
      error = kErrorFileNotFound;
      return false;
    }
  }
  const auto lib = Library::Load(*folder / info.driverPath);
  if (!lib || !HasExports(*lib, {ZP_DRIVER_DEFAULTS, ZP_DRIVER_GEOMETRY, ZP_DRIVER_START_DOC,
                                 ZP_DRIVER_START_PAGE, ZP_DRIVER_END_PAGE, ZP_DRIVER_END_DOC,
                                 ZP_DRIVER_ABORT_DOC})) {
    error = kErrorModNotFound;
    return false;
  }
  const fs::path versionFolder = *folder / "3";
  fs::create_directories(versionFolder, ec);
  for (const auto& f : {info.driverPath, info.dataFile, info.configFile}) {
    if (!CopyFileReplacing(*folder / f, versionFolder / f, error)) return false;
  }
  Registry machine(Hive::LocalMachine);
  const std::string key = DriverKey(info.environment, info.name);
  if (!machine.SetDword(key, "Version", 3) || !machine.SetString(key, "Driver", info.driverPath) ||
      !machine.SetString(key, "Data File", info.dataFile) ||
      !machine.SetString(key, "Configuration File", info.configFile)) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

bool DeletePrinterDriver(const std::string& environment, const std::string& name, long& error) {
  if (!Running(error)) return false;
  const auto folder = DriverFolderOf(environment);
  if (!folder) {
    error = kErrorInvalidEnvironment;
    return false;
  }
  Registry machine(Hive::LocalMachine);
  const std::string key = DriverKey(environment, name);
  if (name.empty() || !machine.KeyExists(key)) {
    error = kErrorUnknownPrinterDriver;
    return false;
  }
  if (environment == NativeEnvironment()) {
    for (const auto& printer : machine.SubKeys(kPrintersKey)) {
      if (machine.GetString(PrinterKey(printer), "Printer Driver") == name) {
        error = kErrorPrinterDriverInUse;
        return false;
      }
    }
  }
  // "Delete all files": the driver's copies in the version folder go with it.
  std::error_code ec;
  for (const char* value : {"Driver", "Data File", "Configuration File"}) {
    if (const auto f = machine.GetString(key, value); f && PlainFileName(*f)) {
      fs::remove(*folder / "3" / *f, ec);
    }
  }
  if (!machine.DeleteKey(key)) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

bool AddPrinter(const PrinterInfo& info, long& error) {
  if (!Running(error)) return false;
  if (!ValidName(info.name)) {
    error = kErrorInvalidPrinterName;
    return false;
  }
  Registry machine(Hive::LocalMachine);
  if (machine.KeyExists(PrinterKey(info.name))) {
    error = kErrorPrinterAlreadyExists;
    return false;
  }
  if (info.driver.empty() || !machine.KeyExists(DriverKey(NativeEnvironment(), info.driver))) {
    error = kErrorUnknownPrinterDriver;
    return false;
  }
  if (info.port.empty() || MonitorOfPort(machine, info.port).empty()) {
    error = kErrorUnknownPort;
    return false;
  }
  if (info.printProcessor != "winprint") {
    error = kErrorUnknownPrintProcessor;
    return false;
  }
  if (info.dataType != "RAW") {
    error = kErrorInvalidDatatype;
    return false;
  }
  const std::string key = PrinterKey(info.name);
  if (!machine.SetString(key, "Name", info.name) || !machine.SetString(key, "Port", info.port) ||
      !machine.SetString(key, "Printer Driver", info.driver) ||
      !machine.SetString(key, "Print Processor", info.printProcessor) ||
      !machine.SetString(key, "Datatype", info.dataType)) {
    error = kErrorAccessDenied;
    return false;
  }
  // The user's view of the printer, as the host keeps it for older programs.
  Registry user(Hive::CurrentUser);
  (void)user.SetString(kUserDevicesKey, info.name, "winspool," + info.port);
  (void)user.SetString(kUserPrinterPortsKey, info.name, "winspool," + info.port + ",15,45");
  return true;
}

// ---- the service ----

bool ServiceExists(const std::string& name, long& error) {
  if (name != kSpooler) {
    error = kErrorServiceDoesNotExist;
    return false;
  }
  return true;
}

namespace {

struct StoredService {
  std::uint32_t state = kServiceRunning;
  std::int64_t pendingStart = 0;
  std::uint32_t pendingMs = 0;
};

StoredService ReadService(const Registry& machine) {
  StoredService s;
  s.state = machine.GetDword(kSpoolerServiceKey, "State").value_or(kServiceRunning);
  const auto start = machine.GetString(kSpoolerServiceKey, "PendingSince");
  s.pendingStart = start ? std::strtoll(start->c_str(), nullptr, 10) : 0;
  s.pendingMs = machine.GetDword(kSpoolerServiceKey, "PendingTime").value_or(0);
  return s;
}

// The state after a pending phase has run its time.
std::uint32_t Settled(const StoredService& s, std::int64_t now) {
  if (s.state == kServiceStopPending && now - s.pendingStart >= s.pendingMs) return kServiceStopped;
  if (s.state == kServiceStartPending && now - s.pendingStart >= s.pendingMs) return kServiceRunning;
  return s.state;
}

bool BeginPending(Registry& machine, std::uint32_t pendingState) {
  return machine.SetDword(kSpoolerServiceKey, "State", pendingState) &&
         machine.SetString(kSpoolerServiceKey, "PendingSince", std::to_string(NowMs())) &&
         machine.SetDword(kSpoolerServiceKey, "PendingTime", g_pendingMs);
}

}  // namespace

void SetServicePendingTime(std::uint32_t ms) { g_pendingMs = ms; }

std::optional<ServiceStatus> QueryServiceStatus(const std::string& name, long& error) {
  if (!ServiceExists(name, error)) return std::nullopt;
  Registry machine(Hive::LocalMachine);
  const StoredService s = ReadService(machine);
  const std::int64_t now = NowMs();
  ServiceStatus status;
  status.state = Settled(s, now);
  if (status.state == kServiceStopPending || status.state == kServiceStartPending) {
    status.checkPoint = static_cast<std::uint32_t>((now - s.pendingStart) / kWaitHintMs) + 1;
    status.waitHintMs = kWaitHintMs;
  }
  return status;
}

bool StopService(const std::string& name, long& error) {
  if (!ServiceExists(name, error)) return false;
  Registry machine(Hive::LocalMachine);
  const std::uint32_t state = Settled(ReadService(machine), NowMs());
  if (state != kServiceRunning) {
    error = kErrorServiceNotActive;
    return false;
  }
  if (!BeginPending(machine, kServiceStopPending)) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

bool StartService(const std::string& name, long& error) {
  if (!ServiceExists(name, error)) return false;
  Registry machine(Hive::LocalMachine);
  const std::uint32_t state = Settled(ReadService(machine), NowMs());
  if (state != kServiceStopped) {
    error = kErrorServiceAlreadyRunning;
    return false;
  }
  if (!BeginPending(machine, kServiceStartPending)) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

bool SpoolerRunning() {
  Registry machine(Hive::LocalMachine);
  return Settled(ReadService(machine), NowMs()) == kServiceRunning;
}

std::string CurrentUserName() {
  struct passwd pw {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_name) {
    return found->pw_name;
  }
  if (const char* user = std::getenv("USER"); user && *user) return user;
  return {};
}

}  // namespace platform::print
