#pragma once

// Shared by the print system's own sources: component loading, errno translation and the
// registry paths of one printer, driver or monitor.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/Registry.h"

namespace platform::print::detail {

// A component file loaded by path. Unloaded when the last reference goes.
class Library {
 public:
  static std::shared_ptr<Library> Load(const std::filesystem::path& file);
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  void* Symbol(const char* name) const;
  template <typename Fn>
  Fn Get(const char* name) const {
    return reinterpret_cast<Fn>(Symbol(name));
  }

 private:
  explicit Library(void* handle) : m_handle(handle) {}
  void* m_handle = nullptr;
};

long ErrnoToHostError(int err);

std::string PrinterKey(const std::string& printer);
std::string DriverKey(const std::string& environment, const std::string& driver);
std::string MonitorKey(const std::string& monitor);

// The exact-case subkey name of printers equal to name; nullopt when only another letter
// case (or nothing) is listed.
std::optional<std::string> ExactPrinter(const Registry& machine, const std::string& name);
// The component file of a monitor: its DLL name in the system folder, else the Windows
// folder (the host's search order for a file name without a path).
std::optional<std::filesystem::path> FindMonitorFile(const std::string& dllName);
// The monitor that owns port, empty when none.
std::string MonitorOfPort(const Registry& machine, const std::string& port);
// The installed driver file of a driver in the machine's environment.
std::optional<std::filesystem::path> InstalledDriverFile(const Registry& machine,
                                                         const std::string& driver,
                                                         std::string* configFile = nullptr);

// The spooler's record of one job, kept beside its spool file.
struct JobRecord {
  std::uint32_t id = 0;
  std::string printer;
  std::string port;
  std::string title;
  std::string user;
  std::string clientDir;
  std::filesystem::path spoolFile;
};

std::filesystem::path JobRecordFile(std::uint32_t id);
std::filesystem::path JobSpoolFile(std::uint32_t id);
[[nodiscard]] bool WriteJobRecord(const JobRecord& job);
[[nodiscard]] std::optional<JobRecord> ReadJobRecord(const std::filesystem::path& file);
// Removes the job's record and spool file.
void RemoveJob(std::uint32_t id);
// The program that runs finished jobs through their port.
std::filesystem::path SpoolerHostProgram();

}  // namespace platform::print::detail
