#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"

namespace shell {

inline constexpr const char* kPrintersKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
inline constexpr std::size_t kMaxPrinters = 50;
// A printer name buffer holds 260 bytes with its terminating zero.
inline constexpr std::size_t kPrinterNameBuffer = 260;

struct PrinterList {
  std::vector<std::string> names;
  // The host error that stopped the enumeration early, 0 when it ran to the end of the list.
  long error = 0;
};

// Names of the installed printers: the first 50 subkeys of the printers key in the
// local-machine hive, in registry order. An error other than "no more items" stops the
// enumeration and is returned with the names read so far; a missing key gives no printers.
[[nodiscard]] PrinterList ReadPrinterList(const platform::Registry& machine);

}  // namespace shell
