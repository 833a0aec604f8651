#include "platform/PrintSpooler.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/FileLock.h"
#include "platform/PrintAdmin.h"
#include "platform/PrintComponents.h"
#include "platform/PrintSystemInternal.h"

extern char** environ;

namespace platform::print {

namespace fs = std::filesystem;
using namespace detail;

namespace detail {

fs::path JobRecordFile(std::uint32_t id) {
  char name[32];
  std::snprintf(name, sizeof name, "FP%05u.SHD", id);
  return SpoolFolder() / name;
}

fs::path JobSpoolFile(std::uint32_t id) {
  char name[32];
  std::snprintf(name, sizeof name, "FP%05u.SPL", id);
  return SpoolFolder() / name;
}

namespace {

// One value per line: line breaks inside a value would start a new field.
std::string OneLine(std::string s) {
  for (char& c : s) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return s;
}

}  // namespace

bool WriteJobRecord(const JobRecord& job) {
  std::string text;
  text += "id=" + std::to_string(job.id) + "\n";
  text += "printer=" + OneLine(job.printer) + "\n";
  text += "port=" + OneLine(job.port) + "\n";
  text += "title=" + OneLine(job.title) + "\n";
  text += "user=" + OneLine(job.user) + "\n";
  text += "client=" + OneLine(job.clientDir) + "\n";
  text += "spool=" + OneLine(job.spoolFile.string()) + "\n";
  return file::WriteAtomically(JobRecordFile(job.id), text);
}

std::optional<JobRecord> ReadJobRecord(const fs::path& file) {
  const auto bytes = file::ReadAll(file);
  if (!bytes || bytes->size() > 64 * 1024) return std::nullopt;
  JobRecord job;
  bool haveId = false;
  std::string_view text = *bytes;
  while (!text.empty()) {
    const auto nl = text.find('\n');
    const std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, eq);
    const std::string value(line.substr(eq + 1));
    if (key == "id") {
      haveId = std::from_chars(value.data(), value.data() + value.size(), job.id).ec == std::errc();
    } else if (key == "printer") {
      job.printer = value;
    } else if (key == "port") {
      job.port = value;
    } else if (key == "title") {
      job.title = value;
    } else if (key == "user") {
      job.user = value;
    } else if (key == "client") {
      job.clientDir = value;
    } else if (key == "spool") {
      job.spoolFile = value;
    }
  }
  if (!haveId || job.printer.empty()) return std::nullopt;
  return job;
}

void RemoveJob(std::uint32_t id) {
  std::error_code ec;
  fs::remove(JobSpoolFile(id), ec);
  fs::remove(JobRecordFile(id), ec);
}

fs::path SpoolerHostProgram() {
  Registry machine(Hive::LocalMachine);
  if (auto image = machine.GetString(kSpoolerServiceKey, "ImagePath"); image && !image->empty()) {
    return *image;
  }
  return SystemFolder() / "spoolsv";
}

}  // namespace detail

namespace {

ZpDevMode ToZp(const DevMode& m) { return ZpDevMode{m.orientation, m.paperSize}; }

std::optional<PageGeometry> DriverGeometry(const Library* lib, const DevMode& mode) {
  const auto fn = lib ? lib->Get<ZpDriverGeometryFn>(ZP_DRIVER_GEOMETRY) : nullptr;
  if (!fn) return std::nullopt;
  const ZpDevMode zm = ToZp(mode);
  ZpPageGeometry g{};
  if (fn(&zm, &g) != 1) return std::nullopt;
  if (g.dpiX <= 0 || g.dpiY <= 0 || g.paperWidth <= 0 || g.paperHeight <= 0) return std::nullopt;
  PageGeometry out;
  out.dpiX = g.dpiX;
  out.dpiY = g.dpiY;
  out.paperWidth = g.paperWidth;
  out.paperHeight = g.paperHeight;
  out.printableX = g.printableX;
  out.printableY = g.printableY;
  out.printableWidth = g.printableWidth;
  out.printableHeight = g.printableHeight;
  out.paperWidthMm = g.paperWidthMm;
  out.paperHeightMm = g.paperHeightMm;
  return out;
}

// Job numbers count up across processes, so a job's files never meet an earlier job's.
std::optional<std::uint32_t> NextJobId() {
  const fs::path counter = SpoolFolder() / "NEXTJOB";
  FileLock lock(counter, FileLock::Mode::Exclusive);
  if (!lock.locked()) return std::nullopt;
  std::uint32_t id = 1;
  if (const auto bytes = file::ReadAll(counter)) {
    std::uint32_t stored = 0;
    if (std::from_chars(bytes->data(), bytes->data() + bytes->size(), stored).ec == std::errc() &&
        stored > 0 && stored < 99999) {
      id = stored;
    }
  }
  if (!file::WriteAtomically(counter, std::to_string(id + 1), false)) return std::nullopt;
  return id;
}

std::string ProgramDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

}  // namespace

