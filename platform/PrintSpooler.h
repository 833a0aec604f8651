#pragma once

// The machine's print system: printers, drivers, ports, monitors and jobs kept in the
// local-machine hive under the host's keys, component files under the machine root, and
// the "Spooler" service that must be running for any of it to answer. Results and error
// numbers are the host's, so callers pass them on unchanged.
//
// Printing a document:
//   long err = 0;
//   auto printer = print::Printer::Open("Zarbo PDF Printer", print::Access::Use, err);
//   print::DevMode mode = printer->Settings();          // orientation and paper stored with it
//   mode.orientation = print::kLandscape;                 // the caller may override both
//   auto geometry = printer->Geometry(mode);              // from the driver component
//   auto job = print::PrintJob::StartDoc(*printer, "title", mode, err);
//   cairo_t* cr = job->StartPage();   // device units: geometry->dpiX / dpiY per inch
//   ... draw (wxGCDC over cr) ...
//   job->EndPage();  ...  job->EndDoc(err);   // returns at once; the port runs elsewhere

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

typedef struct _cairo cairo_t;

namespace platform::print {

namespace detail {
class Library;
}

// Host error numbers.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorPathNotFound = 3;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorNotSupported = 50;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorModNotFound = 126;
inline constexpr long kErrorServiceAlreadyRunning = 1056;
inline constexpr long kErrorServiceDoesNotExist = 1060;
inline constexpr long kErrorServiceNotActive = 1062;
inline constexpr long kErrorRpcServerUnavailable = 1722;  // the spooler is not running
inline constexpr long kErrorUnknownPort = 1796;
inline constexpr long kErrorUnknownPrinterDriver = 1797;
inline constexpr long kErrorInvalidPrinterName = 1801;
inline constexpr long kErrorPrinterAlreadyExists = 1802;
inline constexpr long kErrorUnknownPrintMonitor = 3000;
inline constexpr long kErrorPrinterDriverInUse = 3001;
inline constexpr long kErrorPrintMonitorAlreadyInstalled = 3006;
inline constexpr long kErrorPrintMonitorInUse = 3008;

inline constexpr int kPortrait = 1;
inline constexpr int kLandscape = 2;
// Paper numbers of the host's printer-settings block.
inline constexpr int kPaperLetter = 1;
inline constexpr int kPaperLegal = 5;
inline constexpr int kPaperA3 = 8;
inline constexpr int kPaperA4 = 9;
inline constexpr int kPaperA5 = 11;
inline constexpr int kPaperB4 = 12;
inline constexpr int kPaperB5 = 13;

// The printer-settings block: what is stored with a printer and travels with a job.
struct DevMode {
  int orientation = kPortrait;
  int paperSize = kPaperA4;
};

// The page as the driver reports it for a DevMode. Device units are dots at dpiX/dpiY.
struct PageGeometry {
  int dpiX = 0;
  int dpiY = 0;
  int paperWidth = 0;        // whole sheet, device units, already turned for landscape
  int paperHeight = 0;
  int printableX = 0;        // printable area, device units from the sheet's top left
  int printableY = 0;
  int printableWidth = 0;
  int printableHeight = 0;
  double paperWidthMm = 0;   // whole sheet in millimetres, turned for landscape
  double paperHeightMm = 0;
};

// Access asked for when opening a printer. Use is printing and reading settings; it needs
// the driver and the port's monitor to load. Administer (the host's full printer access)
// opens any listed printer, so a broken one can still be removed.
enum class Access { Use, Administer };

class Printer {
 public:
  // Opens the printer of exactly this name (letter case included). nullptr with error:
  // 1722 spooler stopped, 1801 no such printer; for Access::Use also 1797 when its driver is
  // no longer registered, 126 when a driver or monitor component no longer loads, 1796
  // when its port is gone.
  [[nodiscard]] static std::unique_ptr<Printer> Open(const std::string& name, Access access,
                                                     long& error);
  ~Printer();
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

  const std::string& Name() const { return m_name; }
  const std::string& DriverName() const { return m_driver; }
  const std::string& PortName() const { return m_port; }

  // The settings stored with the printer (the driver's defaults when none were stored).
  [[nodiscard]] DevMode Settings() const;
  // Stores settings with the printer (printing preferences). False with error when the
  // driver refuses them (87) or the spooler is stopped (1722).
  [[nodiscard]] bool SetSettings(const DevMode& mode, long& error);
  // The driver component's page for these settings; nullopt when it refuses them.
  [[nodiscard]] std::optional<PageGeometry> Geometry(const DevMode& mode) const;

  // Deletes the printer (needs Access::Administer; 5 otherwise).
  [[nodiscard]] bool Delete(long& error);
  // Job control "delete" for a job of this printer: 87 when there is no such job.
  [[nodiscard]] bool CancelJob(std::uint32_t jobId, long& error);

 private:
  friend class PrintJob;
  Printer() = default;
  std::string m_name;
  std::string m_driver;
  std::string m_port;
  Access m_access = Access::Use;
  std::shared_ptr<detail::Library> m_driverLib;  // the driver component, loaded by path
};

struct PrintJobState;

// One document on a printer. The pages are drawn into cairo contexts the driver component
// provides; EndDoc hands the finished job to a separate process that hosts the port
// monitor component and returns without waiting for it.
class PrintJob {
 public:
  // The host's StartDoc. nullptr with error when the spooler is stopped or the driver
  // refuses the settings.
  [[nodiscard]] static std::unique_ptr<PrintJob> StartDoc(Printer& printer,
                                                          const std::string& title,
                                                          const DevMode& mode, long& error);
  ~PrintJob();  // a job neither ended nor aborted is aborted
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  std::uint32_t Id() const;
  const PageGeometry& Geometry() const;

  // A context in device units (Geometry().dpiX per inch, origin at the sheet's top left);
  // valid until EndPage. nullptr when the driver failed.
  [[nodiscard]] cairo_t* StartPage();
  [[nodiscard]] bool EndPage();
  // Finishes the document and starts the port's work on it in another process.
  [[nodiscard]] bool EndDoc(long& error);
  // Drops the job; nothing reaches the port.
  void Abort();

 private:
  PrintJob() = default;
  std::unique_ptr<PrintJobState> m_state;
};

// The names of the printers, in the order the hive lists them.
[[nodiscard]] std::vector<std::string> EnumPrinters(long& error);

}  // namespace platform::print
