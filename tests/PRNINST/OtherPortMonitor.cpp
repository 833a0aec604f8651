// A port monitor that names a port other than the one the PDF printer is set up for, as a
// foreign or outdated ZarboPDFMon.dll would.

#include <cstring>

#include "platform/PrintComponents.h"

extern "C" {

__attribute__((visibility("default"))) long ZpMonitorAddPort(void*, char* port, size_t bytes) {
  static const char kPort[] = "OTHER:";
  if (bytes < sizeof kPort) return 87;
  std::memcpy(port, kPort, sizeof kPort);
  return 0;
}

__attribute__((visibility("default"))) long ZpMonitorDeletePort(const char*) { return 0; }

__attribute__((visibility("default"))) long ZpMonitorPrintJob(const ZpJobInfo*) { return 0; }

}  // extern "C"