// ---- Printer ----

std::unique_ptr<Printer> Printer::Open(const std::string& name, Access access, long& error) {
  if (!SpoolerRunning()) {
    error = kErrorRpcServerUnavailable;
    return nullptr;
  }
  Registry machine(Hive::LocalMachine);
  const auto exact = ExactPrinter(machine, name);
  if (!exact) {
    error = kErrorInvalidPrinterName;
    return nullptr;
  }
  std::unique_ptr<Printer> printer(new Printer);
  printer->m_name = *exact;
  printer->m_access = access;
  printer->m_driver = machine.GetString(PrinterKey(*exact), "Printer Driver").value_or("");
  printer->m_port = machine.GetString(PrinterKey(*exact), "Port").value_or("");
  const auto driverFile = InstalledDriverFile(machine, printer->m_driver);
  if (driverFile) printer->m_driverLib = Library::Load(*driverFile);
  if (access == Access::Administer) return printer;

  if (!driverFile) {
    error = kErrorUnknownPrinterDriver;
    return nullptr;
  }
  if (!printer->m_driverLib || !printer->m_driverLib->Symbol(ZP_DRIVER_START_DOC)) {
    error = kErrorModNotFound;
    return nullptr;
  }
  const std::string monitor = MonitorOfPort(machine, printer->m_port);
  if (monitor.empty()) {
    error = kErrorUnknownPort;
    return nullptr;
  }
  const auto dll = machine.GetString(MonitorKey(monitor), "Driver");
  const auto monitorFile = dll ? FindMonitorFile(*dll) : std::nullopt;
  const auto monitorLib = monitorFile ? Library::Load(*monitorFile) : nullptr;
  if (!monitorLib || !monitorLib->Symbol(ZP_MONITOR_PRINT_JOB)) {
    error = kErrorModNotFound;
    return nullptr;
  }
  return printer;
}

Printer::~Printer() = default;

DevMode Printer::Settings() const {
  DevMode mode;
  if (const auto fn = m_driverLib ? m_driverLib->Get<ZpDriverDefaultsFn>(ZP_DRIVER_DEFAULTS)
                                  : nullptr) {
    ZpDevMode zm{mode.orientation, mode.paperSize};
    if (fn(&zm) == 1) mode = DevMode{zm.orientation, zm.paperSize};
  }
  Registry machine(Hive::LocalMachine);
  const std::string key = PrinterKey(m_name);
  DevMode stored = mode;
  stored.orientation = static_cast<int>(
      machine.GetDword(key, "Orientation").value_or(static_cast<std::uint32_t>(mode.orientation)));
  stored.paperSize = static_cast<int>(
      machine.GetDword(key, "PaperSize").value_or(static_cast<std::uint32_t>(mode.paperSize)));
  // Settings another program stored that the driver does not take are not used.
  if (DriverGeometry(m_driverLib.get(), stored)) return stored;
  return mode;
}

