// The library's exports: plain C entry points the installer finds by name.

#include <cstring>
#include <exception>

#include "PRNINST/PRNINST.h"
#include "PRNINST/PrinterSetup.h"

#define PRNINST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Nothing may unwind into the installer: a failure inside (memory, file system) becomes the
// export's failure result.
template <typename Fn, typename R>
R Guarded(Fn fn, R onFailure) {
  try {
    return fn();
  } catch (const std::exception&) {
    return onFailure;
  }
}

}  // namespace

PRNINST_EXPORT uint32_t InstallDrivers(const char* folder) {
  return Guarded([&] { return prninst::Install(folder ? folder : ""); }, uint32_t{0x4000});
}

PRNINST_EXPORT uint32_t UnInstallDrivers(const char* folder) {
  return Guarded([&] { return prninst::Uninstall(folder ? folder : ""); }, uint32_t{1});
}

PRNINST_EXPORT int IsExistPrinter(void) {
  return Guarded([] { return prninst::PrinterExists() ? 1 : 0; }, 0);
}

PRNINST_EXPORT void RestartSpooler(void) {
  Guarded([] { prninst::Restart(); return 0; }, 0);
}

PRNINST_EXPORT int ManualUninstall(void) {
  return Guarded([] { return prninst::ForceUninstall() ? 1 : 0; }, 0);
}

PRNINST_EXPORT int IsWow64(void) { return prninst::RunningUnder32On64() ? 1 : 0; }

// The caller's buffer holds the rest of its own command line, as the installer promises.
PRNINST_EXPORT int GetTargetPathFromCmdLine(char* output) {
  if (!output) return 0;
  return Guarded(
      [&] {
        const auto path = prninst::TargetPathFrom(prninst::ProcessCommandLine());
        if (!path) return 0;
        std::memcpy(output, path->c_str(), path->size() + 1);
        return 1;
      },
      0);
}
