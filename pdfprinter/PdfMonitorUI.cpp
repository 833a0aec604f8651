// ZarboPDFMonUI.dll: the port monitor's user-interface part. The monitor has a single port
// without settings, so there is nothing to ask: adding a port from a window names it.

#include <cstring>

#include "platform/PrintComponents.h"

extern "C" {

__attribute__((visibility("default"))) long ZpMonitorUIAddPort(void* /*window*/, char* portName,
                                                               size_t portNameBytes) {
  static const char kPort[] = "ZarboPDF:";
  if (!portName || portNameBytes < sizeof kPort) return 87;
  std::memcpy(portName, kPort, sizeof kPort);
  return 0;
}

}  // extern "C"
