#pragma once

// The printer setup steps behind the library's exports.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace prninst {

inline constexpr const char* kPrinter = "Zarbo PDF Printer";
inline constexpr const char* kDriver = "Zarbo PDF Printer Driver";
inline constexpr const char* kMonitor = "Zarbo PDF Port Monitor";
inline constexpr const char* kPort = "ZarboPDF:";
inline constexpr const char* kMonitorFiles[] = {"ZarboPDFMon.dll", "ZarboPDFMonUI.dll"};
inline constexpr const char* kDriverFile = "ZarboPDF.dll";
inline constexpr const char* kDriverUIFile = "ZarboPDFUI.dll";
inline constexpr const char* kSharedFile = "ZarboPDF.ini";
inline constexpr const char* kService = "Spooler";

std::uint32_t Install(const std::string& folder);
std::uint32_t Uninstall(const std::string& folder);
bool PrinterExists();
void Restart();
bool ForceUninstall();
bool RunningUnder32On64();
// The environment the printer's driver is installed for.
std::string Environment();

// Service control with the host's waits. False when the service cannot be opened.
bool StopSpooler();
bool StartSpooler();

// The text after "-s " and the spaces that follow it; nullopt when there is none.
std::optional<std::string> TargetPathFrom(std::string_view commandLine);
// This process's command line as one string: its arguments joined by single spaces.
std::string ProcessCommandLine();

}  // namespace prninst
