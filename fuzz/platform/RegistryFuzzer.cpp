// Registry hive text: any bytes parse, and what we write reads back to the same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/RegistryHive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto hive = platform::RegistryHive::Parse(bytes, "HKEY_CURRENT_USER");
  const std::string once = hive.Serialize();
  auto again = platform::RegistryHive::Parse(once, "HKEY_CURRENT_USER");
  if (again.Serialize() != once) abort();

  // Use the first line as a key path and value: write, then find it again.
  const std::string_view line = bytes.substr(0, bytes.find('\n'));
  if (auto* key = again.Create(line)) {
    platform::RegistryHive::SetValue(*key, line, std::string(line));
    const auto reread = platform::RegistryHive::Parse(again.Serialize(), "HKEY_CURRENT_USER");
    const auto* found = reread.Find(line);
    const auto* value = found ? platform::RegistryHive::FindValue(*found, line) : nullptr;
    const auto* text = value ? std::get_if<std::string>(value) : nullptr;
    if (!text || *text != line) abort();
    again.Remove(line);
  }
  return 0;
}
