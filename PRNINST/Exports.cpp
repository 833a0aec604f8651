// The library's exports: plain C entry points the installer finds by name.

#include <cstring>

#include "PRNINST/PRNINST.h"
#include "PRNINST/PrinterSetup.h"

#define PRNINST_EXPORT extern "C" __attribute__((visibility("default")))

PRNINST_EXPORT uint32_t InstallDrivers(const char* folder) {
  return prninst::Install(folder ? folder : "");
}

PRNINST_EXPORT uint32_t UnInstallDrivers(const char* folder) {
  return prninst::Uninstall(folder ? folder : "");
}

PRNINST_EXPORT int IsExistPrinter(void) { return prninst::PrinterExists() ? 1 : 0; }

PRNINST_EXPORT void RestartSpooler(void) { prninst::Restart(); }

PRNINST_EXPORT int ManualUninstall(void) { return prninst::ForceUninstall() ? 1 : 0; }

PRNINST_EXPORT int IsWow64(void) { return prninst::RunningUnder32On64() ? 1 : 0; }

// The caller's buffer holds the rest of its own command line, as the installer promises.
PRNINST_EXPORT int GetTargetPathFromCmdLine(char* output) {
  if (!output) return 0;
  const auto path = prninst::TargetPathFrom(prninst::ProcessCommandLine());
  if (!path) return 0;
  std::memcpy(output, path->c_str(), path->size() + 1);
  return 1;
}