bool Printer::SetSettings(const DevMode& mode, long& error) {
  if (!SpoolerRunning()) {
    error = kErrorRpcServerUnavailable;
    return false;
  }
  if (!DriverGeometry(m_driverLib.get(), mode)) {
    error = kErrorInvalidParameter;
    return false;
  }
  Registry machine(Hive::LocalMachine);
  const std::string key = PrinterKey(m_name);
  if (!machine.KeyExists(key)) {
    error = kErrorInvalidPrinterName;
    return false;
  }
  if (!machine.SetDword(key, "Orientation", static_cast<std::uint32_t>(mode.orientation)) ||
      !machine.SetDword(key, "PaperSize", static_cast<std::uint32_t>(mode.paperSize))) {
    error = kErrorAccessDenied;
    return false;
  }
  return true;
}

std::optional<PageGeometry> Printer::Geometry(const DevMode& mode) const {
  return DriverGeometry(m_driverLib.get(), mode);
}

bool Printer::Delete(long& error) {
  if (!SpoolerRunning()) {
    error = kErrorRpcServerUnavailable;
    return false;
  }
  if (m_access != Access::Administer) {
    error = kErrorAccessDenied;
    return false;
  }
  Registry machine(Hive::LocalMachine);
  if (!ExactPrinter(machine, m_name)) {
    error = kErrorInvalidPrinterName;
    return false;
  }
  // Jobs still queued keep the printer: their port would have nowhere to go.
  std::error_code ec;
  for (fs::directory_iterator it(SpoolFolder(), ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() != ".SHD") continue;
    const auto job = ReadJobRecord(it->path());
    if (job && job->printer == m_name) {
      error = kErrorPrinterHasJobsQueued;
      return false;
    }
  }
  if (!machine.DeleteKey(PrinterKey(m_name))) {
    error = kErrorAccessDenied;
    return false;
  }
  Registry user(Hive::CurrentUser);
  (void)user.DeleteValue(kUserDevicesKey, m_name);
  (void)user.DeleteValue(kUserPrinterPortsKey, m_name);
  return true;
}

bool Printer::CancelJob(std::uint32_t jobId, long& error) {
  // Checked first: uninstalling cancels thousands of job numbers that never existed.
  std::error_code ec;
  if (!fs::exists(JobRecordFile(jobId), ec)) {
    error = kErrorInvalidParameter;
    return false;
  }
  if (!SpoolerRunning()) {
    error = kErrorRpcServerUnavailable;
    return false;
  }
  const auto job = ReadJobRecord(JobRecordFile(jobId));
  if (!job || job->printer != m_name) {
    error = kErrorInvalidParameter;
    return false;
  }
  RemoveJob(jobId);
  return true;
}

std::vector<std::string> EnumPrinters(long& error) {
  if (!SpoolerRunning()) {
    error = kErrorRpcServerUnavailable;
    return {};
  }
  Registry machine(Hive::LocalMachine);
  return machine.SubKeys(kPrintersKey);
}

// ---- PrintJob ----

struct PrintJobState {
  std::shared_ptr<Library> driver;
  JobRecord record;
  PageGeometry geometry;
  void* doc = nullptr;
  bool inPage = false;
  bool ended = false;
};

