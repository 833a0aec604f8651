#include "app/shell/PrinterList.h"

namespace shell {

PrinterList ReadPrinterList(const platform::Registry& machine) {
  PrinterList list;
  if (!machine.KeyExists(kPrintersKey)) return list;
  for (std::size_t index = 0; index < kMaxPrinters; ++index) {
    std::string name;
    const long rc = machine.EnumKey(kPrintersKey, index, kPrinterNameBuffer, name);
    if (rc == platform::kRegNoMoreItems) break;
    if (rc != platform::kRegSuccess) {
      list.error = rc;
      break;
    }
    list.names.push_back(std::move(name));
  }
  return list;
}

}  // namespace shell