std::unique_ptr<PrintJob> PrintJob::StartDoc(Printer& printer, const std::string& title,
                                             const DevMode& mode, long& error) {
  if (!SpoolerRunning()) {
    error = kErrorRpcServerUnavailable;
    return nullptr;
  }
  const auto geometry = DriverGeometry(printer.m_driverLib.get(), mode);
  const auto startDoc =
      printer.m_driverLib ? printer.m_driverLib->Get<ZpDriverStartDocFn>(ZP_DRIVER_START_DOC)
                          : nullptr;
  if (!geometry || !startDoc) {
    error = kErrorInvalidParameter;
    return nullptr;
  }
  std::error_code ec;
  if (!fs::is_directory(SpoolFolder(), ec)) {
    error = kErrorPathNotFound;
    return nullptr;
  }
  const auto id = NextJobId();
  if (!id) {
    error = kErrorAccessDenied;
    return nullptr;
  }
  auto state = std::make_unique<PrintJobState>();
  state->driver = printer.m_driverLib;
  state->geometry = *geometry;
  state->record.id = *id;
  state->record.printer = printer.m_name;
  state->record.port = printer.m_port;
  state->record.title = title;
  state->record.user = CurrentUserName();
  state->record.clientDir = ProgramDir();
  state->record.spoolFile = JobSpoolFile(*id);
  const ZpDevMode zm = ToZp(mode);
  state->doc = startDoc(state->record.spoolFile.c_str(), title.c_str(), &zm);
  if (!state->doc) {
    error = kErrorAccessDenied;
    return nullptr;
  }
  std::unique_ptr<PrintJob> job(new PrintJob);
  job->m_state = std::move(state);
  return job;
}

PrintJob::~PrintJob() {
  if (m_state && !m_state->ended) Abort();
}

std::uint32_t PrintJob::Id() const { return m_state->record.id; }
const PageGeometry& PrintJob::Geometry() const { return m_state->geometry; }

cairo_t* PrintJob::StartPage() {
  if (m_state->ended || m_state->inPage) return nullptr;
  const auto fn = m_state->driver->Get<ZpDriverStartPageFn>(ZP_DRIVER_START_PAGE);
  cairo_t* cr = fn ? fn(m_state->doc) : nullptr;
  m_state->inPage = cr != nullptr;
  return cr;
}

bool PrintJob::EndPage() {
  if (m_state->ended || !m_state->inPage) return false;
  m_state->inPage = false;
  const auto fn = m_state->driver->Get<ZpDriverEndPageFn>(ZP_DRIVER_END_PAGE);
  return fn && fn(m_state->doc) == 1;
}

bool PrintJob::EndDoc(long& error) {
  if (m_state->ended) {
    error = kErrorInvalidHandle;
    return false;
  }
  if (m_state->inPage && !EndPage()) {
    Abort();
    error = kErrorAccessDenied;
    return false;
  }
  m_state->ended = true;
  const auto endDoc = m_state->driver->Get<ZpDriverEndDocFn>(ZP_DRIVER_END_DOC);
  void* doc = m_state->doc;
  m_state->doc = nullptr;
  if (!endDoc || endDoc(doc) != 1) {
    RemoveJob(m_state->record.id);
    error = kErrorAccessDenied;
    return false;
  }
  if (!SpoolerRunning()) {
    // Stopped while the pages were drawn: the job never reaches the port.
    RemoveJob(m_state->record.id);
    error = kErrorRpcServerUnavailable;
    return false;
  }
  if (!WriteJobRecord(m_state->record)) {
    RemoveJob(m_state->record.id);
    error = kErrorAccessDenied;
    return false;
  }
  // The job process detaches at once (it forks and its first half exits), so waiting for
  // it here is short and leaves no child behind.
  const std::string host = SpoolerHostProgram().string();
  const std::string record = JobRecordFile(m_state->record.id).string();
  std::string arg0 = host, arg1 = "--job", arg2 = record;
  char* argv[] = {arg0.data(), arg1.data(), arg2.data(), nullptr};
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, host.c_str(), nullptr, nullptr, argv, environ);
  if (rc != 0) {
    error = rc == ENOENT ? kErrorFileNotFound : ErrnoToHostError(rc);
    return false;  // the job stays in the spool folder
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = kErrorFileNotFound;
    return false;
  }
  return true;
}

void PrintJob::Abort() {
  if (!m_state || m_state->ended) return;
  m_state->ended = true;
  if (m_state->doc) {
    if (const auto fn = m_state->driver->Get<ZpDriverAbortDocFn>(ZP_DRIVER_ABORT_DOC)) {
      fn(m_state->doc);
    }
    m_state->doc = nullptr;
  }
  RemoveJob(m_state->record.id);
}

}  // namespace platform::print
